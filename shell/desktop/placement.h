// Window placement: the five values of a placement record saved on every
// move and size, and the multi-monitor lookup behind the screen test.
#pragma once

#include <windows.h>

// The five value names of one window's placement record, formatted with its
// numbers ("Left 3", "Dice Left 1 3", ...).
struct PlacementNames {
    TCHAR state[64];
    TCHAR left[64];
    TCHAR top[64];
    TCHAR width[64];
    TCHAR height[64];
};

// A window's position and size as CreateWindow takes them.
struct WindowRectangle {
    int x;
    int y;
    int width;
    int height;
};

// Formats the names under a prefix ("", "Search ", "Dice ") with the number
// text that follows each name ("3", "1 3").
PlacementNames MakePlacementNames(const TCHAR* prefix, const TCHAR* numbers);

// Writes state 1 and the normal-state rectangle of a normal window, state 3
// alone for a maximized one, nothing for a minimized one.
void SavePlacement(HWND window, const PlacementNames& names);

// Whether the system supports several monitors; looks the entry points up
// once per process.
bool InitMonitorSupport();

// The system metric, answered as a single-monitor system would when there is
// no multi-monitor support.
int GetVirtualScreenMetric(int index);

// Whether a saved rectangle may be used: on the virtual screen and at least
// 10 pixels each way.
bool FitsVirtualScreen(int x, int y, int width, int height);
