// Entry point of the handheld program: one copy at a time. A second copy
// brings the running one to the front and ends.
#include <windows.h>

#include "pane/reading_view.h"
#include "shell/handheld/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    auto* main = new MainWindow();
    if (main->IsAnotherCopyRunning()) {
        BringRunningCopyToFront();
        delete main;
        return 0;
    }
    LoadRichEditLibrary();
    main->Create(instance);
    const int exitCode = RunHandheldMessageLoop();
    delete main;
    return exitCode;
}
