// The desktop main window: placement records, restoring a slot's placement,
// the command table, and giving the slot back on Exit and on close.
#include <gtest/gtest.h>

#include "resources/shared/resource_ids.h"
#include "search/search_dialog.h"
#include "shell/desktop/main_window.h"
#include "shell/desktop/modeless_dialogs.h"
#include "shell/desktop/window_slots.h"
#include "tests/win32/message_box_watch.h"
#include "tests/win32/settings_fixture.h"

namespace {

const PlacementNames testNames = MakePlacementNames(TEXT("Dice "), TEXT("4 7"));

class PlacementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        window = CreateWindowEx(0, TEXT("STATIC"), TEXT("Placed"), WS_OVERLAPPEDWINDOW, 40, 50, 300, 200,
                                nullptr, nullptr, GetModuleHandle(nullptr), nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(window);
        DeleteSettingsKey();
    }
    HWND window = nullptr;
};

TEST_F(PlacementTest, NamesAreFormattedWithPlainNumbers)
{
    EXPECT_STREQ(testNames.state, TEXT("Dice Last State 4 7"));
    EXPECT_STREQ(testNames.height, TEXT("Dice Height 4 7"));
    const PlacementNames main = MakePlacementNames(TEXT(""), TEXT("12"));
    EXPECT_STREQ(main.left, TEXT("Left 12"));
    EXPECT_STREQ(main.width, TEXT("Width 12"));
}

TEST_F(PlacementTest, NormalWritesStateAndRectangleMaximizedOnlyTheStateMinimizedNothing)
{
    ShowWindow(window, SW_SHOWNORMAL);
    MoveWindow(window, 40, 50, 300, 200, TRUE);
    SavePlacement(window, testNames);
    EXPECT_EQ(StoredNumber(testNames.state), 1);
    EXPECT_EQ(StoredNumber(testNames.left), 40);
    EXPECT_EQ(StoredNumber(testNames.top), 50);
    EXPECT_EQ(StoredNumber(testNames.width), 300);
    EXPECT_EQ(StoredNumber(testNames.height), 200);

    ShowWindow(window, SW_MAXIMIZE);
    StoreNumber(testNames.left, 41);
    SavePlacement(window, testNames);
    EXPECT_EQ(StoredNumber(testNames.state), 3);
    EXPECT_EQ(StoredNumber(testNames.left), 41);

    ShowWindow(window, SW_MINIMIZE);
    StoreNumber(testNames.state, 9);
    SavePlacement(window, testNames);
    EXPECT_EQ(StoredNumber(testNames.state), 9);
    EXPECT_EQ(CountValues(), 5);
}

TEST_F(PlacementTest, VirtualScreenIsThePrimaryScreenOnThisSystem)
{
    EXPECT_EQ(GetVirtualScreenMetric(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_TRUE(FitsVirtualScreen(0, 0, 10, 10));
    EXPECT_FALSE(FitsVirtualScreen(GetVirtualScreenMetric(SM_CXVIRTUALSCREEN) - 9, 0, 10, 10));
}

// A main window of this process, over the test program's own resources.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override
    {
        delete main;
        DeleteSettingsKey();
    }
    void Open()
    {
        main = new MainWindow();
        main->OpenInstanceMutex();
        main->CreateAndShow(GetModuleHandle(nullptr));
    }
    // Runs the loop until the window's destruction posts the quit message.
    int RunUntilQuit()
    {
        return RunMessageLoop(main->window, LoadAccelerators(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDA_MAIN)));
    }
    MainWindow* main = nullptr;
};

TEST_F(MainWindowTest, NothingStoredLeavesPlaceAndSizeToTheSystem)
{
    main = new MainWindow();
    main->slotNumber = 1;
    SettingsKey settings;
    const WindowRectangle place = main->RestoreMainPlacement(settings);
    EXPECT_EQ(place.x, static_cast<int>(CW_USEDEFAULT));
    EXPECT_EQ(place.width, static_cast<int>(CW_USEDEFAULT));
    EXPECT_EQ(main->showCommand, SW_SHOW);
}

TEST_F(MainWindowTest, StoredRectangleIsUsedWhenItFitsAndMaximizedStateAlways)
{
    main = new MainWindow();
    main->slotNumber = 3;
    StoreNumber(TEXT("Left 3"), 20);
    StoreNumber(TEXT("Top 3"), 30);
    StoreNumber(TEXT("Width 3"), 400);
    StoreNumber(TEXT("Height 3"), 350);
    WindowRectangle place = {};
    {
        // The key is left open for the window's creation; the caller closes it.
        SettingsKey settings;
        place = main->RestoreMainPlacement(settings);
        int left = 0;
        EXPECT_TRUE(settings.ReadNumber(TEXT("Left 3"), &left));
    }
    EXPECT_EQ(place.x, 20);
    EXPECT_EQ(place.y, 30);
    EXPECT_EQ(place.width, 400);
    EXPECT_EQ(place.height, 350);

    StoreNumber(TEXT("Width 3"), 9);
    StoreNumber(TEXT("Last State 3"), 3);
    SettingsKey settings;
    place = main->RestoreMainPlacement(settings);
    EXPECT_EQ(place.x, static_cast<int>(CW_USEDEFAULT));
    EXPECT_EQ(place.height, static_cast<int>(CW_USEDEFAULT));
    EXPECT_EQ(main->showCommand, SW_MAXIMIZE);
}

TEST_F(MainWindowTest, CreationSavesThePlacementOfItsSlotAndSizesThePane)
{
    Open();
    ASSERT_NE(main->window, nullptr);
    EXPECT_EQ(main->slotNumber, 1);
    EXPECT_EQ(StoredNumber(TEXT("Last State 1")), 1);
    EXPECT_TRUE(HasValue(TEXT("Width 1")));
    RECT client;
    RECT pane;
    GetClientRect(main->window, &client);
    GetWindowRect(main->pane.GetPaneWindow(), &pane);
    EXPECT_EQ(pane.right - pane.left, client.right);
    EXPECT_EQ(pane.bottom - pane.top, client.bottom);
    EXPECT_EQ(main->pane.owner, main);
    SendMessage(main->window, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunUntilQuit(), 0);
}

TEST_F(MainWindowTest, AboutShowsTheFiveLinesAndOtherNotificationCodesDoNothing)
{
    Open();
    MessageBoxWatch watch;
    main->OnCommand(2, IDM_ABOUT);
    main->OnCommand(2, IDM_EXIT);
    EXPECT_TRUE(watch.Seen().empty());
    main->OnCommand(0, IDM_ABOUT);
    ASSERT_EQ(watch.Seen().size(), 1u);
    const SeenMessageBox& about = watch.Seen()[0];
    EXPECT_EQ(about.caption, TEXT("Vellum Rules 2.6.6"));
    EXPECT_EQ(about.text, TEXT("Vellum Rules\nby Quorvan\n\n<vellum@\n  quorvan.example>"));
    EXPECT_TRUE(about.hasIcon);
    EXPECT_EQ(about.owner, main->window);
    MSG message;
    EXPECT_FALSE(PeekMessage(&message, main->window, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
    SendMessage(main->window, WM_CLOSE, 0, 0);
    RunUntilQuit();
}

TEST_F(MainWindowTest, ExitFromMenuOrAcceleratorCodeAndTheCloseButtonGiveTheSlotBack)
{
    for (const int code : {0, 1}) {
        Open();
        ASSERT_EQ(main->slotNumber, 1);
        main->OnCommand(code, IDM_EXIT);
        EXPECT_EQ(RunUntilQuit(), 0);
        delete main;
        main = nullptr;
    }
    Open();
    SendMessage(main->window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(RunUntilQuit(), 0);
    EXPECT_EQ(AcquireWindowSlot(main->mutex), 1);
    ReleaseWindowSlot(main->mutex);
}

}  // namespace

namespace {

int CountDiceDialogs()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            TCHAR caption[32] = {};
            GetWindowText(window, caption, 32);
            if (lstrcmp(caption, TEXT("Roll Dice")) == 0 && IsWindowVisible(window))
                ++*reinterpret_cast<int*>(found);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// Presses Ctrl+D on the real keyboard and hands the messages to the main
// window's accelerators and the modeless dialogs, as the message loop does.
void PressControlD(HWND mainWindow)
{
    INPUT keys[4] = {};
    const WORD order[4][2] = {{VK_CONTROL, 0}, {'D', 0}, {'D', KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = order[i][0];
        keys[i].ki.dwFlags = order[i][1];
    }
    SendInput(4, keys, sizeof(INPUT));
    const HACCEL accelerators = LoadAccelerators(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDA_MAIN));
    const DWORD until = GetTickCount() + 500;
    while (GetTickCount() < until) {
        MSG message;
        while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateAccelerator(mainWindow, accelerators, &message) || IsModelessDialogMessage(&message))
                continue;
            TranslateMessage(&message);
            DispatchMessage(&message);
        }
        Sleep(10);
    }
}

TEST_F(MainWindowTest, ControlDOpensADiceDialogFromThePaneAndFromTheSearchDialog)
{
    StoreNumber(TEXT("Category"), 0);
    Open();
    SetForegroundWindow(main->window);
    SetFocus(GetDlgItem(main->pane.GetPaneWindow(), IDC_CATEGORY_LIST));
    PressControlD(main->window);
    EXPECT_EQ(CountDiceDialogs(), 1);

    main->OnCommand(0, IDM_FULL_SEARCH);
    ASSERT_NE(main->pane.searchDialog, nullptr);
    SetForegroundWindow(main->pane.searchDialog->window);
    SetFocus(main->pane.searchDialog->Control(IDC_SEARCH_BOX));
    PressControlD(main->window);
    EXPECT_EQ(CountDiceDialogs(), 2);
    SendMessage(main->window, WM_CLOSE, 0, 0);
    RunUntilQuit();
}

}  // namespace
