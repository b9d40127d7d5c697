// The "Roll Dice" dialog over a real pane: what a new dialog shows, what Roll
// and the quick buttons put into the list, the layout, and on the desktop the
// dice numbers, the saved placement and the ways a dialog closes. The desktop
// dialog is modeless and driven directly; the handheld one is modal and
// driven from inside its loop. Rolls start from the generator seeded with
// 4357, whose first real is 0.8173300600185361.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <iterator>

#include "dice/dice_dialog.h"
#include "dice/dice_engine.h"
#include "resources/shared/resource_ids.h"
#include "settings/settings_key.h"
#include "shell/desktop/modeless_dialogs.h"
#include "shell/platform.h"
#include "tests/win32/dialog_fit.h"
#include "tests/win32/modal_dialog_driver.h"
#include "tests/win32/pane_fixture.h"

namespace {

constexpr std::uint32_t knownSeed = 4357;
const TCHAR diceCaption[] = TEXT("Roll Dice");

const int quickButtons[] = {IDC_QUICK_D2,  IDC_QUICK_D3,  IDC_QUICK_D4,
                            IDC_QUICK_D6,  IDC_QUICK_D8,  IDC_QUICK_D10,
                            IDC_QUICK_D12, IDC_QUICK_D20, IDC_QUICK_D100};

struct Fields {
    const TCHAR* count;
    const TCHAR* die;
    const TCHAR* modifier;
    const TCHAR* repeats;
};

BOOL CALLBACK CollectDiceWindow(HWND window, LPARAM windows)
{
    TCHAR type[16] = {};
    TCHAR text[32] = {};
    GetClassName(window, type, 16);
    GetWindowText(window, text, 32);
    if (lstrcmp(type, TEXT("#32770")) == 0 && lstrcmp(text, diceCaption) == 0)
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::vector<HWND> DiceWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectDiceWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void Pump()
{
    MSG message;
    while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
}

const DiceDialog* DiceObject(HWND dialog)
{
    return reinterpret_cast<const DiceDialog*>(GetWindowLongPtr(dialog, GWLP_USERDATA));
}

TextString Text(HWND dialog, int id)
{
    TCHAR text[textBufferLength] = {};
    GetDlgItemText(dialog, id, text, textBufferLength);
    return text;
}

std::vector<TextString> FieldTexts(HWND dialog)
{
    return {Text(dialog, IDC_DICE_COUNT), Text(dialog, IDC_DIE_LIST),
            Text(dialog, IDC_DICE_MODIFIER), Text(dialog, IDC_DICE_REPEATS)};
}

std::vector<TextString> Lines(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_DICE_RESULTS);
    std::vector<TextString> lines;
    const int count = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
    TCHAR line[textBufferLength];
    for (int i = 0; i < count; ++i) {
        line[0] = 0;
        SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
        lines.push_back(line);
    }
    return lines;
}

int SelectedLine(HWND dialog)
{
    return static_cast<int>(SendDlgItemMessage(dialog, IDC_DICE_RESULTS, LB_GETCURSEL, 0, 0));
}

// Texts set as a paste would: the fields' digit filter applies to typing only.
void SetFields(HWND dialog, const Fields& fields)
{
    SetDlgItemText(dialog, IDC_DICE_COUNT, fields.count);
    SendDlgItemMessage(dialog, IDC_DIE_LIST, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(fields.die));
    SetDlgItemText(dialog, IDC_DICE_MODIFIER, fields.modifier);
    SetDlgItemText(dialog, IDC_DICE_REPEATS, fields.repeats);
}

void Press(HWND dialog, int button)
{
    SendDlgItemMessage(dialog, button, BM_CLICK, 0, 0);
}

void SendCommand(HWND dialog, int id)
{
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// A key as the message loop offers it: to the modeless dialogs first.
bool OfferKey(HWND target, WPARAM key)
{
    MSG press = {target, WM_KEYDOWN, key, 0, 0, {0, 0}};
    return IsModelessDialogMessage(&press);
}

bool IsInModelessList(HWND dialog)
{
    for (const ModelessDialogNode* node = FirstModelessDialog(); node != nullptr;
         node = node->next) {
        if (node->dialog == dialog)
            return true;
    }
    return false;
}

RECT PlaceInDialog(HWND dialog, int id)
{
    RECT place = {};
    GetWindowRect(GetDlgItem(dialog, id), &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

RECT WindowRect(HWND window)
{
    RECT place = {};
    GetWindowRect(window, &place);
    return place;
}

// Resizes the window so that its client area has the given size.
void SizeClient(HWND window, int width, int height)
{
    RECT frame = WindowRect(window);
    RECT client = {};
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0, width + (frame.right - frame.left) - client.right,
                 height + (frame.bottom - frame.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
}

// The system keeps a window with a caption wider than a client area of 100
// pixels; the layout tests lift that floor to reach the narrow widths.
WNDPROC unsubclassedDialogProc = nullptr;

LRESULT CALLBACK AllowAnyWidth(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallWindowProc(unsubclassedDialogProc, window, message, wParam, lParam);
    if (message == WM_GETMINMAXINFO)
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{1, 1};
    return result;
}

void AllowNarrowWindow(HWND window)
{
    unsubclassedDialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AllowAnyWidth)));
}

void RestoreWidthFloor(HWND window)
{
    SetWindowLongPtr(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(unsubclassedDialogProc));
}

// "Dice Left 1 1" and its siblings.
TextString DiceValue(const TCHAR* word, int diceNumber, int slot = 1)
{
    TCHAR name[64];
    wsprintf(name, TEXT("Dice %s %d %d"), word, diceNumber, slot);
    return name;
}

void StoreDicePlacement(int diceNumber, int left, int top, int width, int height)
{
    StoreNumber(DiceValue(TEXT("Last State"), diceNumber).c_str(), 1);
    StoreNumber(DiceValue(TEXT("Left"), diceNumber).c_str(), left);
    StoreNumber(DiceValue(TEXT("Top"), diceNumber).c_str(), top);
    StoreNumber(DiceValue(TEXT("Width"), diceNumber).c_str(), width);
    StoreNumber(DiceValue(TEXT("Height"), diceNumber).c_str(), height);
}

int StoredDiceNumber(const TCHAR* word, int diceNumber)
{
    return StoredNumber(DiceValue(word, diceNumber).c_str());
}

// The handheld template carries the soft-keyboard preference control, whose
// class the handheld shell registers; the test programs have no such shell,
// so an inert class of that name stands in for it.
void RegisterStandInSipPreference()
{
    WNDCLASS sipClass = {};
    sipClass.lpfnWndProc = DefWindowProc;
    sipClass.hInstance = GetModuleHandle(nullptr);
    sipClass.lpszClassName = TEXT("SIPPREF");
    RegisterClass(&sipClass);
}

class DiceDialogTest : public PaneTest {
  protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        if (isHandheld)
            RegisterStandInSipPreference();
        OpenPane();
        SeedDiceGenerator(knownSeed);
    }

    void TearDown() override
    {
        for (HWND dialog : DiceWindows())
            CloseDice(dialog);
        PaneTest::TearDown();
    }

    // Desktop: the dialog the pane's OpenDice made.
    HWND OpenDice()
    {
        const std::vector<HWND> before = DiceWindows();
        pane.OpenDice();
        for (HWND dialog : DiceWindows()) {
            if (std::find(before.begin(), before.end(), dialog) == before.end())
                return dialog;
        }
        return nullptr;
    }

    // Desktop: a close request, and what the pane does with it.
    void CloseDice(HWND dialog)
    {
        SendMessage(dialog, WM_CLOSE, 0, 0);
        Pump();
    }

    // Runs the steps in a new dialog of either program, then closes it.
    void InDiceDialog(const std::vector<DialogStep>& steps)
    {
        if (isHandheld) {
            std::vector<DialogStep> all = steps;
            all.push_back([](HWND dialog) { SendCommand(dialog, IDOK); });
            ModalDialogDriver driver(diceCaption, all);
            pane.OpenDice();
            EXPECT_EQ(driver.StepsRun(), static_cast<int>(all.size()));
            EXPECT_FALSE(driver.LeftOpen());
            return;
        }
        HWND dialog = OpenDice();
        ASSERT_NE(dialog, nullptr);
        for (const DialogStep& step : steps) {
            step(dialog);
            Pump();
        }
        CloseDice(dialog);
    }

    void InDiceDialog(const DialogStep& step) { InDiceDialog(std::vector<DialogStep>{step}); }

    RECT PaneRect() const { return WindowRect(pane.window); }
};

TEST_F(DiceDialogTest, NewDialogHoldsOneD20WithoutModifierOnceAndAnEmptyList)
{
    // The handheld screen is too narrow for a "d" before two or three digits.
    const TCHAR* const quickCaptions[] = {TEXT("d2"),
                                          TEXT("d3"),
                                          TEXT("d4"),
                                          TEXT("d6"),
                                          TEXT("d8"),
                                          isHandheld ? TEXT("10") : TEXT("d10"),
                                          isHandheld ? TEXT("12") : TEXT("d12"),
                                          isHandheld ? TEXT("20") : TEXT("d20"),
                                          isHandheld ? TEXT("100") : TEXT("d100")};
    InDiceDialog([&](HWND dialog) {
        EXPECT_EQ(FieldTexts(dialog),
                  (std::vector<TextString>{TEXT("1"), TEXT("d20"), TEXT("0"), TEXT("1")}));
        EXPECT_EQ(SendDlgItemMessage(dialog, IDC_DIE_LIST, CB_GETCURSEL, 0, 0), 7);
        std::vector<TextString> dice;
        TCHAR name[16];
        for (int i = 0; i < SendDlgItemMessage(dialog, IDC_DIE_LIST, CB_GETCOUNT, 0, 0); ++i) {
            SendDlgItemMessage(dialog, IDC_DIE_LIST, CB_GETLBTEXT, static_cast<WPARAM>(i),
                               reinterpret_cast<LPARAM>(name));
            dice.push_back(name);
        }
        EXPECT_EQ(dice, (std::vector<TextString>{TEXT("d2"), TEXT("d3"), TEXT("d4"), TEXT("d6"),
                                                 TEXT("d8"), TEXT("d10"), TEXT("d12"), TEXT("d20"),
                                                 TEXT("d100")}));
        EXPECT_TRUE(Lines(dialog).empty());
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(Text(dialog, quickButtons[i]), quickCaptions[i]);
        EXPECT_EQ(Text(dialog, IDC_ROLL), TEXT("Roll"));
        EXPECT_EQ(Text(dialog, IDC_DICE_PLUS), TEXT("+"));
        EXPECT_EQ(Text(dialog, IDC_DICE_TIMES), TEXT("x"));
    });
}

TEST_F(DiceDialogTest, FieldsTakeThreeCharactersAndTheirArrowsStepWithinTheirRanges)
{
    struct Case {
        int field;
        int arrows;
        const TCHAR* before;
        WPARAM key;
        const TCHAR* after;
    };
    const Case cases[] = {
        {IDC_DICE_COUNT, IDC_DICE_COUNT_ARROWS, TEXT("1"), VK_UP, TEXT("2")},
        {IDC_DICE_COUNT, IDC_DICE_COUNT_ARROWS, TEXT("1"), VK_DOWN, TEXT("1")},
        {IDC_DICE_COUNT, IDC_DICE_COUNT_ARROWS, TEXT("999"), VK_UP, TEXT("999")},
        {IDC_DICE_MODIFIER, IDC_DICE_MODIFIER_ARROWS, TEXT("0"), VK_DOWN, TEXT("0")},
        {IDC_DICE_MODIFIER, IDC_DICE_MODIFIER_ARROWS, TEXT("0"), VK_UP, TEXT("1")},
        {IDC_DICE_REPEATS, IDC_DICE_REPEATS_ARROWS, TEXT("1"), VK_DOWN, TEXT("1")},
        {IDC_DICE_REPEATS, IDC_DICE_REPEATS_ARROWS, TEXT("998"), VK_UP, TEXT("999")},
    };
    InDiceDialog([&](HWND dialog) {
        for (const Case& c : cases) {
            HWND field = GetDlgItem(dialog, c.field);
            HWND arrows = GetDlgItem(dialog, c.arrows);
            EXPECT_EQ(SendMessage(field, EM_GETLIMITTEXT, 0, 0), 3) << c.field;
            EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(arrows, UDM_GETBUDDY, 0, 0)), field)
                << c.field;
            SetWindowText(field, c.before);
            SendMessage(field, WM_KEYDOWN, c.key, 0);
            SendMessage(field, WM_KEYUP, c.key, 0);
            EXPECT_EQ(Text(dialog, c.field), c.after) << c.field << " " << c.before;
        }
        // Typed digits past the third are refused.
        HWND count = GetDlgItem(dialog, IDC_DICE_COUNT);
        SetWindowText(count, TEXT(""));
        for (const TCHAR digit : TextString(TEXT("12345")))
            SendMessage(count, WM_CHAR, static_cast<WPARAM>(digit), 1);
        EXPECT_EQ(Text(dialog, IDC_DICE_COUNT), TEXT("123"));
    });
}

TEST_F(DiceDialogTest, RollPutsTheLinesOfTheFieldsOnTopNewestFirstAndSelectsTheFirst)
{
    struct Case {
        Fields fields;
        std::vector<TextString> lines; // as the list shows them, top first
    };
    const Case cases[] = {
        {{TEXT("1"), TEXT("d20"), TEXT("0"), TEXT("1")}, {TEXT("d20 = 17")}},
        {{TEXT("3"), TEXT("d6"), TEXT("2"), TEXT("1")}, {TEXT("3d6+2 = 17")}},
        {{TEXT("2"), TEXT("d8"), TEXT("0"), TEXT("3")},
         {TEXT("2d8 = 9"), TEXT("2d8 = 7"), TEXT("2d8 = 15"), TEXT("")}},
        {{TEXT(""), TEXT("d20"), TEXT("0"), TEXT("1")}, {TEXT("0d20 = 0")}},
        {{TEXT("0"), TEXT("d20"), TEXT("5"), TEXT("1")}, {TEXT("0d20+5 = 5")}},
        {{TEXT("abc"), TEXT("d20"), TEXT("0"), TEXT("1")}, {TEXT("0d20 = 0")}},
        {{TEXT("-2"), TEXT("d4"), TEXT("1"), TEXT("1")}, {TEXT("-2d4+1 = 1")}},
        {{TEXT("1"), TEXT("d20"), TEXT("-3"), TEXT("1")}, {TEXT("d20+-3 = 14")}},
        {{TEXT(" 2"), TEXT("d8"), TEXT(""), TEXT("1")}, {TEXT("2d8 = 15")}},
        {{TEXT("1"), TEXT("d100"), TEXT("0"), TEXT("2")},
         {TEXT("d100 = 100"), TEXT("d100 = 82"), TEXT("")}},
        {{TEXT("1"), TEXT("d20"), TEXT("0"), TEXT("")}, {}},
        {{TEXT("1"), TEXT("d20"), TEXT("0"), TEXT("0")}, {}},
        {{TEXT("1"), TEXT("d20"), TEXT("0"), TEXT("-4")}, {}},
    };
    InDiceDialog([&](HWND dialog) {
        for (const Case& c : cases) {
            SendCommand(dialog, IDM_CLEAR_DICE);
            SeedDiceGenerator(knownSeed);
            SetFields(dialog, c.fields);
            Press(dialog, IDC_ROLL);
            EXPECT_EQ(Lines(dialog), c.lines) << c.fields.count << "|" << c.fields.die << "|"
                                              << c.fields.modifier << "|" << c.fields.repeats;
            EXPECT_EQ(SelectedLine(dialog), c.lines.empty() ? LB_ERR : 0);
        }
    });
}

TEST_F(DiceDialogTest, ABatchGoesAboveEarlierResultsWithItsEmptyLineBelowIt)
{
    InDiceDialog([](HWND dialog) {
        Press(dialog, IDC_ROLL);
        SeedDiceGenerator(knownSeed);
        SetFields(dialog, {TEXT("2"), TEXT("d8"), TEXT("0"), TEXT("3")});
        Press(dialog, IDC_ROLL);
        EXPECT_EQ(Lines(dialog),
                  (std::vector<TextString>{TEXT("2d8 = 9"), TEXT("2d8 = 7"), TEXT("2d8 = 15"),
                                           TEXT(""), TEXT("d20 = 17")}));
        EXPECT_EQ(SelectedLine(dialog), 0);
    });
}

TEST_F(DiceDialogTest, EmptiedRepeatsFieldAddsNoLineButSelectsTheFirstAndScrollsToIt)
{
    InDiceDialog([](HWND dialog) {
        SetFields(dialog, {TEXT("1"), TEXT("d6"), TEXT("0"), TEXT("99")});
        Press(dialog, IDC_ROLL);
        const std::vector<TextString> before = Lines(dialog);
        ASSERT_EQ(before.size(), 100u);
        HWND list = GetDlgItem(dialog, IDC_DICE_RESULTS);
        SendMessage(list, LB_SETCURSEL, 99, 0);
        ASSERT_GT(SendMessage(list, LB_GETTOPINDEX, 0, 0), 0);
        SetDlgItemText(dialog, IDC_DICE_REPEATS, TEXT(""));
        Press(dialog, IDC_ROLL);
        EXPECT_EQ(Lines(dialog), before);
        EXPECT_EQ(SelectedLine(dialog), 0);
        EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 0);
    });
}

TEST_F(DiceDialogTest, EachQuickButtonRollsOneDieOfItsSidesAndLeavesTheFieldsAlone)
{
    const TCHAR* const expected[] = {TEXT("d2 = 2"),   TEXT("d3 = 3"),   TEXT("d4 = 4"),
                                     TEXT("d6 = 5"),   TEXT("d8 = 7"),   TEXT("d10 = 9"),
                                     TEXT("d12 = 10"), TEXT("d20 = 17"), TEXT("d100 = 82")};
    InDiceDialog([&](HWND dialog) {
        SetFields(dialog, {TEXT("5"), TEXT("d6"), TEXT("3"), TEXT("2")});
        const std::vector<TextString> fields = FieldTexts(dialog);
        for (int i = 0; i < 9; ++i) {
            SeedDiceGenerator(knownSeed);
            Press(dialog, quickButtons[i]);
            const std::vector<TextString> lines = Lines(dialog);
            ASSERT_EQ(lines.size(), static_cast<std::size_t>(i + 1));
            EXPECT_EQ(lines[0], expected[i]);
            EXPECT_EQ(SelectedLine(dialog), 0);
            EXPECT_EQ(FieldTexts(dialog), fields) << i;
        }
    });
}

TEST_F(DiceDialogTest, ClearPutsTheFieldsBackAndEmptiesTheList)
{
    InDiceDialog([](HWND dialog) {
        SetFields(dialog, {TEXT("4"), TEXT("d12"), TEXT("7"), TEXT("3")});
        Press(dialog, IDC_ROLL);
        ASSERT_EQ(Lines(dialog).size(), 4u);
        SendCommand(dialog, IDM_CLEAR_DICE);
        EXPECT_EQ(FieldTexts(dialog),
                  (std::vector<TextString>{TEXT("1"), TEXT("d20"), TEXT("0"), TEXT("1")}));
        EXPECT_TRUE(Lines(dialog).empty());
    });
}

TEST_F(DiceDialogTest, TabGoesThroughFieldsDieListRollQuickButtonsAndList)
{
    const int order[] = {IDC_DICE_COUNT, IDC_DIE_LIST,   IDC_DICE_MODIFIER, IDC_DICE_REPEATS,
                         IDC_ROLL,       IDC_QUICK_D2,   IDC_QUICK_D3,      IDC_QUICK_D4,
                         IDC_QUICK_D6,   IDC_QUICK_D8,   IDC_QUICK_D10,     IDC_QUICK_D12,
                         IDC_QUICK_D20,  IDC_QUICK_D100, IDC_DICE_RESULTS};
    InDiceDialog([&](HWND dialog) {
        HWND control = GetDlgItem(dialog, order[0]);
        for (std::size_t i = 1; i <= std::size(order); ++i) {
            control = GetNextDlgTabItem(dialog, control, FALSE);
            EXPECT_EQ(GetDlgCtrlID(control), order[i % std::size(order)]) << i;
        }
    });
}

TEST_F(DiceDialogTest, ControlsTakeTheSharedGuiFontOnTheHandheldOnlyTheQuickButtons)
{
    const HFONT guiFont =
        static_cast<HFONT>(GetStockObject(isHandheld ? SYSTEM_FONT : DEFAULT_GUI_FONT));
    // The up-down controls draw no text and keep no font.
    const int textControls[] = {IDC_DICE_COUNT,   IDC_DIE_LIST,  IDC_DICE_MODIFIER,
                                IDC_DICE_REPEATS, IDC_ROLL,      IDC_DICE_RESULTS,
                                IDC_DICE_PLUS,    IDC_DICE_TIMES};
    InDiceDialog([&](HWND dialog) {
        for (const int id : quickButtons)
            EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessage(dialog, id, WM_GETFONT, 0, 0)),
                      guiFont)
                << id;
        for (const int id : textControls) {
            const auto font =
                reinterpret_cast<HFONT>(SendDlgItemMessage(dialog, id, WM_GETFONT, 0, 0));
            EXPECT_EQ(font == guiFont, !isHandheld) << id;
        }
    });
}

// Field and arrows share the field's 45 pixels. The up-down control puts
// itself over the field's border (2 pixels), so it ends that much short.
void ExpectArrowsAtTheEndOf(const RECT& field, const RECT& arrows)
{
    EXPECT_EQ(arrows.left, field.right - 2);
    EXPECT_EQ(arrows.right, field.left + 45 - 2);
}

// The first row is fields of 45 pixels (arrows included), the die list and
// the labels 2 pixels apart; Roll ends the row on the desktop and takes a row
// of its own across the handheld dialog; nine quick buttons share the width
// below; the list takes the rest.
TEST_F(DiceDialogTest, LayoutPlacesTheRowsAndSharesTheWidthAmongTheQuickButtons)
{
    struct Case {
        int clientWidth;
        int buttonWidth;
        int lastLeft;
    };
    const Case cases[] = {{100, 10, 98}, {310, 32, 274}, {400, 42, 354}};
    InDiceDialog([&](HWND dialog) {
        AllowNarrowWindow(dialog);
        for (const Case& c : cases) {
            SizeClient(dialog, c.clientWidth, 300);
            RECT client = {};
            GetClientRect(dialog, &client);
            ASSERT_EQ(client.right, c.clientWidth);
            ASSERT_EQ(client.bottom, 300);

            const RECT count = PlaceInDialog(dialog, IDC_DICE_COUNT);
            const RECT countArrows = PlaceInDialog(dialog, IDC_DICE_COUNT_ARROWS);
            const RECT die = PlaceInDialog(dialog, IDC_DIE_LIST);
            const RECT plus = PlaceInDialog(dialog, IDC_DICE_PLUS);
            const RECT modifier = PlaceInDialog(dialog, IDC_DICE_MODIFIER);
            const RECT modifierArrows = PlaceInDialog(dialog, IDC_DICE_MODIFIER_ARROWS);
            const RECT times = PlaceInDialog(dialog, IDC_DICE_TIMES);
            const RECT repeats = PlaceInDialog(dialog, IDC_DICE_REPEATS);
            const RECT repeatsArrows = PlaceInDialog(dialog, IDC_DICE_REPEATS_ARROWS);
            const RECT roll = PlaceInDialog(dialog, IDC_ROLL);
            const RECT list = PlaceInDialog(dialog, IDC_DICE_RESULTS);

            for (const RECT& control : {count, countArrows, die, plus, modifier, modifierArrows,
                                        times, repeats, repeatsArrows})
                EXPECT_EQ(control.top, 2);
            EXPECT_EQ(count.left, 2);
            ExpectArrowsAtTheEndOf(count, countArrows);
            EXPECT_EQ(die.left, 49);
            EXPECT_EQ(plus.left, die.right + 2);
            EXPECT_EQ(modifier.left, plus.right + 2);
            ExpectArrowsAtTheEndOf(modifier, modifierArrows);
            EXPECT_EQ(times.left, modifier.left + 47);
            EXPECT_EQ(repeats.left, times.right + 2);
            ExpectArrowsAtTheEndOf(repeats, repeatsArrows);

            int quickTop = count.bottom + 2;
            int quickHeight = count.bottom - count.top;
            if (isHandheld) {
                EXPECT_EQ(roll.left, 2);
                EXPECT_EQ(roll.right, c.clientWidth - 2);
                EXPECT_EQ(roll.top, count.bottom + 2);
                quickTop = roll.bottom + 2;
                quickHeight = roll.bottom - roll.top;
            } else {
                EXPECT_EQ(roll.left, repeats.left + 49);
                EXPECT_EQ(roll.top, 2);
                EXPECT_EQ(roll.bottom - roll.top, count.bottom - count.top);
            }
            for (int i = 0; i < 9; ++i) {
                const RECT button = PlaceInDialog(dialog, quickButtons[i]);
                EXPECT_EQ(button.left, 2 + i * (c.buttonWidth + 2)) << c.clientWidth << " " << i;
                EXPECT_EQ(button.right - button.left, c.buttonWidth) << c.clientWidth;
                EXPECT_EQ(button.top, quickTop);
                EXPECT_EQ(button.bottom - button.top, quickHeight);
            }
            EXPECT_EQ(PlaceInDialog(dialog, IDC_QUICK_D100).left, c.lastLeft);
            EXPECT_EQ(list.left, 2);
            EXPECT_EQ(list.top, quickTop + quickHeight + 2);
            EXPECT_EQ(list.right, c.clientWidth - 2);
            EXPECT_EQ(list.bottom, 298);
        }
        RestoreWidthFloor(dialog);
    });
}

TEST_F(DiceDialogTest, NewDialogShowsEveryControlInsideAndEveryTextWhole)
{
    if (isHandheld)
        GTEST_SKIP() << "the handheld dialog keeps its layout for the device's screen";
    InDiceDialog([](HWND dialog) {
        // The widest die chosen.
        SetFields(dialog, {TEXT("1"), TEXT("d100"), TEXT("0"), TEXT("1")});
        ExpectEveryControlInsideAndItsTextWhole(dialog);
    });
}

TEST_F(DiceDialogTest, DieListStillDropsDownToAllNineDiceAfterLayouts)
{
    InDiceDialog([](HWND dialog) {
        HWND die = GetDlgItem(dialog, IDC_DIE_LIST);
        SizeClient(dialog, 330, 260);
        SizeClient(dialog, 280, 300);
        SizeClient(dialog, 300, 280);
        SendMessage(die, CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        GetComboBoxInfo(die, &info);
        RECT shown = {};
        GetClientRect(info.hwndList, &shown);
        const int itemHeight = static_cast<int>(SendMessage(die, CB_GETITEMHEIGHT, 0, 0));
        EXPECT_GE(shown.bottom, 9 * itemHeight);
        SendMessage(die, CB_SHOWDROPDOWN, FALSE, 0);
    });
}

// Desktop: a top-level window of its own, numbered within the process, placed
// and remembered under its dice number and its main window's slot number.

class DesktopDiceTest : public DiceDialogTest {
  protected:
    void SetUp() override
    {
        if (isHandheld)
            GTEST_SKIP() << "the handheld dialog is modal and keeps no placement";
        DiceDialogTest::SetUp();
    }
};

TEST_F(DesktopDiceTest, OpensUnownedBesideThePaneInTheModelessListAndSavesThatPlace)
{
    HWND dialog = OpenDice();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    EXPECT_EQ(GetParent(dialog), nullptr);
    const LONG_PTR style = GetWindowLongPtr(dialog, GWL_STYLE);
    for (const LONG_PTR bit : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX,
                               WS_MAXIMIZEBOX, WS_VISIBLE, WS_CLIPSIBLINGS})
        EXPECT_EQ(style & bit, bit) << std::hex << bit;
    EXPECT_FALSE(IsZoomed(dialog) || IsIconic(dialog));
    EXPECT_TRUE(IsInModelessList(dialog));
    ASSERT_NE(DiceObject(dialog), nullptr);
    EXPECT_EQ(DiceObject(dialog)->diceNumber, 1);
    EXPECT_EQ(DiceObject(dialog)->owner, &pane);

    const RECT place = WindowRect(dialog);
    EXPECT_EQ(place.left, PaneRect().left + 10);
    EXPECT_EQ(place.top, PaneRect().top + 10);
    EXPECT_EQ(StoredDiceNumber(TEXT("Last State"), 1), 1);
    EXPECT_EQ(StoredDiceNumber(TEXT("Left"), 1), place.left);
    EXPECT_EQ(StoredDiceNumber(TEXT("Top"), 1), place.top);
    EXPECT_EQ(StoredDiceNumber(TEXT("Width"), 1), place.right - place.left);
    EXPECT_EQ(StoredDiceNumber(TEXT("Height"), 1), place.bottom - place.top);
}

TEST_F(DesktopDiceTest, OpenDialogsAreNumberedFromOneAndAClosedOnesNumberAndPlaceComeBack)
{
    HWND first = OpenDice();
    HWND second = OpenDice();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(DiceObject(first)->diceNumber, 1);
    EXPECT_EQ(DiceObject(second)->diceNumber, 2);
    MoveWindow(first, 100, 120, 330, 280, TRUE);
    MoveWindow(second, 140, 160, 300, 250, TRUE);
    EXPECT_EQ(StoredDiceNumber(TEXT("Left"), 1), 100);
    EXPECT_EQ(StoredDiceNumber(TEXT("Width"), 1), 330);
    EXPECT_EQ(StoredDiceNumber(TEXT("Left"), 2), 140);
    EXPECT_EQ(StoredDiceNumber(TEXT("Height"), 2), 250);

    CloseDice(first);
    EXPECT_FALSE(IsWindow(first));
    HWND third = OpenDice();
    EXPECT_EQ(DiceObject(third)->diceNumber, 1);
    CloseDice(second);
    CloseDice(third);
    EXPECT_TRUE(DiceWindows().empty());

    HWND again = OpenDice();
    EXPECT_EQ(DiceObject(again)->diceNumber, 1);
    const RECT place = WindowRect(again);
    EXPECT_EQ(place.left, 100);
    EXPECT_EQ(place.top, 120);
    EXPECT_EQ(place.right - place.left, 330);
    EXPECT_EQ(place.bottom - place.top, 280);
}

TEST_F(DesktopDiceTest, SavedPlacementIsUsedOnlyWhenCompleteAndOnScreenElseBesideThePane)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    struct Case {
        const char* what;
        int left, top, width, height;
        const TCHAR* missing; // a value removed after storing, or null
        bool used;
    };
    const Case cases[] = {
        {"fits", 200, 150, 320, 240, nullptr, true},
        {"narrower than a new dialog", 200, 150, 160, 240, nullptr, true},
        {"state missing", 200, 150, 320, 240, TEXT("Last State"), false},
        {"height missing", 200, 150, 320, 240, TEXT("Height"), false},
        {"nine wide", 200, 150, 9, 240, nullptr, false},
        {"nine high", 200, 150, 320, 9, nullptr, false},
        {"left of the screen", -50, 150, 320, 240, nullptr, false},
        {"past the right edge", screenWidth - 100, 150, 320, 240, nullptr, false},
    };
    for (const Case& c : cases) {
        StoreDicePlacement(1, c.left, c.top, c.width, c.height);
        if (c.missing != nullptr) {
            HKEY key = nullptr;
            RegOpenKeyEx(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_SET_VALUE, &key);
            RegDeleteValue(key, DiceValue(c.missing, 1).c_str());
            RegCloseKey(key);
        }
        HWND dialog = OpenDice();
        ASSERT_NE(dialog, nullptr);
        const RECT place = WindowRect(dialog);
        if (c.used) {
            EXPECT_EQ(place.left, c.left) << c.what;
            EXPECT_EQ(place.top, c.top) << c.what;
            EXPECT_EQ(place.right - place.left, c.width) << c.what;
            EXPECT_EQ(place.bottom - place.top, c.height) << c.what;
        } else {
            EXPECT_EQ(place.left, PaneRect().left + 10) << c.what;
            EXPECT_EQ(place.top, PaneRect().top + 10) << c.what;
        }
        // The place taken is saved at once, in full.
        EXPECT_EQ(StoredDiceNumber(TEXT("Last State"), 1), 1) << c.what;
        EXPECT_EQ(StoredDiceNumber(TEXT("Left"), 1), place.left) << c.what;
        EXPECT_EQ(StoredDiceNumber(TEXT("Height"), 1), place.bottom - place.top) << c.what;
        CloseDice(dialog);
        DeleteSettingsKey();
    }
}

TEST_F(DesktopDiceTest, MaximizedWritesOnlyTheStateAndReopensNormalAtTheLastNormalPlace)
{
    HWND dialog = OpenDice();
    MoveWindow(dialog, 90, 80, 340, 290, TRUE);
    ShowWindow(dialog, SW_MAXIMIZE);
    EXPECT_EQ(StoredDiceNumber(TEXT("Last State"), 1), 3);
    EXPECT_EQ(StoredDiceNumber(TEXT("Left"), 1), 90);
    EXPECT_EQ(StoredDiceNumber(TEXT("Width"), 1), 340);
    CloseDice(dialog);

    dialog = OpenDice();
    EXPECT_FALSE(IsZoomed(dialog));
    const RECT place = WindowRect(dialog);
    EXPECT_EQ(place.left, 90);
    EXPECT_EQ(place.top, 80);
    EXPECT_EQ(place.right - place.left, 340);
    EXPECT_EQ(place.bottom - place.top, 290);
    EXPECT_EQ(StoredDiceNumber(TEXT("Last State"), 1), 1);
}

TEST_F(DesktopDiceTest, MinimizedSavesNothingAndRestoredSavesAgain)
{
    HWND dialog = OpenDice();
    MoveWindow(dialog, 90, 80, 340, 290, TRUE);
    StoreNumber(DiceValue(TEXT("Last State"), 1).c_str(), 7);
    StoreNumber(DiceValue(TEXT("Left"), 1).c_str(), 7);
    ShowWindow(dialog, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(dialog));
    EXPECT_EQ(StoredDiceNumber(TEXT("Last State"), 1), 7);
    EXPECT_EQ(StoredDiceNumber(TEXT("Left"), 1), 7);
    ShowWindow(dialog, SW_RESTORE);
    EXPECT_EQ(StoredDiceNumber(TEXT("Last State"), 1), 1);
    EXPECT_EQ(StoredDiceNumber(TEXT("Left"), 1), 90);
}

TEST_F(DesktopDiceTest, EscapeTheCloseBoxAndOkCloseTheDialogAndFreeItsNumber)
{
    struct Case {
        const char* what;
        std::function<void(HWND)> close;
    };
    const Case cases[] = {
        {"Escape",
         [](HWND dialog) { EXPECT_TRUE(OfferKey(GetDlgItem(dialog, IDC_DICE_COUNT), VK_ESCAPE)); }},
        {"close box", [](HWND dialog) { SendMessage(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"OK", [](HWND dialog) { SendCommand(dialog, IDOK); }},
    };
    for (const Case& c : cases) {
        HWND dialog = OpenDice();
        ASSERT_NE(dialog, nullptr);
        c.close(dialog);
        Pump();
        EXPECT_FALSE(IsWindow(dialog)) << c.what;
        EXPECT_FALSE(IsInModelessList(dialog)) << c.what;
        HWND next = OpenDice();
        EXPECT_EQ(DiceObject(next)->diceNumber, 1) << c.what;
        CloseDice(next);
    }
}

TEST_F(DesktopDiceTest, EnterThroughTheMessageLoopPressesRoll)
{
    HWND dialog = OpenDice();
    EXPECT_TRUE(OfferKey(GetDlgItem(dialog, IDC_DICE_COUNT), VK_RETURN));
    Pump();
    EXPECT_EQ(Lines(dialog), (std::vector<TextString>{TEXT("d20 = 17")}));
    EXPECT_TRUE(IsWindow(dialog));
}

TEST_F(DesktopDiceTest, ASecondCloseRequestBeforeThePaneActsHandsTheDialogOverOnlyOnce)
{
    HWND dialog = OpenDice();
    const DiceDialog* dice = DiceObject(dialog);
    SendMessage(dialog, WM_CLOSE, 0, 0);
    SendMessage(dialog, WM_CLOSE, 0, 0);
    SendCommand(dialog, IDCANCEL);
    int handedOver = 0;
    MSG message;
    while (PeekMessage(&message, pane.window, WM_DICE_CLOSED, WM_DICE_CLOSED, PM_REMOVE)) {
        EXPECT_EQ(reinterpret_cast<const DiceDialog*>(message.lParam), dice);
        ++handedOver;
        DispatchMessage(&message);
    }
    EXPECT_EQ(handedOver, 1);
    Pump();
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(DesktopDiceTest, WithAllNumbersTakenTheDialogWorksUnderNumberZeroAndFreesNothing)
{
    std::vector<DiceDialog> holders(diceTableSize);
    for (DiceDialog& holder : holders)
        TakeDiceNumber(holder);
    ASSERT_EQ(holders.back().diceNumber, 256);
    HWND dialog = OpenDice();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(DiceObject(dialog)->diceNumber, 0);
    EXPECT_EQ(StoredDiceNumber(TEXT("Last State"), 0), 1);
    Press(dialog, IDC_ROLL);
    EXPECT_EQ(Lines(dialog).size(), 1u);
    CloseDice(dialog);

    DiceDialog probe;
    EXPECT_EQ(TakeDiceNumber(probe), 0);
    DestroyDiceDialog(holders[4]);
    EXPECT_EQ(TakeDiceNumber(probe), 5);
    DestroyDiceDialog(probe);
    for (DiceDialog& holder : holders)
        DestroyDiceDialog(holder);
}

TEST_F(DesktopDiceTest, ADialogThatCannotBeCreatedGivesItsNumberBack)
{
    DiceDialog dice;
    EXPECT_FALSE(CreateDiceDialog(dice, GetModuleHandle(TEXT("kernel32")), &pane));
    EXPECT_EQ(dice.diceNumber, 0);
    HWND dialog = OpenDice();
    EXPECT_EQ(DiceObject(dialog)->diceNumber, 1);
}

// Handheld: modal over the pane, in the modeless-dialog list while it runs,
// saving nothing and starting empty every time.

TEST_F(DiceDialogTest, HandheldDialogIsModalOverThePaneSavesNothingAndStartsEmptyAgain)
{
    if (!isHandheld)
        GTEST_SKIP() << "the desktop dialog is modeless";
    HWND seen = nullptr;
    InDiceDialog([&](HWND dialog) {
        seen = dialog;
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), host);
        EXPECT_FALSE(IsWindowEnabled(host));
        EXPECT_TRUE(IsInModelessList(dialog));
        EXPECT_EQ(DiceObject(dialog)->diceNumber, 0);
        Press(dialog, IDC_ROLL);
        MoveWindow(dialog, 30, 40, 250, 300, TRUE);
    });
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_FALSE(IsInModelessList(seen));
    EXPECT_EQ(CountValues(), 0);
    InDiceDialog([](HWND dialog) { EXPECT_TRUE(Lines(dialog).empty()); });
}

} // namespace
