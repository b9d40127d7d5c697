// Writing 16-colour .bmp files: read back with a decoder of our own, every
// header field, palette entry and pixel must come back; laying images into a
// strip refuses what a 4-bit bitmap cannot hold, naming file and line.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>

#include "tools/icon/bmp_file.h"

namespace {

using Bytes = std::vector<unsigned char>;

const IconPixel background{0xC0, 0xC0, 0xC0, 0xFF};

std::uint32_t U16(const Bytes& bytes, std::size_t at)
{
    return bytes.at(at) | bytes.at(at + 1) << 8;
}

std::uint32_t U32(const Bytes& bytes, std::size_t at)
{
    return U16(bytes, at) | U16(bytes, at + 2) << 16;
}

IconPixel Opaque(int red, int green, int blue)
{
    return IconPixel{static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                     static_cast<std::uint8_t>(blue), 0xFF};
}

// A test pattern whose indices differ between neighbours in both directions.
PalettedImage Pattern(int width, int height, int colours)
{
    PalettedImage image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < colours; ++i)
        image.palette.push_back(Opaque(i * 16, 255 - i * 3, i * 7 + 1));
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column)
            image.indices.push_back(static_cast<unsigned char>((row * 5 + column * 3) % colours));
    }
    return image;
}

std::size_t RowBytes(int width)
{
    return static_cast<std::size_t>((width * 4 + 31) / 32 * 4);
}

// Checks both headers, then decodes the palette and the bottom-up 4-bit rows;
// padding bytes must be zero.
PalettedImage DecodeBmp(const Bytes& file)
{
    PalettedImage image;
    EXPECT_EQ(file.at(0), 'B');
    EXPECT_EQ(file.at(1), 'M');
    EXPECT_EQ(U32(file, 2), file.size());
    EXPECT_EQ(U32(file, 6), 0u);              // reserved
    EXPECT_EQ(U32(file, 10), 14u + 40 + 64);  // pixels after the palette
    EXPECT_EQ(U32(file, 14), 40u);            // BITMAPINFOHEADER
    image.width = static_cast<int>(U32(file, 18));
    image.height = static_cast<int>(U32(file, 22));
    EXPECT_EQ(U16(file, 26), 1u);  // planes
    EXPECT_EQ(U16(file, 28), 4u);  // bits per pixel
    EXPECT_EQ(U32(file, 30), 0u);  // BI_RGB
    const std::size_t rowBytes = RowBytes(image.width);
    EXPECT_EQ(U32(file, 34), rowBytes * static_cast<std::size_t>(image.height));
    EXPECT_EQ(U32(file, 46), 16u);  // colours used
    EXPECT_EQ(U32(file, 50), 0u);   // colours important: all
    for (std::size_t i = 0; i < 16; ++i) {
        const std::size_t at = 54 + 4 * i;
        image.palette.push_back(Opaque(file.at(at + 2), file.at(at + 1), file.at(at)));
        EXPECT_EQ(file.at(at + 3), 0) << "palette entry " << i;
    }
    for (int row = 0; row < image.height; ++row) {
        const std::size_t rowStart =
            118 + static_cast<std::size_t>(image.height - 1 - row) * rowBytes;
        for (int column = 0; column < image.width; ++column) {
            const unsigned char byte = file.at(rowStart + static_cast<std::size_t>(column / 2));
            image.indices.push_back(
                static_cast<unsigned char>(column % 2 == 0 ? byte >> 4 : byte & 0xF));
        }
        const std::size_t used = static_cast<std::size_t>((image.width + 1) / 2);
        if (image.width % 2 == 1) {
            EXPECT_EQ(file.at(rowStart + used - 1) & 0xF, 0) << "row " << row;
        }
        for (std::size_t pad = used; pad < rowBytes; ++pad)
            EXPECT_EQ(file.at(rowStart + pad), 0) << "row " << row << " byte " << pad;
    }
    return image;
}

// A square image of one colour, its rows on the lines from firstLine on.
IconImage Filled(int size, const IconPixel& pixel, int firstLine)
{
    IconImage image;
    image.size = size;
    image.pixels.assign(static_cast<std::size_t>(size * size), pixel);
    for (int row = 0; row < size; ++row)
        image.rowLines.push_back(firstLine + row);
    return image;
}

IconPixel& PixelAt(IconImage& image, int row, int column)
{
    return image.pixels[static_cast<std::size_t>(row * image.size + column)];
}

IconPixel StripPixel(const PalettedImage& strip, int row, int column)
{
    return strip.palette.at(strip.indices.at(static_cast<std::size_t>(row * strip.width + column)));
}

TEST(BuildBmpFile, EveryFieldAndPixelComesBack)
{
    struct Case {
        int width;
        int height;
        int colours;
    };
    const Case cases[] = {{48, 16, 16}, {1, 1, 1}, {3, 2, 2}, {8, 1, 16}, {9, 5, 7}, {17, 3, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const PalettedImage image = Pattern(c.width, c.height, c.colours);
        const Bytes file = BuildBmpFile(image);
        ASSERT_EQ(file.size(), 118 + RowBytes(c.width) * static_cast<std::size_t>(c.height));
        const PalettedImage decoded = DecodeBmp(file);
        EXPECT_EQ(decoded.width, c.width);
        EXPECT_EQ(decoded.height, c.height);
        for (std::size_t i = 0; i < 16; ++i) {
            const IconPixel expected =
                i < image.palette.size() ? image.palette[i] : Opaque(0, 0, 0);
            EXPECT_EQ(decoded.palette[i], expected) << "palette entry " << i;
        }
        EXPECT_EQ(decoded.indices, image.indices);
    }
}

TEST(MakeBitmapStrip, LaysTheImagesSideBySideLeftToRight)
{
    std::vector<IconImage> images = {Filled(2, background, 3), Filled(2, background, 6),
                                     Filled(2, background, 9)};
    PixelAt(images[0], 0, 1) = Opaque(255, 0, 0);
    PixelAt(images[1], 1, 0) = Opaque(0, 255, 0);
    PixelAt(images[2], 1, 1) = Opaque(255, 0, 0);
    PalettedImage strip;
    std::vector<std::string> errors;
    ASSERT_TRUE(MakeBitmapStrip(images, "strip.txt", strip, errors)) << errors.front();
    EXPECT_EQ(strip.width, 6);
    EXPECT_EQ(strip.height, 2);
    // Colours in the order of first use; the red of images 0 and 2 is one entry.
    EXPECT_EQ(strip.palette,
              (std::vector<IconPixel>{background, Opaque(255, 0, 0), Opaque(0, 255, 0)}));
    for (int image = 0; image < 3; ++image) {
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 2; ++column) {
                EXPECT_EQ(StripPixel(strip, row, 2 * image + column),
                          PixelAt(images[static_cast<std::size_t>(image)], row, column))
                    << "image " << image << " row " << row << " column " << column;
            }
        }
    }
}

TEST(MakeBitmapStrip, RefusalsNameTheLineOfTheRow)
{
    // Images of 16 x 16 whose rows start on lines 10, 30 and 50; each case
    // changes one pixel (image, row, column) or the size of the last image.
    struct Case {
        int image;
        int row;
        int column;
        IconPixel pixel;
        int lastSize;
        const char* error;
    };
    const IconPixel seventeenth = Opaque(0x12, 0x34, 0x56);
    const Case cases[] = {
        {1, 4, 2, IconPixel{}, 16,
         "strip.txt:34: column 3 is not opaque; a bitmap has no transparency"},
        {0, 0, 15, IconPixel{1, 2, 3, 0xFE}, 16,
         "strip.txt:10: column 16 is not opaque; a bitmap has no transparency"},
        {2, 15, 0, seventeenth, 16,
         "strip.txt:65: colour 123456 in column 1 is a 17th colour; a bitmap holds 16"},
        {0, 0, 0, background, 32, "strip.txt:50: a 32 x 32 image in a strip of 16 x 16 images"},
    };
    for (const Case& c : cases) {
        // Fifteen colours besides the background, one in each column of
        // image 0's last row.
        std::vector<IconImage> images = {Filled(16, background, 10), Filled(16, background, 30),
                                         Filled(c.lastSize, background, 50)};
        for (int column = 1; column < 16; ++column)
            PixelAt(images[0], 15, column) = Opaque(column, column, 255);
        PixelAt(images[static_cast<std::size_t>(c.image)], c.row, c.column) = c.pixel;
        PalettedImage strip;
        std::vector<std::string> errors;
        EXPECT_FALSE(MakeBitmapStrip(images, "strip.txt", strip, errors)) << c.error;
        EXPECT_EQ(errors, std::vector<std::string>{c.error});
    }
}

TEST(MakeBitmapStrip, StopsAtTheFirstColourTooMany)
{
    std::vector<IconImage> images = {Filled(16, background, 1)};
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column)
            PixelAt(images[0], row, column) = Opaque(row, column, 0);
    }
    PalettedImage strip;
    std::vector<std::string> errors;
    EXPECT_FALSE(MakeBitmapStrip(images, "strip.txt", strip, errors));
    EXPECT_EQ(errors, std::vector<std::string>{
                          "strip.txt:2: colour 010000 in column 1 is a 17th colour; a bitmap "
                          "holds 16"});
}

// The source as the build reads it, through to the file's pixels.
TEST(BuildBmpFile, TheShippedMenuBarBitmapComesBackFromItsFile)
{
    std::ifstream in(VELLUM_TOOLBAR_SOURCE, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<IconImage> images;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParsePixelSource(text, VELLUM_TOOLBAR_SOURCE, {16, 16, 16}, images, errors))
        << errors.front();
    PalettedImage strip;
    ASSERT_TRUE(MakeBitmapStrip(images, VELLUM_TOOLBAR_SOURCE, strip, errors)) << errors.front();
    const PalettedImage decoded = DecodeBmp(BuildBmpFile(strip));
    ASSERT_EQ(decoded.width, 48);
    ASSERT_EQ(decoded.height, 16);
    for (int image = 0; image < 3; ++image) {
        SCOPED_TRACE("image " + std::to_string(image));
        IconImage& source = images[static_cast<std::size_t>(image)];
        for (int row = 0; row < 16; ++row) {
            for (int column = 0; column < 16; ++column) {
                ASSERT_EQ(StripPixel(decoded, row, 16 * image + column),
                          PixelAt(source, row, column))
                    << "row " << row << " column " << column;
            }
        }
        // The menu bar keys out light grey: each picture must stand on it.
        const std::pair<int, int> corners[] = {{0, 0}, {0, 15}, {15, 0}, {15, 15}};
        for (const auto& [row, column] : corners)
            EXPECT_EQ(PixelAt(source, row, column), background) << row << ", " << column;
    }
}

}  // namespace
