#include "pane/entry_text.h"

#include <cstring>

#include "data/display_text.h"
#include "data/rules_image.h"
#include "pane/word_match.h"

#ifdef UNICODE

bool DisplayTextHasWord(const TCHAR* text, int length, const TCHAR* word, int n)
{
    for (int p = 0; p <= length - n; ++p) {
        if (n == 0 || _wcsnicmp(text + p, word, static_cast<std::size_t>(n)) == 0)
            return true;
    }
    return false;
}

int FindDisplayWord(const TCHAR* text, int length, const TCHAR* word, int n, int from)
{
    for (int p = from; n > 0 && p <= length - n; ++p) {
        if (_wcsnicmp(text + p, word, static_cast<std::size_t>(n)) == 0)
            return p;
    }
    return -1;
}

int FindEntryWithTitle(int category, const TCHAR* title)
{
    for (int e = 0; e < GetEntryCount(category); ++e) {
        DisplayText entryTitle(MakeDisplayText(GetEntryTitle(category, e)));
        // Character for character: lstrcmp would take "Straße" for "Strasse".
        if (entryTitle && wcscmp(entryTitle.get(), title) == 0)
            return e;
    }
    return -1;
}

bool EntryBodyHasWord(int category, int entry, const TCHAR* word, int n)
{
    DisplayText body(MakeDisplayText(GetEntryBody(category, entry)));
    return body && DisplayTextHasWord(body.get(), lstrlen(body.get()), word, n);
}

#else

bool DisplayTextHasWord(const TCHAR* text, int length, const TCHAR* word, int n)
{
    return n <= length &&
           TextHasWord(text, static_cast<std::size_t>(length), word, static_cast<std::size_t>(n));
}

int FindDisplayWord(const TCHAR* text, int length, const TCHAR* word, int n, int from)
{
    for (int p = from; n > 0 && p <= length - n; ++p) {
        if (EqualFoldingAsciiLetters(text + p, word, static_cast<std::size_t>(n)))
            return p;
    }
    return -1;
}

// The desktop's display copies are byte-for-byte copies, so the image texts
// are compared where they lie, without copying them first.
int FindEntryWithTitle(int category, const TCHAR* title) { return FindEntryByTitle(category, title); }

bool EntryBodyHasWord(int category, int entry, const TCHAR* word, int n)
{
    const char* body = GetEntryBody(category, entry);
    return TextHasWord(body, std::strlen(body), word, static_cast<std::size_t>(n));
}

#endif
