// The handheld main window: one copy of the program at a time, a window
// that fills the screen, a menu bar at the bottom and the browser pane above
// it. It keeps no placement and has no window slots or accelerators.
#pragma once

#include <windows.h>

#include "pane/browser_pane.h"
#include "shell/handheld/aygshell.h"

class MainWindow {
public:
    HWND window = nullptr;
    HINSTANCE instance = nullptr;
    HANDLE mutex = nullptr;
    BrowserPane pane;
    SHACTIVATEINFO activation = {};
    HWND menuBar = nullptr;

    MainWindow();
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Whether another copy runs; it is then brought to the front.
    bool IsAnotherCopyRunning();

    HWND Create(HINSTANCE moduleInstance);
    void OnCreate(HWND mainWindow);
    void SizePane();
    void OnCommand(int code, int id);
};

LRESULT CALLBACK HandheldWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The loop without accelerators: the modeless dialogs, then translation and
// dispatch. Returns the quit code.
int RunHandheldMessageLoop();

// Brings the running copy's window to the front; false if there is none.
bool BringRunningCopyToFront();
