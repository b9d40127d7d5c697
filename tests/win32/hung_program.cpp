// A Windows program that never ends on its own: it waits on a message box
// that nobody closes. The test runner must kill it and report a failure.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    MessageBoxA(nullptr, "Nobody closes this box.", "Hung program", MB_OK);
    return 0;
}
