// Rows of titles over the installed image: see title_rows.h.
#include "search/title_rows.h"

#include <cstring>

#include "data/rules_image.h"
#include "pane/word_match.h"

TitleRows::TitleRows(int searchCategory, bool countBodies)
    : category(searchCategory), withBodies(countBodies)
{
    const int count = GetEntryCount(category);
    titles.reserve(static_cast<std::size_t>(count));
    for (int e = 0; e < count; ++e)
        titles.emplace_back(GetEntryTitle(category, e));
}

bool TitleRows::RowHasWord(int row, const char* word, int length) const
{
    const std::string& title = titles[static_cast<std::size_t>(row)];
    const auto n = static_cast<std::size_t>(length);
    if (TextHasWord(title.c_str(), title.size(), word, n))
        return true;
    if (!withBodies)
        return false;
    const int entry = FindEntryByTitle(category, title.c_str());
    if (entry < 0)
        return false;
    const char* body = GetEntryBody(category, entry);
    return TextHasWord(body, std::strlen(body), word, n);
}
