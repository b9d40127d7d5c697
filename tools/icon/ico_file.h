// Writing Windows icon (.ico) files.
#pragma once

#include <vector>

#include "tools/icon/icon_source.h"

// An .ico file holding the images in the order given, each a 32-bit BGRA
// device-independent bitmap with its AND mask. Sizes run from 1 to 256.
std::vector<unsigned char> BuildIcoFile(const std::vector<IconImage>& images);
