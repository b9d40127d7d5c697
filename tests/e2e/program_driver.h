// Drives copies of the real desktop program from outside, as a user and the
// shell would: processes started and ended, windows found by class and
// process, messages and key presses sent, controls and focus read.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

// One running copy of the program and its main window.
struct RunningCopy {
    DWORD processId = 0;
    HWND window = nullptr;
};

// Polls check every few milliseconds until it holds or timeoutMs passes.
template <typename Check> bool WaitUntil(Check check, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (check())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(10);
    }
}

// Starts one copy, as Explorer would, and waits until its main window is up
// and its message loop answers. The window is null when none appeared.
RunningCopy StartCopy();

// Starts count copies suspended, then lets them all run at the same moment.
std::vector<RunningCopy> StartCopiesTogether(int count);

// Waits for a copy that is none of the known ones (one the program started
// itself); the window is null when none appeared.
RunningCopy WaitForNewCopy(const std::vector<RunningCopy>& known);

// Every main window of the program now on the screen.
std::vector<RunningCopy> RunningCopies();

// Waits for the copy's process to end; true when it did.
bool WaitForExit(const RunningCopy& copy);

// Asks the copy to close, as its close button does; true when its process
// then ends.
bool CloseCopy(const RunningCopy& copy);

// Ends every process of the program: close, then kill what is still alive.
// Returns how many had to be killed.
int EndAllCopies();

// The slot whose placement values follow this main window, found by moving
// the window to a place no other window has and reading which "Left %d" and
// "Top %d" record it; 0 when none does.
int SlotOf(HWND mainWindow);

// The browser pane that fills a main window, and one of its controls.
HWND PaneOf(HWND mainWindow);
HWND PaneControl(HWND mainWindow, int id);

// The pane control that holds the keyboard focus of the window's thread (an
// edit field inside a combo box counts as the combo box); 0 when the focus
// is elsewhere.
int FocusedPaneControl(HWND mainWindow);

// Key presses through the system's input queue, to the foreground window.
void PressKeys(std::initializer_list<WORD> keys);

// A dialog box (class "#32770") owned by the window, if one is shown.
HWND OwnedDialog(HWND owner);

// A combo box item's text, read from outside its process. Wine hands a list
// item's text to another process in wide characters only, whatever the
// width of either side; it is narrowed to the rules' code page.
std::string ComboItemText(HWND combo, int item);

// The tests of the real program: each starts from a missing settings key and
// ends every copy it caused.
class RealProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A window's text and class, read from outside its process.
std::string TextOf(HWND window);
std::string ClassOf(HWND window);
