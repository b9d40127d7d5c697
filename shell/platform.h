// The one switch between the two programs: the handheld program is the wide
// character build. Code that differs between them asks this, not #ifdef.
#pragma once

#include <windows.h>

constexpr bool isHandheld = sizeof(TCHAR) == 2;

// The named mutex of both programs: the desktop copies guard their shared
// window-slot table with it; the handheld program learns from it whether a
// copy already runs.
#define INSTANCE_MUTEX_NAME TEXT("{D4859351-D364-4cf4-A210-8436EDA06EEF}")
