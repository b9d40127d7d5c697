// Drives a modal dialog from inside its own message loop, as a user would:
// a thread timer finds the dialog by its caption and runs the test's steps,
// one step a tick, so that what one step posts is handled before the next.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

using DialogStep = std::function<void(HWND dialog)>;

class ModalDialogDriver {
  public:
    // Watches this thread for a visible dialog with the caption. Construct
    // it just before the call that runs the dialog.
    ModalDialogDriver(const TCHAR* caption, std::vector<DialogStep> steps);
    ~ModalDialogDriver();
    ModalDialogDriver(const ModalDialogDriver&) = delete;
    ModalDialogDriver& operator=(const ModalDialogDriver&) = delete;

    int StepsRun() const { return stepsRun; }
    // The dialog was still open a tick after the last step, and the driver
    // ended it (with result 0) so that the test can go on.
    bool LeftOpen() const { return leftOpen; }

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);
    void Arm();
    void Tick();
    HWND FindDialog() const;

    const TCHAR* caption;
    std::vector<DialogStep> steps;
    UINT_PTR timer = 0;
    int stepsRun = 0;
    int misses = 0;
    bool leftOpen = false;
};
