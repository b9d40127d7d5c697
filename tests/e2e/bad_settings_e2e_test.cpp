// Both real programs under Wine, each started over a settings key whose
// values are all malformed in one way: the program must start, show its
// window and its dialogs, fall back to each value's default, and write
// nothing but the values it keeps.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "resources/shared/resource_ids.h"
#include "tests/e2e/program_driver.h"
#include "tests/e2e/settings_snapshot.h"
#include "tests/win32/settings_fixture.h"

namespace {

constexpr DWORD startTimeoutMs = 30000;
constexpr DWORD settleTimeoutMs = 5000;
constexpr int screenWidth = 1280;
constexpr int screenHeight = 1024;

// ---- what is stored ----

enum class Kind { number, text };

struct ValueName {
    const char* name;
    Kind kind;
};

// Every value the system uses, with slot 1 and dice number 1 filled in.
const ValueName valueNames[] = {
    {"Category", Kind::number},
    {"Item", Kind::number},
    {"BodySearch", Kind::number},
    {"StickyFull", Kind::number},
    {"Font", Kind::text},
    {"FontSize", Kind::number},
    {"Last State 1", Kind::number},
    {"Left 1", Kind::number},
    {"Top 1", Kind::number},
    {"Width 1", Kind::number},
    {"Height 1", Kind::number},
    {"Search Last State 1", Kind::number},
    {"Search Left 1", Kind::number},
    {"Search Top 1", Kind::number},
    {"Search Width 1", Kind::number},
    {"Search Height 1", Kind::number},
    {"Dice Last State 1 1", Kind::number},
    {"Dice Left 1 1", Kind::number},
    {"Dice Top 1 1", Kind::number},
    {"Dice Width 1 1", Kind::number},
    {"Dice Height 1 1", Kind::number},
};

// The desktop program's own placement values for slot 1 and dice number 1.
const std::set<std::string> desktopPlacementNames = {
    "Last State 1",        "Left 1",        "Top 1",        "Width 1",        "Height 1",
    "Search Last State 1", "Search Left 1", "Search Top 1", "Search Width 1", "Search Height 1",
    "Dice Last State 1 1", "Dice Left 1 1", "Dice Top 1 1", "Dice Width 1 1", "Dice Height 1 1",
};

const std::set<std::string> mainPlacementNames = {"Last State 1", "Left 1", "Top 1", "Width 1",
                                                  "Height 1"};

struct RawValue {
    bool present;
    DWORD type;
    std::string bytes;
    bool wide; // bytes stored as they are, not converted from 8-bit text
};

RawValue Absent()
{
    return RawValue{false, REG_NONE, {}, false};
}
RawValue Raw(DWORD type, const std::string& bytes)
{
    return RawValue{true, type, bytes, false};
}

// UTF-16 text of the 8-bit text, cut to an odd number of bytes.
RawValue OddWide(const std::string& text)
{
    std::string bytes;
    for (const char c : text)
        bytes += std::string{c, '\0'};
    bytes += 'x';
    return RawValue{true, REG_SZ, bytes, true};
}

RawValue Dword(DWORD type, unsigned int number)
{
    return Raw(type, std::string(reinterpret_cast<const char*>(&number), sizeof number));
}

RawValue Qword(unsigned long long number)
{
    return Raw(REG_QWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number));
}

// A face that Wine enumerates: were a malformed "Font" taken, the options
// dialog would show it.
const std::string face = "DejaVu Sans";
const std::string terminatedFace = face + std::string(1, '\0');
const std::string longText(64 * 1024 - 1, 'D');

struct Form {
    const char* name;
    RawValue number; // how each number value is stored
    RawValue text;   // how "Font" is stored
    // Well-formed 32-bit numbers are read and used: an extreme one must then
    // be refused by the code that uses it.
    bool numbersAreRead;
    const char* faceShown; // what the options dialog then shows as the face
};

const Form forms[] = {
    {"absent", Absent(), Absent(), false, ""},
    {"number as text, text as number", Raw(REG_SZ, std::string("1", 2)), Dword(REG_DWORD, 1), false,
     ""},
    {"binary", Dword(REG_BINARY, 1), Raw(REG_BINARY, terminatedFace), false, ""},
    {"eight-byte number, expandable text", Qword(1), Raw(REG_EXPAND_SZ, terminatedFace), false, ""},
    {"big-endian number, multi-string", Dword(REG_DWORD_BIG_ENDIAN, 0x01000000),
     Raw(REG_MULTI_SZ, terminatedFace + '\0'), false, ""},
    {"zero length", Raw(REG_DWORD, ""), Raw(REG_SZ, ""), false, ""},
    {"two-byte number, empty text", Raw(REG_DWORD, std::string("\1", 2)),
     Raw(REG_SZ, std::string(1, '\0')), false, ""},
    // A text without its terminator is still the text it holds.
    {"unterminated text", Raw(REG_SZ, "12"), Raw(REG_SZ, face), false, "DejaVu Sans"},
    {"text of 64 KiB", Raw(REG_SZ, std::string(64 * 1024 - 1, '7') + '\0'),
     Raw(REG_SZ, longText + '\0'), false, ""},
    {"wide text of an odd byte count", Raw(REG_SZ, "1"), OddWide(face), false, "DejaVu Sans"},
    {"all bits set", Dword(REG_DWORD, 0xFFFFFFFFu), Dword(REG_DWORD, 0xFFFFFFFFu), true, ""},
    {"largest number", Dword(REG_DWORD, INT_MAX), Dword(REG_DWORD, INT_MAX), true, ""},
    {"smallest number", Dword(REG_DWORD, 0x80000000u), Dword(REG_DWORD, 0x80000000u), true, ""},
};

void StoreWideValue(const char* name, const RawValue& raw)
{
    wchar_t wideName[64] = {};
    MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, 64);
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Quorvan\\VellumRules", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExW(key, wideName, 0, raw.type, reinterpret_cast<const BYTE*>(raw.bytes.data()),
                   static_cast<DWORD>(raw.bytes.size()));
    RegCloseKey(key);
}

void StoreForm(const Form& form, bool validCategory)
{
    for (const ValueName& value : valueNames) {
        const RawValue& raw = value.kind == Kind::text ? form.text : form.number;
        if (raw.present && raw.wide)
            StoreWideValue(value.name, raw);
        else if (raw.present)
            StoreRawValue(value.name, raw.type, raw.bytes.data(),
                          static_cast<DWORD>(raw.bytes.size()));
    }
    if (validCategory)
        StoreNumber("Category", 0);
}

// ---- one running copy of either program ----

struct Program {
    const char* name;
    const char* path;
    bool handheld;
};

const Program programs[] = {
    {"desktop", VELLUMRULES_PROGRAM, false},
    {"handheld", VELLUM_HANDHELD_PROGRAM, true},
};

struct Copy {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
};

std::string WindowsPath(const char* path)
{
    std::string windowsPath = path;
    for (char& c : windowsPath)
        if (c == '/')
            c = '\\';
    if (windowsPath[0] == '\\')
        windowsPath = "Z:" + windowsPath;
    return windowsPath;
}

DWORD ProcessOf(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

HWND MainWindowOf(DWORD processId)
{
    for (HWND window = FindWindowExA(nullptr, nullptr, "VellumRulesClass", nullptr);
         window != nullptr; window = FindWindowExA(nullptr, window, "VellumRulesClass", nullptr))
        if (ProcessOf(window) == processId)
            return window;
    return nullptr;
}

// Ready once the window shows its pane and its message loop answers.
Copy Start(const Program& program)
{
    Copy copy;
    const std::string path = WindowsPath(program.path);
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &copy.process))
        return copy;
    WaitForInputIdle(copy.process.hProcess, startTimeoutMs);
    WaitUntil(
        [&copy] {
            copy.window = MainWindowOf(copy.process.dwProcessId);
            return copy.window != nullptr && PaneControl(copy.window, IDC_TEXT_VIEW) != nullptr;
        },
        startTimeoutMs);
    DWORD_PTR answer = 0;
    if (copy.window != nullptr &&
        !SendMessageTimeoutA(copy.window, WM_NULL, 0, 0, SMTO_NORMAL, startTimeoutMs, &answer))
        copy.window = nullptr;
    return copy;
}

// Closes the copy as its close button does; kills it when it stays.
bool End(Copy& copy)
{
    if (copy.process.hProcess == nullptr)
        return true;
    if (copy.window != nullptr)
        PostMessageA(copy.window, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(copy.process.hProcess, settleTimeoutMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(copy.process.hProcess, 1);
        WaitForSingleObject(copy.process.hProcess, settleTimeoutMs);
    }
    CloseHandle(copy.process.hThread);
    CloseHandle(copy.process.hProcess);
    copy.process = PROCESS_INFORMATION{};
    return ended;
}

bool IsAlive(const Copy& copy)
{
    return WaitForSingleObject(copy.process.hProcess, 0) == WAIT_TIMEOUT;
}

// A shown top-level dialog of the copy's process that holds the control.
HWND DialogWith(const Copy& copy, int control)
{
    struct Search {
        DWORD processId;
        int control;
        HWND found;
    } search{copy.process.dwProcessId, control, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) {
            auto* wanted = reinterpret_cast<Search*>(context);
            if (ProcessOf(window) == wanted->processId && ClassOf(window) == "#32770" &&
                IsWindowVisible(window) && GetDlgItem(window, wanted->control) != nullptr) {
                wanted->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND OpenDialog(const Copy& copy, int command, int control)
{
    PostMessageA(copy.window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = DialogWith(copy, control)) != nullptr || !IsAlive(copy); },
              settleTimeoutMs);
    return dialog;
}

bool DialogGone(const Copy& copy, int control)
{
    return WaitUntil([&] { return DialogWith(copy, control) == nullptr; }, settleTimeoutMs);
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The client area, where the program draws, lies on the screen. (The
// handheld program's frames reach a few pixels past the emulated device's
// edge.)
bool IsOnScreen(HWND window)
{
    RECT rect = {};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return IsWindowVisible(window) && rect.left >= 0 && rect.top >= 0 &&
           rect.right <= screenWidth && rect.bottom <= screenHeight &&
           rect.right - rect.left >= 10 && rect.bottom - rect.top >= 10;
}

std::string Describe(HWND window)
{
    const RECT rect = WindowRect(window);
    char text[80];
    wsprintfA(text, "(%ld, %ld)-(%ld, %ld)", rect.left, rect.top, rect.right, rect.bottom);
    return text;
}

int Selection(HWND combo)
{
    return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
}

// GetWindowText answers a window of another process from its caption alone:
// a control's text has to be asked for.
std::string ControlText(HWND control)
{
    std::string text(static_cast<size_t>(SendMessageA(control, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
    const LRESULT length =
        SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

// The selected item's text; empty without a selection.
std::string SelectedText(HWND combo)
{
    const int selected = Selection(combo);
    return selected == CB_ERR ? std::string() : ComboItemText(combo, selected);
}

// ---- the checks ----

class BadSettings : public ::testing::Test {
  protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override
    {
        EXPECT_TRUE(End(copy)) << "the program did not end when asked to close";
        DeleteSettingsKey();
    }
    Copy copy;
};

void CheckStartedAndShown(const Copy& copy)
{
    ASSERT_NE(copy.window, nullptr) << "no main window, or it did not answer";
    EXPECT_TRUE(IsOnScreen(copy.window)) << "main window at " << Describe(copy.window);
}

// The desktop window was placed by the system, not by a malformed value, and
// recorded that placement for its slot.
void CheckMainPlacement(const Copy& copy)
{
    EXPECT_FALSE(IsZoomed(copy.window));
    const RECT rect = WindowRect(copy.window);
    EXPECT_TRUE(WaitUntil(
        [&] { return StoredNumber("Left 1") == rect.left && StoredNumber("Top 1") == rect.top; },
        settleTimeoutMs))
        << "\"Left 1\" " << StoredNumber("Left 1") << ", window at " << Describe(copy.window);
    EXPECT_EQ(StoredNumber("Width 1"), rect.right - rect.left);
    EXPECT_EQ(StoredNumber("Height 1"), rect.bottom - rect.top);
    EXPECT_EQ(StoredNumber("Last State 1"), SW_SHOWNORMAL);
}

void CheckSearchAndDiceDialogsShow(const Copy& copy, bool handheld)
{
    const HWND search = OpenDialog(copy, IDM_FULL_SEARCH, IDC_SEARCH_BOX);
    ASSERT_NE(search, nullptr) << "no search dialog";
    EXPECT_TRUE(IsOnScreen(search)) << "search dialog at " << Describe(search);
    PostMessageA(search, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    EXPECT_TRUE(DialogGone(copy, IDC_SEARCH_BOX));

    const HWND dice = OpenDialog(copy, IDM_ROLL_DICE, IDC_ROLL);
    ASSERT_NE(dice, nullptr) << "no dice dialog";
    EXPECT_TRUE(IsOnScreen(dice)) << "dice dialog at " << Describe(dice);
    // The handheld dice dialog is modal and ends with Done (command 1).
    PostMessageA(dice, WM_COMMAND, MAKEWPARAM(handheld ? IDOK : IDCANCEL, 0), 0);
    EXPECT_TRUE(DialogGone(copy, IDC_ROLL));
}

// The options dialog shows what the program took from the settings. It ends
// only with a face and a size chosen, so the test chooses them.
void CheckOptionsShowDefaults(const Copy& copy, const Form& form, bool handheld)
{
    const HWND options = OpenDialog(copy, IDM_OPTIONS, IDC_FACE_LIST);
    ASSERT_NE(options, nullptr) << "no options dialog";
    const HWND faces = GetDlgItem(options, IDC_FACE_LIST);
    const HWND sizes = GetDlgItem(options, IDC_SIZE_LIST);
    EXPECT_EQ(SelectedText(faces), form.faceShown);
    // A stored number is used unchanged, and no offered size is an extreme.
    EXPECT_EQ(SelectedText(sizes), form.numbersAreRead ? "" : "10");
    EXPECT_EQ(SendDlgItemMessageA(options, IDC_BODY_SEARCH, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    if (!handheld) {
        EXPECT_EQ(SendDlgItemMessageA(options, IDC_STICKY_FULL, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    }
    SendMessageA(faces, CB_SETCURSEL, 0, 0);
    SendMessageA(sizes, CB_SETCURSEL, 0, 0);
    PostMessageA(options, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    EXPECT_TRUE(DialogGone(copy, IDC_FACE_LIST));
}

// With "Category" 0 stored well and everything else malformed.
TEST_F(BadSettings, EveryOtherValueMalformedFallsBackToItsDefaultAndIsNotWritten)
{
    for (const Program& program : programs) {
        for (const Form& form : forms) {
            SCOPED_TRACE(std::string(program.name) + " program, values " + form.name);
            DeleteSettingsKey();
            StoreForm(form, true);
            const SettingsSnapshot before = TakeSettingsSnapshot();
            copy = Start(program);
            CheckStartedAndShown(copy);
            if (copy.window == nullptr) {
                End(copy);
                continue;
            }
            EXPECT_EQ(Selection(PaneControl(copy.window, IDC_CATEGORY_LIST)), 0);
            // A well-formed but impossible "Item" shows the first entry and
            // stores 0; an unreadable one leaves the category without entry.
            const std::string shown = ControlText(PaneControl(copy.window, IDC_TEXT_VIEW));
            if (form.numbersAreRead) {
                EXPECT_FALSE(shown.empty());
                EXPECT_TRUE(HasValue("Item"));
                EXPECT_EQ(StoredNumber("Item"), 0);
            } else {
                EXPECT_EQ(shown, "");
                EXPECT_FALSE(HasValue("Item"));
            }
            if (!program.handheld)
                CheckMainPlacement(copy);
            CheckSearchAndDiceDialogsShow(copy, program.handheld);
            EXPECT_TRUE(IsAlive(copy)) << "the program ended";

            std::set<std::string> unexpected = ChangedNames(before, TakeSettingsSnapshot());
            unexpected.erase("Item");
            EXPECT_EQ(StoredNumber("Category"), 0);
            unexpected.erase("Category");
            if (!program.handheld)
                for (const std::string& name : desktopPlacementNames)
                    unexpected.erase(name);
            EXPECT_TRUE(unexpected.empty()) << "written: " << JoinNames(unexpected);

            // Confirming the options writes them, and on the handheld program
            // still no "StickyFull".
            const SettingsSnapshot beforeOptions = TakeSettingsSnapshot();
            CheckOptionsShowDefaults(copy, form, program.handheld);
            std::set<std::string> notOptions = ChangedNames(beforeOptions, TakeSettingsSnapshot());
            for (const char* option : {"Font", "FontSize", "BodySearch"})
                notOptions.erase(option);
            if (!program.handheld) {
                notOptions.erase("StickyFull");
                for (const std::string& name : desktopPlacementNames)
                    notOptions.erase(name);
            }
            EXPECT_TRUE(notOptions.empty())
                << "written with the options: " << JoinNames(notOptions);
            EXPECT_TRUE(End(copy)) << "the program did not end when asked to close";
        }
    }
}

// With "Category" malformed as well: the pane starts as on a first run.
TEST_F(BadSettings, MalformedCategoryLeavesThePaneAsOnAFirstRunAndIsNotWritten)
{
    for (const Program& program : programs) {
        for (const Form& form : forms) {
            SCOPED_TRACE(std::string(program.name) + " program, values " + form.name);
            DeleteSettingsKey();
            StoreForm(form, false);
            const SettingsSnapshot before = TakeSettingsSnapshot();
            copy = Start(program);
            CheckStartedAndShown(copy);
            if (copy.window == nullptr) {
                End(copy);
                continue;
            }
            EXPECT_EQ(Selection(PaneControl(copy.window, IDC_CATEGORY_LIST)), CB_ERR);
            EXPECT_EQ(SendMessageA(PaneControl(copy.window, IDC_ITEM_LIST), CB_GETCOUNT, 0, 0), 0);
            EXPECT_EQ(ControlText(PaneControl(copy.window, IDC_TEXT_VIEW)), "");
            if (!program.handheld)
                CheckMainPlacement(copy);

            std::set<std::string> unexpected = ChangedNames(before, TakeSettingsSnapshot());
            if (!program.handheld)
                for (const std::string& name : mainPlacementNames)
                    unexpected.erase(name);
            EXPECT_TRUE(unexpected.empty()) << "written: " << JoinNames(unexpected);
            EXPECT_TRUE(End(copy)) << "the program did not end when asked to close";
        }
    }
}

} // namespace
