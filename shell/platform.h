// The one switch between the two programs: the handheld program is the wide
// character build. Code that differs between them asks this, not #ifdef.
#pragma once

#include <windows.h>

constexpr bool isHandheld = sizeof(TCHAR) == 2;
