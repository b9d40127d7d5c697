// The word loop and the keep-or-delete rule of the full-body search, and the
// type-ahead filter's rule over the same rows.
#include "search/search_engine.h"

namespace {

// Hands each word of the text, split at every blank, to applyWord(word,
// length), empty words included.
template <typename Char, typename ApplyWordTo>
void ForEachWord(const Char* text, int length, ApplyWordTo&& applyWord)
{
    const Char* word = text;
    const Char* end = text + length;
    for (const Char* c = text;; ++c) {
        if (c != end && *c != Char(' '))
            continue;
        applyWord(word, static_cast<int>(c - word));
        if (c == end)
            return;
        word = c + 1;
    }
}

template <typename Char> int TextLength(const Char* text)
{
    int length = 0;
    while (text[length] != Char(0))
        ++length;
    return length;
}

}  // namespace

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

template <typename Char> void ApplyQuery(SearchRows<Char>& rows, const Char* query, int length)
{
    ForEachWord(query, length, [&rows](const Char* word, int n) { ApplyWord(rows, word, n); });
}

template <typename Char> void ApplyQuery(SearchRows<Char>& rows, const Char* query)
{
    ApplyQuery(rows, query, TextLength(query));
}

template <typename Char> void ApplyTypedWords(SearchRows<Char>& rows, const Char* text, int length)
{
    ForEachWord(text, length, [&rows](const Char* word, int n) {
        if (n == 0)
            return;
        for (int row = rows.CountRows() - 1; row >= 0; --row) {
            if (!rows.RowHasWord(row, word, n))
                rows.DeleteRow(row);
        }
    });
}

template void ApplyWord<char>(SearchRows<char>&, const char*, int);
template void ApplyWord<wchar_t>(SearchRows<wchar_t>&, const wchar_t*, int);
template void ApplyQuery<char>(SearchRows<char>&, const char*);
template void ApplyQuery<wchar_t>(SearchRows<wchar_t>&, const wchar_t*);
template void ApplyQuery<char>(SearchRows<char>&, const char*, int);
template void ApplyQuery<wchar_t>(SearchRows<wchar_t>&, const wchar_t*, int);
template void ApplyTypedWords<char>(SearchRows<char>&, const char*, int);
template void ApplyTypedWords<wchar_t>(SearchRows<wchar_t>&, const wchar_t*, int);
