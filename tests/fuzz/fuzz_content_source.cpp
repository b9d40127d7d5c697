// libFuzzer target: any bytes as a content source file, read both as an entry
// file and as a category list. Entries read without a complaint must come
// back the same through writing them out and reading that again.
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tools/packer/content_source.h"

namespace {

bool SameEntries(const std::vector<SourceEntry>& a, const std::vector<SourceEntry>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].title != b[i].title || a[i].body != b[i].body)
            return false;
    }
    return true;
}

void RoundTripEntries(std::string_view text)
{
    std::vector<SourceEntry> entries;
    std::vector<std::string> errors;
    ParseEntryFile(text, "fuzz.txt", entries, errors);
    if (!errors.empty())
        return;
    std::string written;
    std::string error;
    if (!FormatEntryFile(entries, written, error))
        std::abort();
    std::vector<SourceEntry> again;
    ParseEntryFile(written, "written.txt", again, errors);
    if (!errors.empty() || !SameEntries(entries, again))
        std::abort();
}

void ReadCategories(std::string_view text)
{
    std::vector<SourceCategory> categories;
    std::vector<std::string> errors;
    ParseCategoryList(text, "categories.txt", categories, errors);
    for (const SourceCategory& category : categories) {
        if (category.folder.empty() || category.folder.find('\t') != std::string::npos)
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    // A copy of exactly size bytes, so AddressSanitizer sees any read past them.
    const std::vector<char> bytes(data, data + size);
    const std::string_view text(bytes.data(), bytes.size());
    RoundTripEntries(text);
    ReadCategories(text);
    return 0;
}
