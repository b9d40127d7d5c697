// A dice dialog opened from a main window's pane keeps its placement under
// the main window's slot number.
#include <gtest/gtest.h>

#include "dice/dice_dialog.h"
#include "shell/desktop/main_window.h"
#include "tests/win32/settings_fixture.h"

namespace {

void Pump()
{
    MSG message;
    while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
}

BOOL CALLBACK FindDiceWindow(HWND window, LPARAM found)
{
    TCHAR text[32] = {};
    GetWindowText(window, text, 32);
    if (lstrcmp(text, TEXT("Roll Dice")) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

TEST(DiceSlotTest, PlacementValuesCarryTheDiceNumberAndTheMainWindowsSlotNumber)
{
    DeleteSettingsKey();
    auto* main = new MainWindow();
    main->OpenInstanceMutex();
    ASSERT_NE(main->CreateAndShow(GetModuleHandle(nullptr)), nullptr);
    main->slotNumber = 5;
    main->pane.OpenDice();
    HWND dice = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDiceWindow, reinterpret_cast<LPARAM>(&dice));
    ASSERT_NE(dice, nullptr);
    RECT place = {};
    GetWindowRect(dice, &place);
    EXPECT_EQ(StoredNumber(TEXT("Dice Last State 1 5")), 1);
    EXPECT_EQ(StoredNumber(TEXT("Dice Left 1 5")), place.left);
    EXPECT_EQ(StoredNumber(TEXT("Dice Height 1 5")), place.bottom - place.top);
    EXPECT_FALSE(HasValue(TEXT("Dice Left 1 1")));

    SendMessage(dice, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(dice));
    SendMessage(main->window, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(main->window, nullptr), 0);
    delete main;
    DeleteSettingsKey();
}

} // namespace
