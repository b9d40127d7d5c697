// A check of a freshly opened dialog that a user would make by eye: every
// control inside the client area, every fixed text whole.
#pragma once

#include <windows.h>

// Every visible control of the dialog lies inside its client area, and each
// one with a fixed text is wide enough for it in the control's own font.
void ExpectEveryControlInsideAndItsTextWhole(HWND dialog);
