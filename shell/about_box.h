// The About box both programs show.
#pragma once

#include <windows.h>

void ShowAboutBox(HWND owner);
