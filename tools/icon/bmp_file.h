// Writing 16-colour Windows bitmap (.bmp) files, such as the handheld menu
// bar's strip of button images.
#pragma once

#include <string>
#include <vector>

#include "tools/icon/icon_source.h"

// The most colours a 4-bit bitmap holds.
const int bitmapColourLimit = 16;

// A picture of at most 16 opaque colours.
struct PalettedImage {
    int width = 0;
    int height = 0;
    std::vector<IconPixel> palette;      // alpha is not stored
    std::vector<unsigned char> indices;  // into palette, row by row from the top
};

// Lays the images side by side, the first at the left, into one strip whose
// palette holds the colours in the order the images use them. Appends a
// "file:line: problem" text, with the line of the row, for a pixel that is not
// opaque, for a 17th colour and for an image whose size differs from the
// first's, and returns false then.
bool MakeBitmapStrip(const std::vector<IconImage>& images, const std::string& fileName,
                     PalettedImage& strip, std::vector<std::string>& errors);

// A .bmp file: BITMAPFILEHEADER, BITMAPINFOHEADER, a palette of 16 entries
// (the unused ones black) and 4 bits a pixel, rows bottom-up, each padded to
// whole 32-bit words.
std::vector<unsigned char> BuildBmpFile(const PalettedImage& image);
