// The real desktop program under Wine, driven from outside: window slots
// across copies, New Window, placement kept across runs, the pane's keyboard
// handling through the message loop, and the About box. Each test starts
// from a missing settings key and ends every copy it caused.
#include <gtest/gtest.h>

#include <algorithm>

#include "resources/shared/resource_ids.h"
#include "tests/e2e/program_driver.h"
#include "tests/win32/settings_fixture.h"

namespace {

constexpr DWORD settleTimeoutMs = 5000;

using DesktopProgram = RealProgramTest;

void PostCommand(HWND window, int code, int id)
{
    PostMessage(window, WM_COMMAND, MAKEWPARAM(id, code), 0);
}

bool BringToFront(HWND window)
{
    SetForegroundWindow(window);
    return WaitUntil([window] { return GetForegroundWindow() == window; }, settleTimeoutMs);
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& rect)
{
    char text[80];
    wsprintfA(text, "(%ld, %ld)-(%ld, %ld)", rect.left, rect.top, rect.right, rect.bottom);
    return text;
}

TEST_F(DesktopProgram, FirstCopyTakesSlotOneAndASecondCopySlotTwo)
{
    const RunningCopy first = StartCopy();
    ASSERT_NE(first.window, nullptr);
    // With nothing stored the system placed it, and that placement was saved.
    EXPECT_EQ(StoredNumber("Last State 1"), 1);
    EXPECT_GT(StoredNumber("Width 1"), 0);
    EXPECT_FALSE(HasValue("Left 2"));
    EXPECT_EQ(SlotOf(first.window), 1);

    const RunningCopy second = StartCopy();
    ASSERT_NE(second.window, nullptr);
    EXPECT_TRUE(HasValue("Left 2"));
    EXPECT_EQ(SlotOf(second.window), 2);
    EXPECT_EQ(SlotOf(first.window), 1);
}

struct CloseWay {
    const char* name;
    UINT message;
    WPARAM wParam;
};

const CloseWay closeWays[] = {
    {"close button", WM_SYSCOMMAND, SC_CLOSE},
    {"File Exit", WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0)},
};

TEST_F(DesktopProgram, SlotOfAClosedCopyGoesToTheNextCopy)
{
    for (const CloseWay& way : closeWays) {
        SCOPED_TRACE(way.name);
        const RunningCopy first = StartCopy();
        const RunningCopy second = StartCopy();
        ASSERT_EQ(SlotOf(first.window), 1);
        ASSERT_EQ(SlotOf(second.window), 2);
        PostMessage(first.window, way.message, way.wParam, 0);
        ASSERT_TRUE(WaitForExit(first));

        const RunningCopy third = StartCopy();
        ASSERT_NE(third.window, nullptr);
        EXPECT_EQ(SlotOf(third.window), 1);
        EXPECT_FALSE(HasValue("Left 3"));
        EXPECT_EQ(SlotOf(second.window), 2);
        EXPECT_TRUE(CloseCopy(second));
        EXPECT_TRUE(CloseCopy(third));
    }
}

TEST_F(DesktopProgram, CopiesStartedTogetherTakeDifferentSlots)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        std::vector<RunningCopy> copies = StartCopiesTogether(3);
        ASSERT_EQ(copies.size(), 3u);
        std::vector<int> slots;
        for (const RunningCopy& copy : copies) {
            ASSERT_NE(copy.window, nullptr);
            slots.push_back(SlotOf(copy.window));
        }
        std::sort(slots.begin(), slots.end());
        EXPECT_EQ(slots, (std::vector<int>{1, 2, 3}));
        for (const RunningCopy& copy : copies)
            EXPECT_TRUE(CloseCopy(copy));
    }
}

struct NewWindowCommand {
    const char* name;
    int code;
    int id;
};

const NewWindowCommand newWindowCommands[] = {
    {"File New Window", 0, IDM_NEW_WINDOW},
    {"accelerator Ctrl+N", 1, IDK_NEW_WINDOW},
};

TEST_F(DesktopProgram, NewWindowStartsACopyThatTakesTheNextSlot)
{
    const RunningCopy first = StartCopy();
    ASSERT_NE(first.window, nullptr);
    for (const NewWindowCommand& command : newWindowCommands) {
        SCOPED_TRACE(command.name);
        PostCommand(first.window, command.code, command.id);
        const RunningCopy started = WaitForNewCopy({first});
        ASSERT_NE(started.window, nullptr);
        EXPECT_EQ(SlotOf(started.window), 2);
        EXPECT_TRUE(CloseCopy(started));
    }
}

TEST_F(DesktopProgram, CtrlNOnTheKeyboardOfAMaximizedWindowOpensACopyAtTheNextSlotsPlace)
{
    StoreNumber("Left 2", 210);
    StoreNumber("Top 2", 160);
    StoreNumber("Width 2", 430);
    StoreNumber("Height 2", 370);
    const RunningCopy first = StartCopy();
    ASSERT_NE(first.window, nullptr);
    PostMessage(first.window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return StoredNumber("Last State 1") == SW_SHOWMAXIMIZED; },
                          settleTimeoutMs));
    ASSERT_TRUE(BringToFront(first.window));

    PressKeys({VK_CONTROL, 'N'});
    const RunningCopy started = WaitForNewCopy({first});
    ASSERT_NE(started.window, nullptr);
    EXPECT_TRUE(SameRect(WindowRect(started.window), RECT{210, 160, 640, 530}))
        << "opened at " << Describe(WindowRect(started.window));
    EXPECT_FALSE(IsZoomed(started.window));
}

struct LeftState {
    const char* name;
    WPARAM command;
    int savedState;  // what "Last State 1" holds once the command has run
    bool reopensMaximized;
};

const LeftState leftStates[] = {
    {"closed maximized", SC_MAXIMIZE, SW_SHOWMAXIMIZED, true},
    // Nothing is saved while minimized: it reopens as it was before.
    {"closed minimized", SC_MINIMIZE, SW_SHOWNORMAL, false},
};

TEST_F(DesktopProgram, ReopensInTheStateItWasClosedInOverItsNormalRectangle)
{
    const RECT normal = {120, 90, 570, 490};
    for (const LeftState& state : leftStates) {
        SCOPED_TRACE(state.name);
        const RunningCopy first = StartCopy();
        ASSERT_NE(first.window, nullptr);
        SetWindowPos(first.window, nullptr, normal.left, normal.top, normal.right - normal.left,
                     normal.bottom - normal.top, SWP_NOZORDER);
        PostMessage(first.window, WM_SYSCOMMAND, state.command, 0);
        ASSERT_TRUE(WaitUntil(
            [&] { return IsZoomed(first.window) != FALSE || IsIconic(first.window) != FALSE; },
            settleTimeoutMs));
        EXPECT_TRUE(WaitUntil([&] { return StoredNumber("Last State 1") == state.savedState; },
                              settleTimeoutMs))
            << "saved state " << StoredNumber("Last State 1");
        EXPECT_EQ(StoredNumber("Left 1"), normal.left);
        ASSERT_TRUE(CloseCopy(first));

        const RunningCopy again = StartCopy();
        ASSERT_NE(again.window, nullptr);
        EXPECT_EQ(IsZoomed(again.window) != FALSE, state.reopensMaximized);
        EXPECT_FALSE(IsIconic(again.window));
        PostMessage(again.window, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(
            WaitUntil([&] { return SameRect(WindowRect(again.window), normal); }, settleTimeoutMs))
            << "restored to " << Describe(WindowRect(again.window));
        EXPECT_FALSE(IsZoomed(again.window));
        EXPECT_TRUE(CloseCopy(again));
    }
}

TEST_F(DesktopProgram, TabMovesTheFocusThroughThePaneControlsInTurn)
{
    const RunningCopy copy = StartCopy();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(BringToFront(copy.window));
    ASSERT_TRUE(WaitUntil([&] { return FocusedPaneControl(copy.window) != 0; }, settleTimeoutMs));
    EXPECT_EQ(FocusedPaneControl(copy.window), IDC_CATEGORY_LIST);
    const int order[] = {IDC_ITEM_LIST, IDC_TEXT_VIEW, IDC_CATEGORY_LIST};
    for (const int expected : order) {
        PressKeys({VK_TAB});
        EXPECT_TRUE(
            WaitUntil([&] { return FocusedPaneControl(copy.window) == expected; }, settleTimeoutMs))
            << "focus in " << FocusedPaneControl(copy.window) << ", expected " << expected;
    }
    const int reverse[] = {IDC_TEXT_VIEW, IDC_ITEM_LIST, IDC_CATEGORY_LIST};
    for (const int expected : reverse) {
        PressKeys({VK_SHIFT, VK_TAB});
        EXPECT_TRUE(
            WaitUntil([&] { return FocusedPaneControl(copy.window) == expected; }, settleTimeoutMs))
            << "focus in " << FocusedPaneControl(copy.window) << ", expected " << expected;
    }
}

struct BoxContents {
    std::string text;
    bool hasIcon = false;
    std::vector<std::string> buttons;
};

BoxContents ReadBox(HWND box)
{
    BoxContents contents;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        const std::string type = ClassOf(child);
        if (lstrcmpiA(type.c_str(), "Button") == 0)
            contents.buttons.push_back(TextOf(child));
        else if (lstrcmpiA(type.c_str(), "Static") == 0 &&
                 (GetWindowLongPtr(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            contents.hasIcon = true;
        else if (lstrcmpiA(type.c_str(), "Static") == 0 && !TextOf(child).empty())
            contents.text = TextOf(child);
    }
    return contents;
}

TEST_F(DesktopProgram, AboutShowsItsFiveLinesInABoxOwnedByTheMainWindow)
{
    const RunningCopy copy = StartCopy();
    ASSERT_NE(copy.window, nullptr);
    PostCommand(copy.window, 0, IDM_ABOUT);
    HWND box = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (box = OwnedDialog(copy.window)) != nullptr; }, settleTimeoutMs));
    // The text is filled in after the box appears.
    WaitUntil([&] { return !ReadBox(box).text.empty(); }, settleTimeoutMs);
    const BoxContents about = ReadBox(box);
    EXPECT_EQ(TextOf(box), "Vellum Rules 2.6.6");
    EXPECT_EQ(about.text, "Vellum Rules\nby Quorvan\n\n<vellum@\n  quorvan.example>");
    EXPECT_TRUE(about.hasIcon);
    EXPECT_EQ(about.buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(IsWindowEnabled(copy.window)) << "the box is modal to the main window";

    PostMessage(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, settleTimeoutMs));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(copy.window) != FALSE; }, settleTimeoutMs));
}

}  // namespace

namespace {

// The view's text, asked for in wide characters (as Wine hands text to
// another process) and narrowed to the program's code page.
std::string ViewText(HWND view)
{
    const auto length = static_cast<int>(SendMessageW(view, WM_GETTEXTLENGTH, 0, 0));
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(view, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(&wide[0]));
    char narrow[65536] = {};
    WideCharToMultiByte(1252, 0, wide.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

bool Shows(HWND view, const std::string& title)
{
    return ViewText(view).rfind(title + "\r\n-----\r\n", 0) == 0;
}

// The control counts a line break as one character.
LONG ControlPosition(const std::string& text, std::size_t offset)
{
    LONG position = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            ++position;
    }
    return position;
}

void ClickAt(HWND window, POINT point)
{
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace

TEST_F(DesktopProgram, AClickOnASpellNamedByAMonsterOpensItAndAltLeftGoesBack)
{
    // The tenth monster, the Ashen Herald, names Ember Dart among its
    // spell-like abilities.
    StoreNumber("Category", 4);
    StoreNumber("Item", 9);
    const RunningCopy copy = StartCopy();
    ASSERT_NE(copy.window, nullptr);
    ASSERT_TRUE(BringToFront(copy.window));
    const HWND view = PaneControl(copy.window, IDC_TEXT_VIEW);
    ASSERT_EQ(ClassOf(view), "RichEdit20A");
    ASSERT_TRUE(WaitUntil([&] { return Shows(view, "Ashen Herald"); }, settleTimeoutMs));

    const std::string text = ViewText(view);
    const std::size_t mention = text.find("Ember Dart");
    ASSERT_NE(mention, std::string::npos);
    const LONG position = ControlPosition(text, mention) + 2;
    SendMessageW(view, EM_SETSEL, static_cast<WPARAM>(position), position);
    SendMessageW(view, EM_SCROLLCARET, 0, 0);
    const auto packed = static_cast<DWORD>(SendMessageW(view, EM_POSFROMCHAR, static_cast<WPARAM>(position), 0));
    ClickAt(view, POINT{static_cast<SHORT>(LOWORD(packed)) + 2, static_cast<SHORT>(HIWORD(packed)) + 4});
    EXPECT_TRUE(WaitUntil([&] { return Shows(view, "Ember Dart"); }, settleTimeoutMs));
    EXPECT_EQ(StoredNumber("Category"), 0);
    EXPECT_TRUE(HasValue("Item"));

    PressKeys({VK_MENU, VK_LEFT});
    EXPECT_TRUE(WaitUntil([&] { return Shows(view, "Ashen Herald"); }, settleTimeoutMs));
    EXPECT_EQ(StoredNumber("Category"), 4);
    EXPECT_EQ(StoredNumber("Item"), 9);
}
