// The word loop and the keep-or-delete rule of the full-body search.
#include "search/search_engine.h"

#include <cstring>

#include "data/rules_image.h"
#include "pane/word_match.h"

template <typename Char> void ApplyWord(SearchRows<Char>& rows, const Char* word, int length)
{
    const bool negated = length > 0 && word[0] == Char('-');
    if (negated) {
        ++word;
        --length;
    }
    // From the last row to the first, so that the positions still to be
    // tested stay valid while rows are deleted.
    for (int row = rows.CountRows() - 1; row >= 0; --row) {
        if (rows.RowHasWord(row, word, length) == negated)
            rows.DeleteRow(row);
    }
}

template <typename Char> void ApplyQuery(SearchRows<Char>& rows, const Char* query)
{
    const Char* word = query;
    for (const Char* c = query;; ++c) {
        if (*c != Char(' ') && *c != Char(0))
            continue;
        ApplyWord(rows, word, static_cast<int>(c - word));
        if (*c == Char(0))
            return;
        word = c + 1;
    }
}

template void ApplyWord<char>(SearchRows<char>&, const char*, int);
template void ApplyWord<wchar_t>(SearchRows<wchar_t>&, const wchar_t*, int);
template void ApplyQuery<char>(SearchRows<char>&, const char*);
template void ApplyQuery<wchar_t>(SearchRows<wchar_t>&, const wchar_t*);

bool TitleOrBodyHasWord(int category, const char* title, const char* word, std::size_t n)
{
    if (TextHasWord(title, std::strlen(title), word, n))
        return true;
    const int entry = FindEntryByTitle(category, title);
    if (entry < 0)
        return false;
    const char* body = GetEntryBody(category, entry);
    return TextHasWord(body, std::strlen(body), word, n);
}

CategoryRows::CategoryRows(int searchCategory) : category(searchCategory)
{
    for (int e = 0; e < GetEntryCount(category); ++e)
        titles.emplace_back(GetEntryTitle(category, e));
}

int CategoryRows::CountRows() const
{
    return static_cast<int>(titles.size());
}

bool CategoryRows::RowHasWord(int row, const char* word, int length) const
{
    return TitleOrBodyHasWord(category, titles[static_cast<std::size_t>(row)].c_str(), word,
                              static_cast<std::size_t>(length));
}

void CategoryRows::DeleteRow(int row)
{
    titles.erase(titles.begin() + row);
}
