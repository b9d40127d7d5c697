// Writing 16-colour Windows bitmap files from pixel-art images.
#include "tools/icon/bmp_file.h"

#include <cstddef>
#include <cstdint>

namespace {

const std::uint32_t fileHeaderSize = 14;
const std::uint32_t bitmapHeaderSize = 40;
const std::uint32_t paletteSize = 4 * bitmapColourLimit;
const std::uint16_t bitsPerPixel = 4;

std::string Located(const std::string& file, int line, const std::string& problem)
{
    return file + ":" + std::to_string(line) + ": " + problem;
}

// The line of a row for messages; images made in code have no lines.
int RowLine(const IconImage& image, int row)
{
    const auto at = static_cast<std::size_t>(row);
    return at < image.rowLines.size() ? image.rowLines[at] : 0;
}

std::string HexColour(const IconPixel& pixel)
{
    const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (std::uint8_t channel : {pixel.red, pixel.green, pixel.blue}) {
        hex += digits[channel >> 4];
        hex += digits[channel & 0xF];
    }
    return hex;
}

bool SameColour(const IconPixel& a, const IconPixel& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// The palette index of a colour, added if it is new; -1 when the palette is
// full without it.
int ColourIndex(std::vector<IconPixel>& palette, const IconPixel& pixel)
{
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (SameColour(palette[i], pixel))
            return static_cast<int>(i);
    }
    if (palette.size() == static_cast<std::size_t>(bitmapColourLimit))
        return -1;
    palette.push_back(IconPixel{pixel.red, pixel.green, pixel.blue, 0xFF});
    return static_cast<int>(palette.size() - 1);
}

enum class RowResult { placed, refused, paletteFull };

// Copies one row of an image into the strip; a refusal ends the row.
RowResult PlaceRow(const IconImage& image, int row, int left, const std::string& fileName,
                   PalettedImage& strip, std::vector<std::string>& errors)
{
    for (int column = 0; column < image.size; ++column) {
        const IconPixel& pixel = image.pixels[static_cast<std::size_t>(row * image.size + column)];
        if (pixel.alpha != 0xFF) {
            errors.push_back(Located(fileName, RowLine(image, row),
                                     "column " + std::to_string(column + 1) +
                                         " is not opaque; a bitmap has no transparency"));
            return RowResult::refused;
        }
        const int index = ColourIndex(strip.palette, pixel);
        if (index < 0) {
            errors.push_back(Located(fileName, RowLine(image, row),
                                     "colour " + HexColour(pixel) + " in column " +
                                         std::to_string(column + 1) + " is a 17th colour; a " +
                                         "bitmap holds " + std::to_string(bitmapColourLimit)));
            return RowResult::paletteFull;
        }
        strip.indices[static_cast<std::size_t>(row * strip.width + left + column)] =
            static_cast<unsigned char>(index);
    }
    return RowResult::placed;
}

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

std::uint32_t RowBytes(int width)
{
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

std::uint32_t PixelBytes(const PalettedImage& image)
{
    return RowBytes(image.width) * static_cast<std::uint32_t>(image.height);
}

void PutFileHeader(std::vector<unsigned char>& out, const PalettedImage& image)
{
    const std::uint32_t pixelOffset = fileHeaderSize + bitmapHeaderSize + paletteSize;
    PutU8(out, 'B');
    PutU8(out, 'M');
    PutU32(out, pixelOffset + PixelBytes(image));
    PutU16(out, 0);  // reserved
    PutU16(out, 0);  // reserved
    PutU32(out, pixelOffset);
}

// A positive height: the rows run bottom-up.
void PutBitmapHeader(std::vector<unsigned char>& out, const PalettedImage& image)
{
    PutU32(out, bitmapHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(image.width));
    PutU32(out, static_cast<std::uint32_t>(image.height));
    PutU16(out, 1);  // planes
    PutU16(out, bitsPerPixel);
    PutU32(out, 0);  // BI_RGB
    PutU32(out, PixelBytes(image));
    PutU32(out, 0);  // horizontal resolution
    PutU32(out, 0);  // vertical resolution
    PutU32(out, static_cast<std::uint32_t>(bitmapColourLimit));  // colours used
    PutU32(out, 0);                                               // colours important: all
}

// RGBQUAD entries: blue, green, red, a zero byte.
void PutPalette(std::vector<unsigned char>& out, const PalettedImage& image)
{
    for (int i = 0; i < bitmapColourLimit; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const IconPixel colour = at < image.palette.size() ? image.palette[at] : IconPixel{};
        PutU8(out, colour.blue);
        PutU8(out, colour.green);
        PutU8(out, colour.red);
        PutU8(out, 0);
    }
}

// Two pixels a byte, the left one in the high nibble.
void PutPixels(std::vector<unsigned char>& out, const PalettedImage& image)
{
    for (int row = image.height - 1; row >= 0; --row) {
        std::vector<unsigned char> bytes(RowBytes(image.width), 0);
        for (int column = 0; column < image.width; ++column) {
            const unsigned index =
                image.indices[static_cast<std::size_t>(row * image.width + column)] & 0xFu;
            bytes[static_cast<std::size_t>(column / 2)] |=
                static_cast<unsigned char>(column % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
}

}  // namespace

bool MakeBitmapStrip(const std::vector<IconImage>& images, const std::string& fileName,
                     PalettedImage& strip, std::vector<std::string>& errors)
{
    const std::size_t errorsBefore = errors.size();
    const int size = images.empty() ? 0 : images.front().size;
    strip = PalettedImage{};
    strip.width = size * static_cast<int>(images.size());
    strip.height = size;
    strip.indices.resize(static_cast<std::size_t>(strip.width * strip.height));
    int left = 0;
    for (const IconImage& image : images) {
        if (image.size != size) {
            errors.push_back(Located(fileName, RowLine(image, 0),
                                     "a " + std::to_string(image.size) + " x " +
                                         std::to_string(image.size) + " image in a strip of " +
                                         std::to_string(size) + " x " + std::to_string(size) +
                                         " images"));
            return false;
        }
        for (int row = 0; row < size; ++row) {
            // Past a 17th colour every later one would be refused again.
            if (PlaceRow(image, row, left, fileName, strip, errors) == RowResult::paletteFull)
                return false;
        }
        left += size;
    }
    return errors.size() == errorsBefore;
}

std::vector<unsigned char> BuildBmpFile(const PalettedImage& image)
{
    std::vector<unsigned char> out;
    PutFileHeader(out, image);
    PutBitmapHeader(out, image);
    PutPalette(out, image);
    PutPixels(out, image);
    return out;
}
