// The baseline of the start-up benchmark: the least a Win32 program does to
// show a window (a class, one overlapped window at the rectangle given on the
// command line, a message loop) and nothing more. Built a second time like
// the program (BUILT_LIKE_THE_PROGRAM): its manifest and resources, the
// rules resource among them, and the same DLLs imported, each touched once.
#include <windows.h>

#ifdef BUILT_LIKE_THE_PROGRAM
#include <commctrl.h>
#include <shellapi.h>
#endif

#include <cstdio>

namespace {

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    std::sscanf(commandLine, "%d %d %d %d", &x, &y, &width, &height);
#ifdef BUILT_LIKE_THE_PROGRAM
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key) == ERROR_SUCCESS)
        RegCloseKey(key);
    DragAcceptFiles(nullptr, FALSE);
    GetStockObject(DEFAULT_GUI_FONT);
#endif
    WNDCLASS windowClass = {};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "BareWindowClass";
    RegisterClass(&windowClass);
    CreateWindowEx(0, "BareWindowClass", "Bare window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y,
                   width, height, nullptr, nullptr, instance, nullptr);
    MSG message;
    while (GetMessage(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
    return static_cast<int>(message.wParam);
}
