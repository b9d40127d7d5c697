// Packing categories of entries into the image layout and the data resource.
#include "tools/packer/rules_pack.h"

#include <algorithm>
#include <cstdio>
#include <zlib.h>

#include "data/rules_image.h"
#include "data/rules_inflate.h"

namespace {

// Item texts pass through buffers of 260 characters in the programs.
constexpr std::size_t textLimit = 260;

bool IsTitleCharacter(unsigned char c)
{
    if (c >= 0x80)
        return true;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    return std::string_view(" &'(),-/;[]").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string Quoted(unsigned char c)
{
    char text[32];
    if (c >= 0x20 && c < 0x7F)
        std::snprintf(text, sizeof text, "'%c'", c);
    else
        std::snprintf(text, sizeof text, "byte 0x%02X", c);
    return text;
}

std::string CheckOneLine(std::string_view text, const char* what)
{
    if (text.empty())
        return std::string("empty ") + what;
    if (text.size() >= textLimit)
        return std::string(what) + " is " + std::to_string(text.size()) +
               " bytes; it must be shorter than 260";
    return {};
}

// Windows-1252 letters fold to lower case like ASCII ones.
unsigned char FoldCase(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 32);
    switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
    }
}

int CompareWithoutCase(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = FoldCase(static_cast<unsigned char>(a[i]));
        const unsigned char y = FoldCase(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::size_t PaddedSize(const std::string& text) { return (text.size() + 1 + 3) / 4 * 4; }

void PutNumber(std::vector<unsigned char>& image, std::size_t at, std::size_t value)
{
    for (int i = 0; i < 4; ++i)
        image[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// Appends a text with its terminator and padding; returns its offset.
std::size_t AppendText(std::vector<unsigned char>& image, const std::string& text)
{
    const std::size_t offset = image.size();
    image.insert(image.end(), text.begin(), text.end());
    image.resize(offset + PaddedSize(text), 0);
    return offset;
}

std::size_t AppendEntryTable(std::vector<unsigned char>& image, const SourceCategory& category)
{
    const std::size_t table = image.size();
    image.resize(table + 4 + 8 * category.entries.size(), 0);
    PutNumber(image, table, category.entries.size());
    for (std::size_t e = 0; e < category.entries.size(); ++e) {
        PutNumber(image, table + 4 + 8 * e, AppendText(image, category.entries[e].title));
        PutNumber(image, table + 8 + 8 * e, AppendText(image, category.entries[e].body));
    }
    return table;
}

}  // namespace

std::string CheckCategoryName(std::string_view name)
{
    std::string problem = CheckOneLine(name, "category name");
    for (const char ch : name) {
        if (problem.empty() && static_cast<unsigned char>(ch) < 0x20)
            problem = "category name holds " + Quoted(static_cast<unsigned char>(ch));
    }
    return problem;
}

std::string CheckTitle(std::string_view title)
{
    std::string problem = CheckOneLine(title, "title");
    for (const char ch : title) {
        if (problem.empty() && !IsTitleCharacter(static_cast<unsigned char>(ch)))
            problem = "title holds " + Quoted(static_cast<unsigned char>(ch)) +
                      ", which titles may not hold";
    }
    return problem;
}

std::string CheckBody(std::string_view body)
{
    for (std::size_t i = 0; i < body.size(); ++i) {
        const auto c = static_cast<unsigned char>(body[i]);
        const bool pairedReturn = c == '\r' && i + 1 < body.size() && body[i + 1] == '\n';
        const bool pairedFeed = c == '\n' && i > 0 && body[i - 1] == '\r';
        if (c == '\r' && !pairedReturn)
            return "lone carriage return in body";
        if (c == '\n' && !pairedFeed)
            return "lone line feed in body";
        if (c < 0x20 && c != '\t' && c != '\r' && c != '\n')
            return "body holds " + Quoted(c);
    }
    if (body.size() >= 2 && body.substr(body.size() - 2) == "\r\n")
        return "body ends with a line break";
    return {};
}

void SortEntries(std::vector<SourceEntry>& entries)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const SourceEntry& a, const SourceEntry& b) {
                         const int order = CompareWithoutCase(a.title, b.title);
                         return order != 0 ? order < 0 : a.title < b.title;
                     });
}

std::vector<unsigned char> BuildRulesImage(const std::vector<SourceCategory>& categories)
{
    std::vector<unsigned char> image(4 + 8 * categories.size(), 0);
    PutNumber(image, 0, categories.size());
    for (std::size_t c = 0; c < categories.size(); ++c)
        PutNumber(image, 8 + 8 * c, AppendText(image, categories[c].name));
    for (std::size_t c = 0; c < categories.size(); ++c)
        PutNumber(image, 4 + 8 * c, AppendEntryTable(image, categories[c]));
    return image;
}

std::vector<unsigned char> CompressRulesImage(const std::vector<unsigned char>& image)
{
    uLongf compressedSize = compressBound(static_cast<uLong>(image.size()));
    std::vector<unsigned char> resource(4 + compressedSize);
    PutNumber(resource, 0, image.size());
    if (compress2(resource.data() + 4, &compressedSize, image.data(),
                  static_cast<uLong>(image.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        return {};
    resource.resize(4 + compressedSize);
    return resource;
}

bool ExpandRulesResource(const std::vector<unsigned char>& resource,
                         std::vector<unsigned char>& image, std::string& error)
{
    const ImageAllocator heap = HeapImageAllocator();
    const InflatedImage inflated = InflateRulesImage(resource.data(), resource.size(), heap);
    if (inflated.status != InflateStatus::ready) {
        error = inflated.status == InflateStatus::noMemory
                    ? "the image does not fit in memory"
                    : "the resource is not a well-formed compressed rules image";
        return false;
    }
    image.assign(inflated.block, inflated.block + inflated.size);
    heap.release(inflated.block);
    return true;
}

std::vector<SourceCategory> ReadRulesImage(const std::vector<unsigned char>& image)
{
    SetRulesImage(image.data());
    std::vector<SourceCategory> categories(static_cast<std::size_t>(GetCategoryCount()));
    for (int c = 0; c < GetCategoryCount(); ++c) {
        SourceCategory& category = categories[static_cast<std::size_t>(c)];
        category.name = GetCategoryName(c);
        category.folder = FolderNameFor(category.name);
        for (int e = 0; e < GetEntryCount(c); ++e)
            category.entries.push_back(SourceEntry{GetEntryTitle(c, e), GetEntryBody(c, e), {}, 0});
    }
    SetRulesImage(nullptr);
    return categories;
}
