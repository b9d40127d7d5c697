// The first entry of each title: see first_entries.h.
#include "data/first_entries.h"

#include <string_view>
#include <unordered_map>

#include "data/rules_image.h"

namespace {

struct FirstEntries {
    const unsigned char* image = nullptr;
    std::vector<std::vector<int>> byCategory;  // empty until a category is asked for
};

std::vector<int> FindFirstEntries(int category)
{
    const int count = GetEntryCount(category);
    std::vector<int> first(static_cast<std::size_t>(count));
    std::unordered_map<std::string_view, int> seen;
    seen.reserve(static_cast<std::size_t>(count));
    for (int e = 0; e < count; ++e)
        first[static_cast<std::size_t>(e)] = seen.emplace(GetEntryTitle(category, e), e).first->second;
    return first;
}

}  // namespace

const std::vector<int>& FirstEntriesOfTitles(int category)
{
    static FirstEntries cache;
    if (cache.image != GetRulesImage()) {
        cache.image = GetRulesImage();
        cache.byCategory.assign(static_cast<std::size_t>(GetCategoryCount()), {});
    }
    std::vector<int>& first = cache.byCategory[static_cast<std::size_t>(category)];
    if (first.empty() && GetEntryCount(category) > 0)
        first = FindFirstEntries(category);
    return first;
}
