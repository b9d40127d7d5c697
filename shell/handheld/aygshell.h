// The five operations of the handheld platform's shell library that the
// handheld program calls, under the platform's names. On a device the real
// library provides them; here the program runs on desktop Windows over this
// emulation of them, on an emulated device screen of 240 x 320 pixels: a
// navigation bar along the top, menu bars along the bottom, and a soft
// keyboard that rises above the menu bar while an edit field of a dialog
// that carries a "SIPPREF" control has the focus.
#pragma once

#include <windows.h>

// Menu-bar creation. The record's size field is the size of this record.
struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;  // RCDATA menu-bar template
    HINSTANCE hInstRes;
    int nBmpId;  // bitmap strip of 16 x 16 images, 0 for none
    int cBmpImages;
    HWND hwndMB;  // receives the menu bar window
};

// Full-screen dialog set-up.
struct SHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
};
constexpr DWORD SHIDIM_FLAGS = 0x0001;
constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;
constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004;
constexpr DWORD SHIDIF_SIPDOWN = 0x0008;

// What the activation and settings-change handlers keep per window; the
// program sets only the size field.
struct SHACTIVATEINFO {
    DWORD cbSize;
    HWND hwndLastFocus;
    UINT fSipUp : 1;
    UINT fSipOnDeactivation : 1;
    UINT fActive : 1;
    UINT fReserved : 29;
};

// The settings change that tells windows the soft keyboard rose or fell.
constexpr UINT SPI_SETSIPINFO = 224;

BOOL SHCreateMenuBar(SHMENUBARINFO* info);
BOOL SHInitDialog(SHINITDLGINFO* info);
BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* record, DWORD flags);
BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* record);
BOOL SHInitExtraControls();

// The emulated device, for the tests that look at it (the program calls
// none of these; on a device they do not exist): the screen below the
// navigation bar, the navigation bar along the top with the active window's
// title and its Done button, and the soft keyboard panel above the menu bar.
RECT EmulatedWorkArea();
HWND EmulatedNavigationBar();
HWND EmulatedKeyboard();
bool IsEmulatedKeyboardUp();
