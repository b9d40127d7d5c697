// The program icon's pixel-art source, a text file drawn by hand:
//
//   # a comment; comments and empty lines may stand between the parts
//   colour K ink 2B1A10FF        character, name, red green blue alpha in hex
//   image 32                     then exactly 32 rows of 32 characters
//   ...
//   image 16                     then exactly 16 rows of 16 characters
//   ...
//
// One character is one pixel: '.' is transparent, every other character must
// be a colour defined on an earlier line. The program icon's file holds one
// 32 x 32 and one 16 x 16 image, each drawn for its size; other sources (the
// handheld menu bar's bitmap) hold other sets of square images.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Straight (not premultiplied) alpha, as icons store it.
struct IconPixel {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;
};

inline bool operator==(const IconPixel& a, const IconPixel& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

// A square picture; pixels row by row from the top.
struct IconImage {
    int size = 0;
    std::vector<IconPixel> pixels;
    std::vector<int> rowLines;  // the source line of each row, for later refusals
};

// Parses a source that holds one image for each entry of sizes (a size given
// three times: three images of that size), in any order; gives its images in
// the order of the file. Appends a "file:line: problem" text for everything
// refused and returns false then.
bool ParsePixelSource(std::string_view text, const std::string& fileName,
                      const std::vector<int>& sizes, std::vector<IconImage>& images,
                      std::vector<std::string>& errors);

// The program icon's source: one 32 x 32 and one 16 x 16 image.
bool ParseIconSource(std::string_view text, const std::string& fileName,
                     std::vector<IconImage>& images, std::vector<std::string>& errors);
