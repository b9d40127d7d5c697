// The desktop main window: creation with the slot's placement, the window
// procedure, and the commands of the menu and the accelerators.
#include "shell/desktop/main_window.h"

#include <shellapi.h>

#include "dice/dice_engine.h"
#include "resources/shared/resource_ids.h"
#include "shell/about_box.h"
#include "settings/settings_key.h"
#include "shell/desktop/modeless_dialogs.h"
#include "shell/desktop/window_slots.h"

namespace {

MainWindow* processMainWindow = nullptr;

constexpr DWORD mainWindowStyle = 0x100F0000;  // visible, overlapped, sizing, both boxes
constexpr int defaultWidth = 300;
constexpr int defaultHeight = 320;

// Accelerators arrive with notification code 1, menu choices with 0.
constexpr int fromMenu = 0;
constexpr int fromAccelerator = 1;


void RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASS windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIcon(instance, MAKEINTRESOURCE(IDI_PROGRAM));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCE(IDM_MAIN);
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    // A failed registration shows up as a failed creation; nothing to add.
    RegisterClass(&windowClass);
}

}  // namespace

MainWindow::MainWindow()
{
    SeedDiceGenerator(GetTickCount());
    InitMonitorSupport();
    showCommand = SW_SHOW;
    processMainWindow = this;
}

MainWindow::~MainWindow()
{
    processMainWindow = nullptr;
    pane.DestroyPane();
}

void MainWindow::OpenInstanceMutex()
{
    // The first copy creates it; later copies open the existing one without
    // owning it, and their release does nothing.
    mutex = CreateMutex(nullptr, TRUE, INSTANCE_MUTEX_NAME);
    ReleaseMutex(mutex);
}

PlacementNames MainWindow::MainPlacementNames() const
{
    TCHAR number[16];
    wsprintf(number, TEXT("%d"), slotNumber);
    return MakePlacementNames(TEXT(""), number);
}

HWND MainWindow::CreateAndShow(HINSTANCE moduleInstance)
{
    instance = moduleInstance;
    RegisterMainWindowClass(instance);
    slotNumber = AcquireWindowSlot(mutex);
    // The key the placement was read from stays open until the window has
    // been created and shown.
    SettingsKey settings;
    const WindowRectangle place = RestoreMainPlacement(settings);
    CreateWindowEx(0, MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE, mainWindowStyle, place.x, place.y, place.width,
                   place.height, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, showCommand);
    return window;
}

WindowRectangle MainWindow::RestoreMainPlacement(SettingsKey& settings)
{
    WindowRectangle place{static_cast<int>(CW_USEDEFAULT), static_cast<int>(CW_USEDEFAULT), defaultWidth,
                          defaultHeight};
    const PlacementNames names = MainPlacementNames();
    OpenSettings(settings);
    int state = 0;
    if (settings.ReadNumber(names.state, &state) && state == SW_SHOWMAXIMIZED)
        showCommand = SW_MAXIMIZE;
    settings.ReadNumber(names.left, &place.x);
    settings.ReadNumber(names.top, &place.y);
    settings.ReadNumber(names.width, &place.width);
    settings.ReadNumber(names.height, &place.height);
    // A missing position always fails the test: CW_USEDEFAULT lies left of
    // and above any screen.
    if (!FitsVirtualScreen(place.x, place.y, place.width, place.height))
        place = WindowRectangle{static_cast<int>(CW_USEDEFAULT), static_cast<int>(CW_USEDEFAULT),
                                static_cast<int>(CW_USEDEFAULT), static_cast<int>(CW_USEDEFAULT)};
    return place;
}

void MainWindow::OnCreate(HWND mainWindow)
{
    window = mainWindow;
    RECT client;
    GetClientRect(window, &client);
    pane.CreatePane(instance, window, this);
    MoveWindow(pane.GetPaneWindow(), 0, 0, client.right, client.bottom, TRUE);
    ShowWindow(pane.GetPaneWindow(), SW_SHOW);
}

void MainWindow::SizePaneAndSavePlacement()
{
    RECT client;
    GetClientRect(window, &client);
    SetWindowPos(pane.GetPaneWindow(), HWND_TOP, 0, 0, client.right, client.bottom, 0);
    SavePlacement(window, MainPlacementNames());
}

void MainWindow::OnClose()
{
    ReleaseWindowSlot(mutex);
    DestroyWindow(window);
}

void MainWindow::OnCommand(int code, int id)
{
    if (code == fromAccelerator) {
        switch (id) {
        case IDK_NEW_WINDOW:
            NewWindow();
            break;
        case IDK_FULL_SEARCH:
            pane.OpenSearch();
            break;
        case IDK_ROLL_DICE:
            pane.OpenDice();
            break;
        }
    }
    if (code != fromMenu && code != fromAccelerator)
        return;
    switch (id) {
    case IDM_EXIT:
        PostMessage(window, WM_CLOSE, 0, 0);
        break;
    case IDM_ABOUT:
        ShowAbout();
        break;
    case IDM_OPTIONS:
        pane.OpenOptions();
        break;
    case IDM_NEW_WINDOW:
        NewWindow();
        break;
    case IDM_FULL_SEARCH:
        pane.OpenSearch();
        break;
    case IDM_ROLL_DICE:
        pane.OpenDice();
        break;
    }
}

void MainWindow::NewWindow()
{
    TCHAR path[MAX_PATH] = {};
    GetModuleFileName(nullptr, path, MAX_PATH);
    ShellExecute(window, TEXT("open"), path, nullptr, nullptr, SW_SHOWNORMAL);
}

void MainWindow::ShowAbout() { ShowAboutBox(window); }

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
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
    case WM_MOVE:
    case WM_SIZE:
        main->SizePaneAndSavePlacement();
        return 0;
    case WM_SETFOCUS:
        // Clicking the frame puts the keyboard into the pane.
        SetFocus(main->pane.GetPaneWindow());
        break;
    case WM_CLOSE:
        main->OnClose();
        return 0;
    case WM_COMMAND:
        main->OnCommand(HIWORD(wParam), LOWORD(wParam));
        return 0;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

int RunMessageLoop(HWND mainWindow, HACCEL accelerators)
{
    MSG message = {};
    while (GetMessage(&message, nullptr, 0, 0) > 0) {
        if (TranslateAccelerator(mainWindow, accelerators, &message))
            continue;
        if (TranslateHistoryInput(mainWindow, message))
            continue;
        if (IsModelessDialogMessage(&message))
            continue;
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
    return static_cast<int>(message.wParam);
}
