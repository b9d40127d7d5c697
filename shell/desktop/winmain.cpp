// Entry point of the desktop program: one main window per process, any
// number of processes, coordinated through the shared window-slot table.
#include <windows.h>

#include "resources/shared/resource_ids.h"
#include "pane/reading_view.h"
#include "shell/desktop/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    LoadRichEditLibrary();
    auto* main = new MainWindow();
    main->OpenInstanceMutex();
    const HWND window = main->CreateAndShow(instance);
    const HACCEL accelerators = LoadAccelerators(instance, MAKEINTRESOURCE(IDA_MAIN));
    const int exitCode = RunMessageLoop(window, accelerators);
    delete main;
    return exitCode;
}
