#include "pane/entry_text.h"

#include <cstring>
#include <string>
#include <vector>

#include "data/display_text.h"
#include "data/first_entries.h"
#include "data/rules_image.h"
#include "pane/word_match.h"

using TextCopy = std::basic_string<TCHAR>;

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

// The test copies are wide copies: the word test compares wide text.
TextCopy CopyForTests(const char* text)
{
    DisplayText copy(MakeDisplayText(text));
    return copy ? TextCopy(copy.get()) : TextCopy();
}

bool CopyHasWord(const TextCopy& copy, const TCHAR* word, int n)
{
    return DisplayTextHasWord(copy.c_str(), static_cast<int>(copy.size()), word, n);
}

}  // namespace

#else

namespace {

char FoldedAsciiLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

}  // namespace

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

namespace {

// The test copies are folded copies: A to Z folded as the word test folds,
// so that a folded word is found by a plain search.
TextCopy CopyForTests(const char* text)
{
    TextCopy copy(text);
    for (char& c : copy)
        c = FoldedAsciiLetter(c);
    return copy;
}

bool CopyHasWord(const TextCopy& copy, const TCHAR* word, int n)
{
    TextCopy folded(word, static_cast<std::size_t>(n));
    for (char& c : folded)
        c = FoldedAsciiLetter(c);
    return copy.find(folded) != TextCopy::npos;
}

}  // namespace

#endif

namespace {

// Copies of a category's titles and bodies made for the word test, once per
// category: a display copy made for every row of every keystroke costs far
// more than the test itself. Titles are copied on a category's first test,
// bodies on its first test that reads bodies; both are kept for the process,
// until another image is installed.
struct CategoryCopies {
    std::vector<TextCopy> titles;
    std::vector<TextCopy> bodies;
};

struct CopyCache {
    const unsigned char* image = nullptr;
    std::vector<CategoryCopies> byCategory;
};

void CopyAll(std::vector<TextCopy>& copies, int category, const char* (*text)(int, int))
{
    const int count = GetEntryCount(category);
    copies.reserve(static_cast<std::size_t>(count));
    for (int e = 0; e < count; ++e)
        copies.push_back(CopyForTests(text(category, e)));
}

const CategoryCopies& CopiesOf(int category, bool withBodies)
{
    static CopyCache cache;
    if (cache.image != GetRulesImage()) {
        cache.image = GetRulesImage();
        cache.byCategory.assign(static_cast<std::size_t>(GetCategoryCount()), {});
    }
    CategoryCopies& copies = cache.byCategory[static_cast<std::size_t>(category)];
    if (copies.titles.empty())
        CopyAll(copies.titles, category, GetEntryTitle);
    if (withBodies && copies.bodies.empty())
        CopyAll(copies.bodies, category, GetEntryBody);
    return copies;
}

}  // namespace

bool EntryRowHasWord(int category, int entry, const TCHAR* word, int n, bool alsoBody)
{
    const CategoryCopies& copies = CopiesOf(category, alsoBody);
    if (CopyHasWord(copies.titles[static_cast<std::size_t>(entry)], word, n))
        return true;
    if (!alsoBody)
        return false;
    const int first = FirstEntriesOfTitles(category)[static_cast<std::size_t>(entry)];
    return CopyHasWord(copies.bodies[static_cast<std::size_t>(first)], word, n);
}
