// Reading the pixel-art sources of the program icon and the menu bar bitmap.
#include "tools/icon/icon_source.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>

namespace {

// The sizes of icon group 101, each drawn once in the source.
const std::vector<int> iconSizes = {32, 16};

struct SourceLine {
    std::string_view text;
    int number;
};

struct PaletteColour {
    IconPixel pixel;
    int line = 0;  // 0 while the character is not a colour
};

using Palette = std::array<PaletteColour, 128>;

std::string Located(const std::string& file, int line, const std::string& problem)
{
    return file + ":" + std::to_string(line) + ": " + problem;
}

std::string SizeName(int size)
{
    return std::to_string(size) + " x " + std::to_string(size);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsPrintable(char c)
{
    return c > ' ' && c < 0x7F;
}

// How a message shows a character: printable ones quoted, others as bytes.
std::string Quoted(char c)
{
    if (IsPrintable(c))
        return std::string("'") + c + "'";
    const char digits[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    return std::string("byte 0x") + digits[byte >> 4] + digits[byte & 0xF];
}

// Splits at LF or CR LF, after a UTF-8 byte order mark if there is one.
std::vector<SourceLine> SplitLines(std::string_view text)
{
    const std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, byteOrderMark.size()) == byteOrderMark)
        text.remove_prefix(byteOrderMark.size());
    std::vector<SourceLine> lines;
    int number = 1;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(SourceLine{line, number});
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
        ++number;
    }
    return lines;
}

std::vector<std::string_view> SplitWords(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsBlank(line[at]))
            ++at;
        std::size_t end = at;
        while (end < line.size() && !IsBlank(line[end]))
            ++end;
        if (end > at)
            words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

bool IsCommentOrEmpty(std::string_view line)
{
    const std::vector<std::string_view> words = SplitWords(line);
    return words.empty() || words[0][0] == '#';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool ParseHexColour(std::string_view hex, IconPixel& pixel)
{
    if (hex.size() != 8)
        return false;
    std::uint8_t channels[4];
    for (std::size_t i = 0; i < 4; ++i) {
        const int high = HexDigit(hex[2 * i]);
        const int low = HexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        channels[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    pixel = IconPixel{channels[0], channels[1], channels[2], channels[3]};
    return true;
}

bool IsColourCharacter(std::string_view word)
{
    return word.size() == 1 && IsPrintable(word[0]) && word[0] != '.' && word[0] != '#';
}

// "colour <character> <name> <RRGGBBAA>"
void AddColour(const std::vector<std::string_view>& words, const SourceLine& line,
               const std::string& file, Palette& palette, std::vector<std::string>& errors)
{
    if (words.size() != 4) {
        errors.push_back(
            Located(file, line.number, "a colour line is: colour <character> <name> <RRGGBBAA>"));
        return;
    }
    if (!IsColourCharacter(words[1])) {
        errors.push_back(Located(file, line.number,
                                 "'" + std::string(words[1]) +
                                     "' is not one printable character other than '.' and '#'"));
        return;
    }
    PaletteColour& colour = palette[static_cast<unsigned char>(words[1][0])];
    if (colour.line != 0) {
        errors.push_back(Located(file, line.number,
                                 Quoted(words[1][0]) + " is already a colour (line " +
                                     std::to_string(colour.line) + ")"));
        return;
    }
    if (!ParseHexColour(words[3], colour.pixel)) {
        errors.push_back(Located(
            file, line.number, "'" + std::string(words[3]) + "' is not a colour in RRGGBBAA hex"));
        return;
    }
    colour.line = line.number;
}

// "image <size>" for one of the sizes wanted; gives 0 for anything else.
int ImageSize(const std::vector<std::string_view>& words, const std::vector<int>& sizes)
{
    if (words.size() != 2)
        return 0;
    for (int size : sizes) {
        if (words[1] == std::to_string(size))
            return size;
    }
    return 0;
}

// Each size once, in the order first given.
std::vector<int> DistinctSizes(const std::vector<int>& sizes)
{
    std::vector<int> distinct;
    for (int size : sizes) {
        if (std::find(distinct.begin(), distinct.end(), size) == distinct.end())
            distinct.push_back(size);
    }
    return distinct;
}

int WantedCount(const std::vector<int>& sizes, int size)
{
    return static_cast<int>(std::count(sizes.begin(), sizes.end(), size));
}

// "an image line is 'image 32' or 'image 16'", from the sizes wanted.
std::string ImageLineForm(const std::vector<int>& sizes)
{
    std::string forms;
    for (int size : DistinctSizes(sizes)) {
        if (!forms.empty())
            forms += " or ";
        forms += "'image " + std::to_string(size) + "'";
    }
    return "an image line is " + forms;
}

std::string TooManyImages(int size, int wanted, int firstLine)
{
    if (wanted == 1) {
        return "a second " + SizeName(size) + " image (the first is on line " +
               std::to_string(firstLine) + ")";
    }
    return "more than " + std::to_string(wanted) + " " + SizeName(size) +
           " images (the first is on line " + std::to_string(firstLine) + ")";
}

std::string TooFewImages(int size, int wanted, int found)
{
    if (found == 0)
        return "no " + SizeName(size) + " image";
    return "only " + std::to_string(found) + " " + SizeName(size) + " images, not " +
           std::to_string(wanted);
}

void ReadMapRow(const SourceLine& line, int row, const Palette& palette, const std::string& file,
                IconImage& image, std::vector<std::string>& errors)
{
    if (line.text.size() != static_cast<std::size_t>(image.size)) {
        errors.push_back(Located(file, line.number,
                                 "row has " + std::to_string(line.text.size()) +
                                     " characters, not " + std::to_string(image.size)));
        return;
    }
    image.rowLines[static_cast<std::size_t>(row)] = line.number;
    for (int column = 0; column < image.size; ++column) {
        const char c = line.text[static_cast<std::size_t>(column)];
        if (c == '.')
            continue;
        const auto index = static_cast<unsigned char>(c);
        if (index >= palette.size() || palette[index].line == 0) {
            errors.push_back(Located(file, line.number, Quoted(c) + " is not a colour"));
            return;
        }
        image.pixels[static_cast<std::size_t>(row * image.size + column)] = palette[index].pixel;
    }
}

// Reads the rows of an image that starts after lines[next - 1]; moves next
// past them.
IconImage ReadMap(const std::vector<SourceLine>& lines, std::size_t& next, int size,
                  const Palette& palette, const std::string& file, std::vector<std::string>& errors)
{
    IconImage image;
    image.size = size;
    image.pixels.resize(static_cast<std::size_t>(size * size));
    image.rowLines.resize(static_cast<std::size_t>(size));
    int row = 0;
    for (; row < size && next < lines.size(); ++row, ++next)
        ReadMapRow(lines[next], row, palette, file, image, errors);
    if (row < size) {
        errors.push_back(Located(file, lines.back().number,
                                 "the file ends after " + std::to_string(row) + " rows of the " +
                                     SizeName(size) + " image"));
    }
    return image;
}

}  // namespace

bool ParsePixelSource(std::string_view text, const std::string& fileName,
                      const std::vector<int>& sizes, std::vector<IconImage>& images,
                      std::vector<std::string>& errors)
{
    const std::size_t errorsBefore = errors.size();
    const std::vector<SourceLine> lines = SplitLines(text);
    Palette palette;
    std::map<int, std::vector<int>> imageLines;  // by size: the lines where its images start
    std::size_t next = 0;
    while (next < lines.size()) {
        const SourceLine& line = lines[next++];
        if (IsCommentOrEmpty(line.text))
            continue;
        const std::vector<std::string_view> words = SplitWords(line.text);
        if (words[0] == "colour") {
            AddColour(words, line, fileName, palette, errors);
        } else if (words[0] == "image") {
            const int size = ImageSize(words, sizes);
            if (size == 0) {
                // The rows that follow cannot be told from stray lines.
                errors.push_back(Located(fileName, line.number, ImageLineForm(sizes)));
                return false;
            }
            std::vector<int>& starts = imageLines[size];
            const int wantedCount = WantedCount(sizes, size);
            if (static_cast<int>(starts.size()) >= wantedCount) {
                errors.push_back(Located(fileName, line.number,
                                         TooManyImages(size, wantedCount, starts.front())));
            }
            starts.push_back(line.number);
            images.push_back(ReadMap(lines, next, size, palette, fileName, errors));
        } else {
            errors.push_back(
                Located(fileName, line.number, "expected 'colour', 'image' or a comment"));
        }
    }
    const int lastLine = lines.empty() ? 1 : lines.back().number;
    for (int size : DistinctSizes(sizes)) {
        const int found = static_cast<int>(imageLines[size].size());
        const int wantedCount = WantedCount(sizes, size);
        if (found < wantedCount)
            errors.push_back(Located(fileName, lastLine, TooFewImages(size, wantedCount, found)));
    }
    return errors.size() == errorsBefore;
}

bool ParseIconSource(std::string_view text, const std::string& fileName,
                     std::vector<IconImage>& images, std::vector<std::string>& errors)
{
    return ParsePixelSource(text, fileName, iconSizes, images, errors);
}
