// Window slots: every running copy of the desktop program holds one of 256
// slots in a table that all copies share, and keeps its placement values
// under that slot's number.
#pragma once

#include <windows.h>

#include "shell/platform.h"

// Takes the first free slot; returns its number, 1 to 256 (256 without a
// slot of its own when all are taken).
int AcquireWindowSlot(HANDLE mutex);

// Gives the held slot back, if any.
void ReleaseWindowSlot(HANDLE mutex);
