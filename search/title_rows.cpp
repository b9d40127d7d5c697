// Rows of titles over the installed image: see title_rows.h.
#include "search/title_rows.h"

#include <cstring>

#include "data/first_entries.h"
#include "data/rules_image.h"
#include "pane/word_match.h"

namespace {

bool HoldsWord(const char* text, const char* word, int length)
{
    return TextHasWord(text, std::strlen(text), word, static_cast<std::size_t>(length));
}

}  // namespace

TitleRows::TitleRows(int searchCategory, bool countBodies)
    : EntryRows<char>(GetEntryCount(searchCategory)), category(searchCategory), withBodies(countBodies)
{
}

bool TitleRows::RowHasWord(int row, const char* word, int length) const
{
    const int entry = EntryOf(row);
    if (HoldsWord(GetEntryTitle(category, entry), word, length))
        return true;
    if (!withBodies)
        return false;
    const int first = FirstEntriesOfTitles(category)[static_cast<std::size_t>(entry)];
    return HoldsWord(GetEntryBody(category, first), word, length);
}

std::vector<std::string> TitleRows::Titles() const
{
    std::vector<std::string> titles;
    titles.reserve(Entries().size());
    for (const int entry : Entries())
        titles.emplace_back(GetEntryTitle(category, entry));
    return titles;
}
