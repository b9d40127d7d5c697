#include "pane/entry_text.h"

#include <cstring>
#include <string>
#include <vector>

#include "data/display_text.h"
#include "data/first_entries.h"
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

namespace {

// Wide copies of a category's titles and bodies, made once per category:
// widening every body again for every row of every keystroke costs far more
// than the test itself. Titles are copied on a category's first test, bodies
// on its first test that reads bodies; both are kept for the process, until
// another image is installed.
struct WideTexts {
    std::vector<std::wstring> titles;
    std::vector<std::wstring> bodies;
};

struct WideTextCache {
    const unsigned char* image = nullptr;
    std::vector<WideTexts> byCategory;
};

std::wstring WideCopy(const char* text)
{
    DisplayText copy(MakeDisplayText(text));
    return copy ? std::wstring(copy.get()) : std::wstring();
}

void CopyAll(std::vector<std::wstring>& copies, int category, const char* (*text)(int, int))
{
    const int count = GetEntryCount(category);
    copies.reserve(static_cast<std::size_t>(count));
    for (int e = 0; e < count; ++e)
        copies.push_back(WideCopy(text(category, e)));
}

const WideTexts& WideTextsOf(int category, bool withBodies)
{
    static WideTextCache cache;
    if (cache.image != GetRulesImage()) {
        cache.image = GetRulesImage();
        cache.byCategory.assign(static_cast<std::size_t>(GetCategoryCount()), {});
    }
    WideTexts& texts = cache.byCategory[static_cast<std::size_t>(category)];
    if (texts.titles.empty())
        CopyAll(texts.titles, category, GetEntryTitle);
    if (withBodies && texts.bodies.empty())
        CopyAll(texts.bodies, category, GetEntryBody);
    return texts;
}

bool WideHasWord(const std::wstring& text, const TCHAR* word, int n)
{
    return DisplayTextHasWord(text.c_str(), static_cast<int>(text.size()), word, n);
}

}  // namespace

bool EntryRowHasWord(int category, int entry, const TCHAR* word, int n, bool alsoBody)
{
    const WideTexts& texts = WideTextsOf(category, alsoBody);
    if (WideHasWord(texts.titles[static_cast<std::size_t>(entry)], word, n))
        return true;
    if (!alsoBody)
        return false;
    const int first = FirstEntriesOfTitles(category)[static_cast<std::size_t>(entry)];
    return WideHasWord(texts.bodies[static_cast<std::size_t>(first)], word, n);
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

// The desktop's texts are the image's own: they are tested where they lie.
bool EntryRowHasWord(int category, int entry, const TCHAR* word, int n, bool alsoBody)
{
    const char* title = GetEntryTitle(category, entry);
    if (TextHasWord(title, std::strlen(title), word, static_cast<std::size_t>(n)))
        return true;
    if (!alsoBody)
        return false;
    return EntryBodyHasWord(category, FirstEntriesOfTitles(category)[static_cast<std::size_t>(entry)], word, n);
}

#endif
