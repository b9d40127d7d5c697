// Writing .ico files: read back with a decoder of our own, every header field
// and every pixel must come back, and the AND mask must mark exactly the fully
// transparent pixels.
#include <gtest/gtest.h>

#include <cstdint>

#include "tools/icon/ico_file.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::uint32_t U16(const Bytes& bytes, std::size_t at)
{
    return bytes.at(at) | bytes.at(at + 1) << 8;
}

std::uint32_t U32(const Bytes& bytes, std::size_t at)
{
    return U16(bytes, at) | U16(bytes, at + 2) << 16;
}

// A test pattern with fully transparent, translucent and opaque pixels.
IconImage Pattern(int size)
{
    IconImage image;
    image.size = size;
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const int alpha = (row + 2 * column) % 3 == 0 ? 0 : 255 - row % 7;
            image.pixels.push_back(IconPixel{
                static_cast<std::uint8_t>(row * 7 + column), static_cast<std::uint8_t>(column * 3),
                static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(alpha)});
        }
    }
    return image;
}

// Checks the BITMAPINFOHEADER at offset and decodes the bottom-up BGRA rows
// and the AND mask after it.
IconImage DecodeImage(const Bytes& file, std::size_t offset, int size)
{
    EXPECT_EQ(U32(file, offset), 40u);                                   // header size
    EXPECT_EQ(U32(file, offset + 4), static_cast<std::uint32_t>(size));  // width
    EXPECT_EQ(U32(file, offset + 8), static_cast<std::uint32_t>(2 * size));
    EXPECT_EQ(U16(file, offset + 12), 1u);   // planes
    EXPECT_EQ(U16(file, offset + 14), 32u);  // bits per pixel
    EXPECT_EQ(U32(file, offset + 16), 0u);   // BI_RGB
    const std::size_t pixels = offset + 40;
    const std::size_t maskRow = static_cast<std::size_t>((size + 31) / 32 * 4);
    const std::size_t mask = pixels + static_cast<std::size_t>(size * size * 4);
    EXPECT_EQ(U32(file, offset + 20), mask + maskRow * static_cast<std::size_t>(size) - pixels);
    IconImage image;
    image.size = size;
    for (int row = 0; row < size; ++row) {
        const std::size_t fileRow = static_cast<std::size_t>(size - 1 - row);
        for (int column = 0; column < size; ++column) {
            const std::size_t at =
                pixels +
                (fileRow * static_cast<std::size_t>(size) + static_cast<std::size_t>(column)) * 4;
            const IconPixel pixel{file.at(at + 2), file.at(at + 1), file.at(at), file.at(at + 3)};
            const unsigned char maskByte = file.at(mask + fileRow * maskRow + column / 8);
            const bool transparent = (maskByte & (0x80 >> (column % 8))) != 0;
            EXPECT_EQ(transparent, pixel.alpha == 0) << "row " << row << " column " << column;
            image.pixels.push_back(pixel);
        }
    }
    return image;
}

TEST(BuildIcoFile, EveryImageComesBackFromTheFile)
{
    const std::vector<IconImage> images = {Pattern(32), Pattern(16), Pattern(1), Pattern(33),
                                           Pattern(256)};
    const Bytes file = BuildIcoFile(images);
    ASSERT_GE(file.size(), 6u);
    EXPECT_EQ(U16(file, 0), 0u);  // reserved
    EXPECT_EQ(U16(file, 2), 1u);  // icon, not cursor
    ASSERT_EQ(U16(file, 4), images.size());
    std::size_t expectedOffset = 6 + 16 * images.size();
    for (std::size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE("image of size " + std::to_string(images[i].size));
        const std::size_t entry = 6 + 16 * i;
        const int size = images[i].size;
        EXPECT_EQ(file.at(entry), size == 256 ? 0 : size);      // width
        EXPECT_EQ(file.at(entry + 1), size == 256 ? 0 : size);  // height
        EXPECT_EQ(file.at(entry + 2), 0);                       // no palette
        EXPECT_EQ(file.at(entry + 3), 0);
        EXPECT_EQ(U16(file, entry + 4), 1u);   // planes
        EXPECT_EQ(U16(file, entry + 6), 32u);  // bits per pixel
        const std::size_t bytes = U32(file, entry + 8);
        EXPECT_EQ(bytes,
                  40 + static_cast<std::size_t>(size * size * 4 + (size + 31) / 32 * 4 * size));
        ASSERT_EQ(U32(file, entry + 12), expectedOffset);
        const IconImage decoded = DecodeImage(file, expectedOffset, size);
        EXPECT_TRUE(decoded.pixels == images[i].pixels);
        expectedOffset += bytes;
    }
    EXPECT_EQ(file.size(), expectedOffset);
}

}  // namespace
