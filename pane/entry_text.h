// The pane's text tests in the character form of the user interface. The
// desktop compares 8-bit texts in place in the image; the handheld compares
// widened display copies.
#pragma once

#include <windows.h>

// Whether the word of n characters occurs in the text of length characters,
// without regard to case (the desktop folds only A to Z).
bool DisplayTextHasWord(const TCHAR* text, int length, const TCHAR* word, int n);

// The first entry of the category whose title equals the text exactly, or -1.
int FindEntryWithTitle(int category, const TCHAR* title);

// Whether the word of n characters occurs in the body of the entry.
bool EntryBodyHasWord(int category, int entry, const TCHAR* word, int n);

// The test of a row of the item list or the result list that stands for the
// entry: whether its title holds the word of n characters, or else, with
// alsoBody, the body of the first entry of the category with the same title.
// No title is looked up by its text and no display copy is made per row.
bool EntryRowHasWord(int category, int entry, const TCHAR* word, int n, bool alsoBody);

// The first place at or after from where the word of n characters occurs in
// the text of length characters, folding as the full-body search folds; -1
// when it occurs there no more.
int FindDisplayWord(const TCHAR* text, int length, const TCHAR* word, int n, int from);
