// The handheld shell over the emulated shell library: the menu bar built
// from its template, the navigation bar and the soft keyboard of the
// emulated screen, the main window and its pane, and the single copy.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "data/rules_image.h"
#include "resources/shared/resource_ids.h"
#include "search/search_dialog.h"
#include "shell/handheld/main_window.h"
#include "tests/win32/message_pump.h"
#include "tests/win32/settings_fixture.h"

namespace {

std::vector<std::pair<int, int>> receivedCommands;

// A window of the program: it records its commands and, as the program's
// windows do, lets the shell fit it above its menu bar when activated.
LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static SHACTIVATEINFO activation = {sizeof(SHACTIVATEINFO), nullptr, 0, 0, 0, 0};
    if (message == WM_COMMAND)
        receivedCommands.emplace_back(HIWORD(wParam), LOWORD(wParam));
    if (message == WM_ACTIVATE)
        SHHandleWMActivate(window, wParam, lParam, &activation, 0);
    return DefWindowProc(window, message, wParam, lParam);
}

HWND CreateRecordingWindow()
{
    WNDCLASS windowClass = {};
    windowClass.lpfnWndProc = RecordCommands;
    windowClass.hInstance = GetModuleHandle(nullptr);
    windowClass.lpszClassName = L"RecordingParent";
    RegisterClass(&windowClass);
    return CreateWindowEx(0, L"RecordingParent", L"Parent", WS_OVERLAPPED, 0, 0, 240, 320, nullptr,
                          nullptr, GetModuleHandle(nullptr), nullptr);
}

HWND ToolbarOf(HWND bar)
{
    return FindWindowEx(bar, nullptr, TOOLBARCLASSNAME, nullptr);
}

std::wstring ButtonText(HWND toolbar, int command)
{
    wchar_t text[64] = {};
    SendMessage(toolbar, TB_GETBUTTONTEXT, static_cast<WPARAM>(command),
                reinterpret_cast<LPARAM>(text));
    return text;
}

RECT ScreenRect(HWND window)
{
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    return bounds;
}

RECT ClientOnScreen(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

POINT Centre(RECT place)
{
    return POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

bool Overlap(RECT one, RECT other)
{
    RECT common;
    return IntersectRect(&common, &one, &other) != FALSE;
}

// A real tap: the mouse goes down and up at a point of the screen, and
// a key that follows is pressed, through the system's input queue.
void Tap(POINT point, WORD keyAfter = 0)
{
    SetCursorPos(point.x, point.y);
    std::vector<INPUT> inputs(2);
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    for (const DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
        INPUT press = {};
        press.type = INPUT_KEYBOARD;
        press.ki.wVk = keyAfter;
        press.ki.dwFlags = flags;
        if (keyAfter != 0)
            inputs.push_back(press);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    PumpProgramMessages();
}

std::wstring TextOf(HWND window)
{
    wchar_t text[128] = {};
    GetWindowText(window, text, 128);
    return text;
}

HWND DoneButton()
{
    return FindWindowEx(EmulatedNavigationBar(), nullptr, L"Static", L"ok");
}

HWND NavigationTitle()
{
    HWND title = FindWindowEx(EmulatedNavigationBar(), nullptr, L"Static", nullptr);
    return title != DoneButton() ? title
                                 : FindWindowEx(EmulatedNavigationBar(), title, L"Static", nullptr);
}

SHMENUBARINFO MainMenuBarFor(HWND parent)
{
    SHMENUBARINFO info = {};
    info.cbSize = sizeof info;
    info.hwndParent = parent;
    info.nToolBarId = IDR_MAIN_MENU_BAR;
    info.hInstRes = GetModuleHandle(nullptr);
    info.nBmpId = IDB_MENU_BAR;
    info.cBmpImages = 1;
    return info;
}

TEST(HandheldMenuBar, ShowsThreeDropDownsThenTheDieAndTheMagnifierAndPassesCommandsOn)
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);
    HWND parent = CreateRecordingWindow();
    SHMENUBARINFO info = MainMenuBarFor(parent);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    ASSERT_NE(info.hwndMB, nullptr);
    HWND toolbar = ToolbarOf(info.hwndMB);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_EQ(SendMessage(toolbar, TB_BUTTONCOUNT, 0, 0), 5);

    const int commands[] = {105, 129, 110, IDM_ROLL_DICE, IDM_FULL_SEARCH};
    const int images[] = {I_IMAGENONE, I_IMAGENONE, I_IMAGENONE, 1, 2};
    for (int b = 0; b < 5; ++b) {
        TBBUTTON button = {};
        SendMessage(toolbar, TB_GETBUTTON, static_cast<WPARAM>(b),
                    reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(button.idCommand, commands[b]);
        EXPECT_EQ(button.iBitmap, images[b]);
        EXPECT_EQ((button.fsStyle & BTNS_DROPDOWN) != 0, b < 3);
        EXPECT_TRUE(button.fsState & TBSTATE_ENABLED);
    }
    EXPECT_EQ(ButtonText(toolbar, 105), L"File");
    EXPECT_EQ(ButtonText(toolbar, 129), L"Other");
    EXPECT_EQ(ButtonText(toolbar, 110), L"Help");

    NMTTDISPINFO tip = {};
    tip.hdr.hwndFrom = toolbar;
    tip.hdr.idFrom = IDM_ROLL_DICE;
    tip.hdr.code = TTN_GETDISPINFO;
    SendMessage(info.hwndMB, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ(tip.szText, L"Roll dice...");

    // A tapped picture button reaches the bar's parent as a menu command.
    receivedCommands.clear();
    SendMessage(info.hwndMB, WM_COMMAND, MAKEWPARAM(IDM_FULL_SEARCH, BN_CLICKED),
                reinterpret_cast<LPARAM>(toolbar));
    ASSERT_EQ(receivedCommands.size(), 1u);
    EXPECT_EQ(receivedCommands[0], std::make_pair(0, IDM_FULL_SEARCH));
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(info.hwndMB));
}

// A tap on the bar leaves the activation and the focus where they were (a
// lost focus would lower the keyboard and lose the next typed character).
TEST(HandheldMenuBar, TappingItSendsItsCommandAndKeepsTheActivationAndTheFocus)
{
    HWND parent = CreateRecordingWindow();
    HWND field = CreateWindowEx(0, L"Edit", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 100,
                                20, parent, nullptr, GetModuleHandle(nullptr), nullptr);
    SHMENUBARINFO info = MainMenuBarFor(parent);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    HWND toolbar = ToolbarOf(info.hwndMB);
    ShowWindow(parent, SW_SHOW);
    SetForegroundWindow(parent);
    SetFocus(field);
    PumpProgramMessages();
    ASSERT_EQ(GetActiveWindow(), parent);
    ASSERT_EQ(GetFocus(), field);

    struct Case {
        const char* tapped;
        int button;
        WORD keyAfter;
        std::vector<std::pair<int, int>> commands;
    };
    const Case cases[] = {
        {"the magnifier", 4, 0, {{0, IDM_FULL_SEARCH}}},
        {"the die", 3, 0, {{0, IDM_ROLL_DICE}}},
        {"the File drop-down, then Escape", 0, VK_ESCAPE, {}},
    };
    for (const Case& c : cases) {
        RECT button = {};
        SendMessage(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(c.button),
                    reinterpret_cast<LPARAM>(&button));
        MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&button), 2);
        receivedCommands.clear();
        Tap(Centre(button), c.keyAfter);
        EXPECT_EQ(receivedCommands, c.commands) << c.tapped;
        EXPECT_EQ(GetActiveWindow(), parent) << c.tapped;
        EXPECT_EQ(GetForegroundWindow(), parent) << c.tapped;
        EXPECT_EQ(GetFocus(), field) << c.tapped;
    }
    DestroyWindow(parent);
}

TEST(HandheldResources, HaveNoNewWindowCommandAndNoAccelerators)
{
    HMENU menu = LoadMenu(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDM_MAIN));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuState(menu, IDM_NEW_WINDOW, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, IDM_OPTIONS, MF_BYCOMMAND), static_cast<UINT>(-1));
    DestroyMenu(menu);
    EXPECT_EQ(FindResource(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDA_MAIN), RT_ACCELERATOR),
              nullptr);
}

class HandheldWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override
    {
        delete main;
        DeleteSettingsKey();
    }
    MainWindow* main = nullptr;
};

TEST_F(HandheldWindowTest, PaneEndsWhereTheMenuBarBeginsAndFollowsEverySize)
{
    main = new MainWindow();
    ASSERT_NE(main->Create(GetModuleHandle(nullptr)), nullptr);
    ASSERT_NE(main->menuBar, nullptr);
    const RECT pane = ScreenRect(main->pane.GetPaneWindow());
    EXPECT_EQ(pane.bottom, ScreenRect(main->menuBar).top);
    EXPECT_EQ(pane.top, ClientOnScreen(main->window).top);

    MoveWindow(main->window, 10, 20, 230, 200, TRUE);
    const RECT client = ClientOnScreen(main->window);
    const RECT resized = ScreenRect(main->pane.GetPaneWindow());
    EXPECT_EQ(resized.left, client.left);
    EXPECT_EQ(resized.bottom, client.bottom);
    EXPECT_EQ(resized.right, client.right);

    main->OnCommand(0, IDM_EXIT);
    EXPECT_EQ(RunHandheldMessageLoop(), 0);
    // The handheld program keeps no placement and no "StickyFull".
    EXPECT_EQ(CountValues(), 0);
}

TEST_F(HandheldWindowTest, ItemListShowsTheRightQuotationMarkAsItsOwnCharacter)
{
    main = new MainWindow();
    main->Create(GetModuleHandle(nullptr));
    HWND categories = GetDlgItem(main->pane.GetPaneWindow(), IDC_CATEGORY_LIST);
    HWND items = GetDlgItem(main->pane.GetPaneWindow(), IDC_ITEM_LIST);
    int found = 0;
    for (int c = 0; c < GetCategoryCount(); ++c) {
        SendMessage(categories, CB_SETCURSEL, static_cast<WPARAM>(c), 0);
        main->pane.OnCategoryChanged();
        wchar_t text[textBufferLength];
        for (int i = 0; i < SendMessage(items, CB_GETCOUNT, 0, 0); ++i) {
            GetItemText(items, i, text);
            found += wcschr(text, L'\u2019') != nullptr;
        }
    }
    EXPECT_EQ(found, 1);
    DestroyWindow(main->window);
    RunHandheldMessageLoop();
}

// The main window with the search dialog open over it, its search box
// holding the focus.
class HandheldSearchTest : public HandheldWindowTest {
  protected:
    void SetUp() override
    {
        HandheldWindowTest::SetUp();
        main = new MainWindow();
        ASSERT_NE(main->Create(GetModuleHandle(nullptr)), nullptr);
        SetForegroundWindow(main->window);
        SendDlgItemMessage(main->pane.GetPaneWindow(), IDC_CATEGORY_LIST, CB_SETCURSEL, 0, 0);
        main->pane.OnCategoryChanged();
        main->OnCommand(0, IDM_FULL_SEARCH);
        PumpProgramMessages();
        ASSERT_NE(main->pane.searchDialog, nullptr);
        search = main->pane.searchDialog->window;
        ASSERT_EQ(GetFocus(), GetDlgItem(search, IDC_SEARCH_BOX));
    }
    void TearDown() override
    {
        DestroyWindow(main->window);
        RunHandheldMessageLoop();
        HandheldWindowTest::TearDown();
    }
    HWND search = nullptr;
};

TEST_F(HandheldSearchTest, NavigationBarShowsTheActiveWindowsTitleAndDoneOnlyForAFullScreenDialog)
{
    struct Case {
        HWND window;
        const wchar_t* title;
        bool done;
    };
    const Case cases[] = {
        {search, L"Full-body search", true},
        {main->window, L"Vellum Rules", false},
        {search, L"Full-body search", true},
    };
    for (const Case& c : cases) {
        SetActiveWindow(c.window);
        PumpProgramMessages();
        EXPECT_EQ(TextOf(NavigationTitle()), c.title);
        EXPECT_EQ(IsWindowVisible(DoneButton()) != FALSE, c.done) << TextOf(c.window);
    }
}

// Done lies beside the title, not over the dialog: a tap on the visible Find
// searches, a tap on Done sends command 1, which hides the dialog.
TEST_F(HandheldSearchTest, DoneLiesInTheNavigationBarOutsideTheDialogAndSendsCommandOne)
{
    SetDlgItemText(search, IDC_SEARCH_BOX, L"fire");
    const RECT done = ScreenRect(DoneButton());
    EXPECT_FALSE(Overlap(done, ClientOnScreen(search)));
    struct Case {
        const char* tapped;
        POINT point;
        bool shown;
    };
    const Case cases[] = {
        {"Find", Centre(ScreenRect(GetDlgItem(search, IDC_SEARCH_FIND))), true},
        {"Done", Centre(done), false},
    };
    for (const Case& c : cases) {
        Tap(c.point);
        EXPECT_EQ(IsWindowVisible(search) != FALSE, c.shown) << c.tapped;
    }
}

// The keyboard rises 80 pixels above the menu bar; the windows end where it
// begins, or at the menu bar while it is down.
TEST_F(HandheldSearchTest, KeyboardRisesAboveTheMenuBarAndWindowsEndWhereItBegins)
{
    const int menuBarTop = ScreenRect(main->pane.searchDialog->menuBar).top;
    EXPECT_EQ(ScreenRect(main->menuBar).top, menuBarTop);
    struct Case {
        int focused;
        bool up;
        int bottom;
    };
    const Case cases[] = {
        {IDC_SEARCH_BOX, true, menuBarTop - 80},
        {IDC_SEARCH_RESULTS, false, menuBarTop},
        {IDC_SEARCH_BOX, true, menuBarTop - 80},
    };
    for (const Case& c : cases) {
        SetFocus(GetDlgItem(search, c.focused));
        PumpProgramMessages();
        EXPECT_EQ(IsEmulatedKeyboardUp(), c.up) << c.focused;
        EXPECT_EQ(ClientOnScreen(search).bottom, c.bottom) << c.focused;
        EXPECT_EQ(ClientOnScreen(main->window).bottom, c.bottom) << c.focused;
        ASSERT_NE(EmulatedKeyboard(), nullptr);
        EXPECT_EQ(IsWindowVisible(EmulatedKeyboard()) != FALSE, c.up) << c.focused;
        const RECT keyboard = ScreenRect(EmulatedKeyboard());
        EXPECT_EQ(keyboard.top, menuBarTop - 80);
        EXPECT_EQ(keyboard.bottom, menuBarTop);
    }
}

TEST_F(HandheldSearchTest, TappingAKeyTypesIntoTheFocusedFieldAndKeepsTheFocus)
{
    HWND box = GetDlgItem(search, IDC_SEARCH_BOX);
    ASSERT_TRUE(IsEmulatedKeyboardUp());
    const RECT keyboard = ScreenRect(EmulatedKeyboard());
    // The top-left key types "1".
    Tap(POINT{keyboard.left + 4, keyboard.top + 4});
    EXPECT_EQ(TextOf(box), L"1");
    EXPECT_EQ(GetFocus(), box);
    EXPECT_TRUE(IsEmulatedKeyboardUp());
}

// The real program, started twice.
TEST(HandheldProgram, SecondCopyBringsTheFirstToTheFrontAndEndsWithZero)
{
    DeleteSettingsKey();
    wchar_t path[MAX_PATH];
    MultiByteToWideChar(CP_UTF8, 0, "Z:" VELLUM_HANDHELD_PROGRAM, -1, path, MAX_PATH);
    STARTUPINFO startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION first = {};
    PROCESS_INFORMATION second = {};
    ASSERT_TRUE(CreateProcess(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &first));
    HWND window = nullptr;
    for (int i = 0; i < 300 && window == nullptr; ++i) {
        Sleep(50);
        window = FindWindow(L"VellumRulesClass", L"Vellum Rules");
    }
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(CreateProcess(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &second));
    EXPECT_EQ(WaitForSingleObject(second.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(second.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(FindWindowEx(nullptr, window, L"VellumRulesClass", nullptr), nullptr);
    EXPECT_EQ(GetForegroundWindow(), window);

    PostMessage(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(first.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(first.hProcess, 1);
    for (HANDLE handle : {first.hProcess, first.hThread, second.hProcess, second.hThread})
        CloseHandle(handle);
    DeleteSettingsKey();
}

} // namespace
