// The handheld shell over the emulated shell library: the menu bar built
// from its template, the main window and its pane, and the single copy.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "data/rules_image.h"
#include "resources/shared/resource_ids.h"
#include "shell/handheld/main_window.h"
#include "tests/win32/settings_fixture.h"

namespace {

std::vector<std::pair<int, int>> receivedCommands;

LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        receivedCommands.emplace_back(HIWORD(wParam), LOWORD(wParam));
    return DefWindowProc(window, message, wParam, lParam);
}

HWND CreateRecordingWindow()
{
    WNDCLASS windowClass = {};
    windowClass.lpfnWndProc = RecordCommands;
    windowClass.hInstance = GetModuleHandle(nullptr);
    windowClass.lpszClassName = L"RecordingParent";
    RegisterClass(&windowClass);
    return CreateWindowEx(0, L"RecordingParent", L"Parent", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                          GetModuleHandle(nullptr), nullptr);
}

HWND ToolbarOf(HWND bar) { return FindWindowEx(bar, nullptr, TOOLBARCLASSNAME, nullptr); }

std::wstring ButtonText(HWND toolbar, int command)
{
    wchar_t text[64] = {};
    SendMessage(toolbar, TB_GETBUTTONTEXT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(text));
    return text;
}

TEST(HandheldMenuBar, ShowsThreeDropDownsThenTheDieAndTheMagnifierAndPassesCommandsOn)
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);
    HWND parent = CreateRecordingWindow();
    SHMENUBARINFO info = {};
    info.cbSize = sizeof info;
    info.hwndParent = parent;
    info.nToolBarId = IDR_MAIN_MENU_BAR;
    info.hInstRes = GetModuleHandle(nullptr);
    info.nBmpId = IDB_MENU_BAR;
    info.cBmpImages = 1;
    ASSERT_TRUE(SHCreateMenuBar(&info));
    ASSERT_NE(info.hwndMB, nullptr);
    HWND toolbar = ToolbarOf(info.hwndMB);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_EQ(SendMessage(toolbar, TB_BUTTONCOUNT, 0, 0), 5);

    const int commands[] = {105, 129, 110, IDM_ROLL_DICE, IDM_FULL_SEARCH};
    const int images[] = {I_IMAGENONE, I_IMAGENONE, I_IMAGENONE, 1, 2};
    for (int b = 0; b < 5; ++b) {
        TBBUTTON button = {};
        SendMessage(toolbar, TB_GETBUTTON, static_cast<WPARAM>(b), reinterpret_cast<LPARAM>(&button));
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
    SendMessage(info.hwndMB, WM_COMMAND, MAKEWPARAM(IDM_FULL_SEARCH, BN_CLICKED), reinterpret_cast<LPARAM>(toolbar));
    ASSERT_EQ(receivedCommands.size(), 1u);
    EXPECT_EQ(receivedCommands[0], std::make_pair(0, IDM_FULL_SEARCH));
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(info.hwndMB));
}

TEST(HandheldResources, HaveNoNewWindowCommandAndNoAccelerators)
{
    HMENU menu = LoadMenu(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDM_MAIN));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuState(menu, IDM_NEW_WINDOW, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, IDM_OPTIONS, MF_BYCOMMAND), static_cast<UINT>(-1));
    DestroyMenu(menu);
    EXPECT_EQ(FindResource(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDA_MAIN), RT_ACCELERATOR), nullptr);
}

class HandheldWindowTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override
    {
        delete main;
        DeleteSettingsKey();
    }
    RECT ScreenRect(HWND window) const
    {
        RECT bounds;
        GetWindowRect(window, &bounds);
        return bounds;
    }
    RECT ClientOnScreen(HWND window) const
    {
        RECT client;
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        return client;
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
    ASSERT_TRUE(CreateProcess(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &first));
    HWND window = nullptr;
    for (int i = 0; i < 300 && window == nullptr; ++i) {
        Sleep(50);
        window = FindWindow(L"VellumRulesClass", L"Vellum Rules");
    }
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(CreateProcess(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &second));
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

}  // namespace
