// Accessors over the installed rules data image, and the check that an image
// is safe to install.
#include "data/rules_image.h"

#include <cstring>

namespace {

const unsigned char* installedImage = nullptr;

const unsigned char* AtOffset(const unsigned char* field)
{
    return installedImage + ReadImageNumber(field);
}

// Offsets of the image's header and entry-table fields, in bytes from the
// start of the image or of the table.
constexpr std::uint64_t headerTableField(std::uint64_t c) { return 4 + 8 * c; }
constexpr std::uint64_t headerNameField(std::uint64_t c) { return 8 + 8 * c; }
constexpr std::uint64_t entryTitleField(std::uint64_t e) { return 4 + 8 * e; }
constexpr std::uint64_t entryBodyField(std::uint64_t e) { return 8 + 8 * e; }

// What the check knows about an image while it walks the tables.
struct ImageBounds {
    const unsigned char* image;
    std::uint64_t size;
    // Offset of the last zero byte; a text starting at or before it is
    // terminated inside the image. -1 when the image holds no zero byte.
    std::int64_t lastZero;
};

std::int64_t FindLastZero(const unsigned char* image, std::size_t size)
{
    for (std::size_t i = size; i > 0; --i) {
        if (image[i - 1] == 0)
            return static_cast<std::int64_t>(i - 1);
    }
    return -1;
}

bool IsAligned(std::uint64_t offset) { return offset % 4 == 0; }

// A table of count pairs of fields starting 4 bytes after offset fits.
// Counts must also fit the signed indices the program uses.
bool TableFits(const ImageBounds& bounds, std::uint64_t offset, std::uint64_t count)
{
    return IsAligned(offset) && count <= INT32_MAX && offset + 4 + 8 * count <= bounds.size;
}

bool IsTerminatedText(const ImageBounds& bounds, std::uint64_t offset)
{
    return IsAligned(offset) && offset < bounds.size &&
           static_cast<std::int64_t>(offset) <= bounds.lastZero;
}

std::uint64_t FieldAt(const ImageBounds& bounds, std::uint64_t offset)
{
    return ReadImageNumber(bounds.image + offset);
}

bool IsWellFormedEntryTable(const ImageBounds& bounds, std::uint64_t table)
{
    if (!TableFits(bounds, table, 0))
        return false;
    const std::uint64_t count = FieldAt(bounds, table);
    if (!TableFits(bounds, table, count))
        return false;
    for (std::uint64_t e = 0; e < count; ++e) {
        if (!IsTerminatedText(bounds, FieldAt(bounds, table + entryTitleField(e))) ||
            !IsTerminatedText(bounds, FieldAt(bounds, table + entryBodyField(e))))
            return false;
    }
    return true;
}

}  // namespace

std::uint32_t ReadImageNumber(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void SetRulesImage(const unsigned char* image) { installedImage = image; }

const unsigned char* GetRulesImage() { return installedImage; }

const unsigned char* GetEntryTable(int category)
{
    return AtOffset(installedImage + headerTableField(category));
}

const char* GetCategoryName(int category)
{
    return reinterpret_cast<const char*>(AtOffset(installedImage + headerNameField(category)));
}

const char* GetEntryTitle(int category, int entry)
{
    return reinterpret_cast<const char*>(AtOffset(GetEntryTable(category) + entryTitleField(entry)));
}

const char* GetEntryBody(int category, int entry)
{
    return reinterpret_cast<const char*>(AtOffset(GetEntryTable(category) + entryBodyField(entry)));
}

int FindEntryByTitle(int category, const char* title)
{
    const unsigned char* table = GetEntryTable(category);
    const int count = static_cast<int>(ReadImageNumber(table));
    for (int e = 0; e < count; ++e) {
        const char* candidate = reinterpret_cast<const char*>(AtOffset(table + entryTitleField(e)));
        if (candidate[0] == title[0] && std::strcmp(candidate, title) == 0)
            return e;
    }
    return -1;
}

int GetCategoryCount() { return static_cast<int>(ReadImageNumber(installedImage)); }

int GetEntryCount(int category) { return static_cast<int>(ReadImageNumber(GetEntryTable(category))); }

bool IsWellFormedRulesImage(const unsigned char* image, std::size_t size)
{
    const ImageBounds bounds{image, size, FindLastZero(image, size)};
    if (!TableFits(bounds, 0, 0))
        return false;
    const std::uint64_t count = FieldAt(bounds, 0);
    if (!TableFits(bounds, 0, count))
        return false;
    for (std::uint64_t c = 0; c < count; ++c) {
        if (!IsTerminatedText(bounds, FieldAt(bounds, headerNameField(c))) ||
            !IsWellFormedEntryTable(bounds, FieldAt(bounds, headerTableField(c))))
            return false;
    }
    return true;
}
