// The desktop main window: a frame with a menu whose client area the browser
// pane covers. One per process.
#pragma once

#include <windows.h>

#include "pane/browser_pane.h"
#include "settings/settings_key.h"
#include "shell/desktop/placement.h"

class MainWindow {
public:
    HWND window = nullptr;
    HINSTANCE instance = nullptr;
    HANDLE mutex = nullptr;
    int showCommand = SW_SHOW;
    BrowserPane pane;
    int slotNumber = 0;

    MainWindow();
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Opens the instance mutex (created by the first copy, opened by others).
    void OpenInstanceMutex();

    // Registers the class, takes a window slot, restores the slot's placement,
    // creates the window (and with it the pane) and shows it.
    HWND CreateAndShow(HINSTANCE moduleInstance);

    // The saved rectangle of this slot if it fits the screen, else the
    // system's choice; sets showCommand from the saved state. Opens the
    // settings key, which the caller closes.
    WindowRectangle RestoreMainPlacement(SettingsKey& settings);
    PlacementNames MainPlacementNames() const;

    void OnCreate(HWND mainWindow);
    void SizePaneAndSavePlacement();
    void OnClose();
    void OnCommand(int code, int id);

    void NewWindow();
    void ShowAbout();
};

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the message loop: accelerators to the main window first, then the
// modeless dialogs, then translation and dispatch. Returns the quit code.
int RunMessageLoop(HWND mainWindow, HACCEL accelerators);

#define MAIN_WINDOW_CLASS TEXT("VellumRulesClass")
#define MAIN_WINDOW_TITLE TEXT("Vellum Rules")
