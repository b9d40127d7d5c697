// The rules data image: one read-only block holding the category names, one
// entry table per category and every title and body. It is used where it lies;
// these accessors turn its stored offsets into pointers.
#pragma once

#include <cstddef>
#include <cstdint>

// Records the start of a decompressed, well-formed image. Called once.
void SetRulesImage(const unsigned char* image);

// The installed image; its first field is the category count.
const unsigned char* GetRulesImage();

// The entry table of a category; its first field is the entry count.
const unsigned char* GetEntryTable(int category);

const char* GetCategoryName(int category);
const char* GetEntryTitle(int category, int entry);
const char* GetEntryBody(int category, int entry);

// The first entry of the category whose title equals title byte for byte,
// or -1. A linear walk over the entry table; it checks the first byte before
// comparing the rest, since most titles differ there.
int FindEntryByTitle(int category, const char* title);

// The first field of the image and of a category's entry table.
int GetCategoryCount();
int GetEntryCount(int category);

// Reads a little-endian 32-bit field at p (p is 4-byte aligned in any image).
std::uint32_t ReadImageNumber(const unsigned char* p);

// True when every offset of the header and the entry tables lies inside the
// size bytes at image and is a multiple of 4, every text they name is
// terminated inside the image, and every count fits. One pass over the
// header and tables; nothing is copied or indexed.
bool IsWellFormedRulesImage(const unsigned char* image, std::size_t size);
