// The handheld main window and its commands.
#include "shell/handheld/main_window.h"

#include "dice/dice_engine.h"
#include "resources/shared/resource_ids.h"
#include "shell/about_box.h"
#include "shell/desktop/modeless_dialogs.h"
#include "shell/platform.h"

namespace {

MainWindow* processMainWindow = nullptr;

const TCHAR windowClassName[] = TEXT("VellumRulesClass");
const TCHAR windowTitle[] = TEXT("Vellum Rules");

void RegisterHandheldClass(HINSTANCE instance)
{
    WNDCLASS windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = HandheldWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIcon(instance, MAKEINTRESOURCE(IDI_PROGRAM));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = windowClassName;
    RegisterClass(&windowClass);
}

HWND CreateMainMenuBar(HWND window, HINSTANCE instance)
{
    SHMENUBARINFO info = {};
    info.cbSize = sizeof info;
    info.hwndParent = window;
    info.nToolBarId = IDR_MAIN_MENU_BAR;
    info.hInstRes = instance;
    info.nBmpId = IDB_MENU_BAR;
    info.cBmpImages = 1;
    SHCreateMenuBar(&info);
    return info.hwndMB;
}

int WindowHeight(HWND window)
{
    RECT bounds = {};
    if (window != nullptr)
        GetWindowRect(window, &bounds);
    return bounds.bottom - bounds.top;
}

}  // namespace

MainWindow::MainWindow()
{
    SeedDiceGenerator(GetTickCount());
    activation.cbSize = sizeof activation;
    processMainWindow = this;
}

MainWindow::~MainWindow()
{
    processMainWindow = nullptr;
    pane.DestroyPane();
}

bool MainWindow::IsAnotherCopyRunning()
{
    mutex = CreateMutex(nullptr, TRUE, INSTANCE_MUTEX_NAME);
    const bool running = GetLastError() == ERROR_ALREADY_EXISTS;
    ReleaseMutex(mutex);
    return running;
}

HWND MainWindow::Create(HINSTANCE moduleInstance)
{
    instance = moduleInstance;
    RegisterHandheldClass(instance);
    CreateWindowEx(0, windowClassName, windowTitle, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                   CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    return window;
}

void MainWindow::OnCreate(HWND mainWindow)
{
    window = mainWindow;
    menuBar = CreateMainMenuBar(window, instance);
    // The empty window and its menu bar show before the rules data loads.
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    const int barHeight = WindowHeight(menuBar);
    RECT client;
    GetClientRect(window, &client);
    pane.CreatePane(instance, window, this);
    MoveWindow(pane.GetPaneWindow(), client.left, client.top, client.right - client.left,
               client.bottom - client.top - barHeight, TRUE);
    ShowWindow(pane.GetPaneWindow(), SW_SHOW);
}

void MainWindow::SizePane()
{
    RECT client;
    GetClientRect(window, &client);
    SetWindowPos(pane.GetPaneWindow(), HWND_TOP, 0, 0, client.right, client.bottom, 0);
}

void MainWindow::OnCommand(int code, int id)
{
    if (code != 0)
        return;
    switch (id) {
    case IDM_EXIT:
        PostMessage(window, WM_CLOSE, 0, 0);
        break;
    case IDM_ABOUT:
        ShowAboutBox(window);
        break;
    case IDM_OPTIONS:
        pane.OpenOptions();
        break;
    case IDM_FULL_SEARCH:
        pane.OpenSearch();
        break;
    case IDM_ROLL_DICE:
        pane.OpenDice();
        break;
    }
}

LRESULT CALLBACK HandheldWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MainWindow* main = processMainWindow;
    if (main == nullptr)
        return DefWindowProc(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        main->OnCreate(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        main->SizePane();
        return 0;
    case WM_ACTIVATE:
        SHHandleWMActivate(window, wParam, lParam, &main->activation, 0);
        break;
    case WM_SETTINGCHANGE:
        SHHandleWMSettingChange(window, wParam, lParam, &main->activation);
        break;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_COMMAND:
        main->OnCommand(HIWORD(wParam), LOWORD(wParam));
        return 0;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

int RunHandheldMessageLoop()
{
    MSG message = {};
    while (GetMessage(&message, nullptr, 0, 0) > 0) {
        if (processMainWindow != nullptr && TranslateHistoryInput(processMainWindow->window, message))
            continue;
        if (IsModelessDialogMessage(&message))
            continue;
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
    return static_cast<int>(message.wParam);
}

bool BringRunningCopyToFront()
{
    HWND running = FindWindow(windowClassName, windowTitle);
    if (running == nullptr)
        return false;
    SetForegroundWindow(running);
    return true;
}
