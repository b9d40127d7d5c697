// The one way a text leaves the rules data image: a fresh heap copy in the
// character form of the user interface (8-bit on the desktop, wide on the
// handheld program).
#pragma once

#include <windows.h>

#include <memory>

// A new heap copy of an image text, always terminated; null when the copy
// cannot be allocated. Release it with ReleaseDisplayText.
TCHAR* MakeDisplayText(const char* text);

void ReleaseDisplayText(TCHAR* text);

struct DisplayTextRelease {
    void operator()(TCHAR* text) const { ReleaseDisplayText(text); }
};

// Holds a display copy and releases it on every way out of a scope.
using DisplayText = std::unique_ptr<TCHAR, DisplayTextRelease>;
