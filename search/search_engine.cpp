// The word loop and the keep-or-delete rule of the full-body search.
#include "search/search_engine.h"

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
