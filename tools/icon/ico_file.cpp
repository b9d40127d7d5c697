// Writing Windows icon (.ico) files: a directory of entries, then for each
// image a BITMAPINFOHEADER, the BGRA pixels and the AND mask, rows bottom-up.
#include "tools/icon/ico_file.h"

#include <cstddef>
#include <cstdint>

namespace {

const std::uint32_t directorySize = 6;
const std::uint32_t entrySize = 16;
const std::uint32_t bitmapHeaderSize = 40;
const std::uint16_t iconType = 1;
const std::uint16_t bitsPerPixel = 32;

void PutU8(std::vector<unsigned char>& out, std::uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value & 0xFF));
}

void PutU16(std::vector<unsigned char>& out, std::uint32_t value)
{
    PutU8(out, value);
    PutU8(out, value >> 8);
}

void PutU32(std::vector<unsigned char>& out, std::uint32_t value)
{
    PutU16(out, value);
    PutU16(out, value >> 16);
}

// AND mask rows are padded to whole 32-bit words.
std::uint32_t MaskRowBytes(int size)
{
    return static_cast<std::uint32_t>((size + 31) / 32 * 4);
}

std::uint32_t PixelBytes(int size)
{
    return static_cast<std::uint32_t>(size * size * 4);
}

std::uint32_t ImageBytes(int size)
{
    return bitmapHeaderSize + PixelBytes(size) +
           MaskRowBytes(size) * static_cast<std::uint32_t>(size);
}

// The directory stores 256 as 0.
void PutEntry(std::vector<unsigned char>& out, int size, std::uint32_t offset)
{
    PutU8(out, size == 256 ? 0 : static_cast<std::uint32_t>(size));  // width
    PutU8(out, size == 256 ? 0 : static_cast<std::uint32_t>(size));  // height
    PutU8(out, 0);                                                   // no palette
    PutU8(out, 0);                                                   // reserved
    PutU16(out, 1);                                                  // planes
    PutU16(out, bitsPerPixel);
    PutU32(out, ImageBytes(size));
    PutU32(out, offset);
}

// The height counts the pixel rows and the mask rows together.
void PutBitmapHeader(std::vector<unsigned char>& out, int size)
{
    PutU32(out, bitmapHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(size));
    PutU32(out, static_cast<std::uint32_t>(2 * size));
    PutU16(out, 1);  // planes
    PutU16(out, bitsPerPixel);
    PutU32(out, 0);  // BI_RGB
    PutU32(out, ImageBytes(size) - bitmapHeaderSize);
    PutU32(out, 0);  // horizontal resolution
    PutU32(out, 0);  // vertical resolution
    PutU32(out, 0);  // colours used
    PutU32(out, 0);  // colours important
}

const IconPixel& PixelAt(const IconImage& image, int row, int column)
{
    return image.pixels[static_cast<std::size_t>(row * image.size + column)];
}

void PutPixels(std::vector<unsigned char>& out, const IconImage& image)
{
    for (int row = image.size - 1; row >= 0; --row) {
        for (int column = 0; column < image.size; ++column) {
            const IconPixel& pixel = PixelAt(image, row, column);
            out.push_back(pixel.blue);
            out.push_back(pixel.green);
            out.push_back(pixel.red);
            out.push_back(pixel.alpha);
        }
    }
}

// A set bit, most significant first, marks a fully transparent pixel; Windows
// uses the mask where it draws without alpha blending.
void PutMask(std::vector<unsigned char>& out, const IconImage& image)
{
    for (int row = image.size - 1; row >= 0; --row) {
        std::vector<unsigned char> bits(MaskRowBytes(image.size), 0);
        for (int column = 0; column < image.size; ++column) {
            if (PixelAt(image, row, column).alpha == 0)
                bits[static_cast<std::size_t>(column / 8)] |=
                    static_cast<unsigned char>(0x80 >> (column % 8));
        }
        out.insert(out.end(), bits.begin(), bits.end());
    }
}

}  // namespace

std::vector<unsigned char> BuildIcoFile(const std::vector<IconImage>& images)
{
    std::vector<unsigned char> out;
    PutU16(out, 0);  // reserved
    PutU16(out, iconType);
    PutU16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = directorySize + entrySize * static_cast<std::uint32_t>(images.size());
    for (const IconImage& image : images) {
        PutEntry(out, image.size, offset);
        offset += ImageBytes(image.size);
    }
    for (const IconImage& image : images) {
        PutBitmapHeader(out, image.size);
        PutPixels(out, image);
        PutMask(out, image);
    }
    return out;
}
