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

// The first place at or after from where the word of n characters occurs in
// the text of length characters, folding as the full-body search folds; -1
// when it occurs there no more.
int FindDisplayWord(const TCHAR* text, int length, const TCHAR* word, int n, int from);
