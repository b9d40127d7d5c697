// What the handheld program's dialogs ask of the shell when they open: fill
// the screen, show a Done button that sends command 1, lower the keyboard.
#pragma once

#include <windows.h>

void SetUpFullScreenDialog(HWND dialog);
