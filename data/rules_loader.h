// Loading the rules data image from the program's compressed data resource.
#pragma once

#include <windows.h>

#include <cstddef>

#include "data/rules_inflate.h"

// Finds resource 114 of type "DataFiles" (English, United States) in the
// module, inflates and checks it and installs the image. On failure shows the
// allocation or decompression message, owned by owner, installs nothing and
// returns false.
bool LoadRulesData(HINSTANCE instance, HWND owner);

// The part of LoadRulesData that works on the resource's bytes.
bool InstallRulesResource(const unsigned char* resource, std::size_t size, HWND owner);

// Replaces the allocator of the image block (tests make it fail).
void SetImageAllocator(const ImageAllocator& allocator);
