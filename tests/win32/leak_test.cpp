// A thousand rounds of each thing a user repeats over a long session, in the
// desktop build: the process's GDI objects, windows, menus, heap bytes and
// private memory must be the same after them as before.
//
// Wine answers GetGuiResources with 0 and leaves PrivateUsage empty, so the
// counts come from what it does keep: the process's GDI handle table (the
// PEB's GdiSharedHandleTable, as on Windows), the user handle slots (a handle
// without generation bits names whatever the slot holds), the heaps walked
// block by block, and the committed private regions of the address space.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <winternl.h>

#include "resources/shared/resource_ids.h"
#include "search/search_dialog.h"
#include "tests/win32/modal_dialog_driver.h"
#include "tests/win32/pane_fixture.h"

namespace {

constexpr int cycles = 1000;
// Caches (fonts, dialog classes, registry handles) fill on first use.
constexpr int warmUpCycles = 20;

constexpr int spells = 0;
constexpr int skills = 1;

// One row of the handle table as Windows and Wine lay it out.
struct GdiHandleEntry {
    ULONG64 object;
    ULONG owner;
    USHORT unique;
    USHORT type;
    ULONG64 userPointer;
};
constexpr int gdiHandleCount = 0x10000;
constexpr std::size_t gdiTableOffsetInPeb = 0xF8; // x64

// User handles are even numbers from 0x20 below 0xFFF0.
constexpr UINT firstUserHandle = 0x20;
constexpr UINT lastUserHandle = 0xFFEF;

struct ProcessCounts {
    int gdiObjects = 0;
    int windows = 0;
    int menus = 0;
    SIZE_T heapBytes = 0;
    SIZE_T privateBytes = 0;
};

int CountGdiObjects()
{
    PROCESS_BASIC_INFORMATION basic = {};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic,
                                  sizeof basic, nullptr) != 0)
        return -1;
    const auto* peb = reinterpret_cast<const char*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + gdiTableOffsetInPeb);
    if (table == nullptr)
        return -1;
    int count = 0;
    for (int i = 0; i < gdiHandleCount; ++i) {
        if (table[i].type != 0)
            ++count;
    }
    return count;
}

void CountUserObjects(ProcessCounts& counts)
{
    const DWORD process = GetCurrentProcessId();
    for (UINT slot = firstUserHandle; slot <= lastUserHandle; slot += 2) {
        const auto handle = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(slot));
        DWORD owner = 0;
        if (IsWindow(static_cast<HWND>(handle))) {
            GetWindowThreadProcessId(static_cast<HWND>(handle), &owner);
            counts.windows += owner == process ? 1 : 0;
        } else if (IsMenu(static_cast<HMENU>(handle))) {
            ++counts.menus;
        }
    }
}

SIZE_T HeapBytesInUse()
{
    HANDLE heaps[64];
    const DWORD heapCount = GetProcessHeaps(64, heaps);
    SIZE_T bytes = 0;
    for (DWORD h = 0; h < heapCount && h < 64; ++h) {
        PROCESS_HEAP_ENTRY block = {};
        HeapLock(heaps[h]);
        while (HeapWalk(heaps[h], &block)) {
            if ((block.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0)
                bytes += block.cbData;
        }
        HeapUnlock(heaps[h]);
    }
    return bytes;
}

SIZE_T CommittedPrivateBytes()
{
    SIZE_T bytes = 0;
    MEMORY_BASIC_INFORMATION region = {};
    const char* at = nullptr;
    while (VirtualQuery(at, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            bytes += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return bytes;
}

ProcessCounts CountProcess()
{
    ProcessCounts counts;
    counts.gdiObjects = CountGdiObjects();
    CountUserObjects(counts);
    counts.heapBytes = HeapBytesInUse();
    counts.privateBytes = CommittedPrivateBytes();
    return counts;
}

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
    TCHAR type[16] = {};
    TCHAR text[32] = {};
    GetClassName(window, type, 16);
    GetWindowText(window, text, 32);
    if (lstrcmp(type, TEXT("#32770")) == 0 && lstrcmp(text, TEXT("Roll Dice")) == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND DiceWindow()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDiceWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// What the process may gain over the rounds without a leak: a leak of one
// object, or of 32 heap bytes, a round shows well beyond it.
constexpr int handleTolerance = 8;
constexpr SIZE_T heapTolerance = 32 * 1024;
constexpr SIZE_T privateTolerance = 1024 * 1024;

long long Grown(SIZE_T before, SIZE_T after)
{
    return static_cast<long long>(after) - static_cast<long long>(before);
}

class LeakTest : public PaneTest {
  protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        OpenPane();
        ChooseCategory(spells);
    }

    void OpenAndCloseDice()
    {
        pane.OpenDice();
        HWND dice = DiceWindow();
        ASSERT_NE(dice, nullptr);
        SendMessage(dice, WM_CLOSE, 0, 0);
        Pump();
        ASSERT_EQ(DiceWindow(), nullptr);
    }

    void ShowAndHideSearch()
    {
        pane.OpenSearch();
        ASSERT_NE(pane.searchDialog, nullptr);
        ASSERT_TRUE(IsWindowVisible(pane.searchDialog->window));
        SendMessage(pane.searchDialog->window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        Pump();
        ASSERT_FALSE(IsWindowVisible(pane.searchDialog->window));
    }

    void RecreateSearchInTheOtherCategory(int round)
    {
        ChooseCategory(round % 2 == 0 ? skills : spells);
        ShowAndHideSearch();
    }

    // A size other than the last round's (and every other round another
    // face), then OK: each round replaces the display font.
    void ConfirmANewFont(int round)
    {
        ModalDialogDriver driver(TEXT("Options"), {[round](HWND dialog) {
                                     Choose(dialog, IDC_FACE_LIST, round % 2);
                                     Choose(dialog, IDC_SIZE_LIST, round % 3);
                                     SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
                                 }});
        pane.OpenOptions();
        ASSERT_EQ(driver.StepsRun(), 1);
        ASSERT_FALSE(driver.LeftOpen());
    }

    void ChooseAnEntry(int round)
    {
        const int count = static_cast<int>(SendMessage(Control(IDC_ITEM_LIST), CB_GETCOUNT, 0, 0));
        ASSERT_GT(count, 1);
        ChooseItem(round % count);
        Pump();
    }

    static void Choose(HWND dialog, int list, int position)
    {
        SendDlgItemMessage(dialog, list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        SendMessage(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(GetDlgItem(dialog, list)));
    }
};

TEST_F(LeakTest, CountsSeeObjectsAndMemoryComeAndGo)
{
    const ProcessCounts before = CountProcess();
    ASSERT_GT(before.gdiObjects, 0);
    HBRUSH brushes[10];
    for (HBRUSH& brush : brushes)
        brush = CreateSolidBrush(RGB(1, 2, 3));
    HMENU menu = CreateMenu();
    HWND window = CreateWindowEx(0, TEXT("STATIC"), TEXT("probe"), WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandle(nullptr), nullptr);
    void* heapBlock = HeapAlloc(GetProcessHeap(), 0, 4000);
    void* pages = VirtualAlloc(nullptr, 1 << 20, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const ProcessCounts during = CountProcess();
    EXPECT_GE(during.gdiObjects, before.gdiObjects + 10);
    EXPECT_EQ(during.menus, before.menus + 1);
    EXPECT_EQ(during.windows, before.windows + 1);
    EXPECT_GE(Grown(before.heapBytes, during.heapBytes), 4000);
    EXPECT_GE(Grown(before.privateBytes, during.privateBytes), 1 << 20);

    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    DestroyMenu(menu);
    DestroyWindow(window);
    HeapFree(GetProcessHeap(), 0, heapBlock);
    VirtualFree(pages, 0, MEM_RELEASE);
    const ProcessCounts after = CountProcess();
    EXPECT_EQ(after.gdiObjects, during.gdiObjects - 10);
    EXPECT_EQ(after.menus, before.menus);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_EQ(Grown(during.privateBytes, after.privateBytes), -(1 << 20));
}

TEST_F(LeakTest, ThousandRoundsOfEachRepeatedActionLeaveTheProcessFlat)
{
    struct Case {
        const char* action;
        std::function<void(int round)> run;
    };
    const Case cases[] = {
        {"open and close a dice dialog", [this](int) { OpenAndCloseDice(); }},
        {"show and hide the search dialog", [this](int) { ShowAndHideSearch(); }},
        {"re-create the search dialog through a category change",
         [this](int round) { RecreateSearchInTheOtherCategory(round); }},
        {"confirm the options with a new font", [this](int round) { ConfirmANewFont(round); }},
        {"choose an entry", [this](int round) { ChooseAnEntry(round); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        for (int round = 0; round < warmUpCycles; ++round)
            c.run(round);
        Pump();
        const ProcessCounts before = CountProcess();
        const DWORD start = GetTickCount();
        for (int round = 0; round < cycles && !HasFatalFailure(); ++round)
            c.run(round);
        ASSERT_FALSE(HasFatalFailure());
        Pump();
        const ProcessCounts after = CountProcess();
        std::printf("%-55s %5d rounds %6lu ms  GDI %d -> %d  windows %d -> %d  menus %d -> %d  "
                    "heap %zu -> %zu  private %zu -> %zu\n",
                    c.action, cycles, GetTickCount() - start, before.gdiObjects,
                    after.gdiObjects, before.windows, after.windows, before.menus, after.menus,
                    static_cast<size_t>(before.heapBytes), static_cast<size_t>(after.heapBytes),
                    static_cast<size_t>(before.privateBytes), static_cast<size_t>(after.privateBytes));
        EXPECT_LE(after.gdiObjects - before.gdiObjects, handleTolerance);
        EXPECT_LE(after.windows - before.windows, handleTolerance);
        EXPECT_LE(after.menus - before.menus, handleTolerance);
        EXPECT_LE(Grown(before.heapBytes, after.heapBytes), static_cast<long long>(heapTolerance));
        EXPECT_LE(Grown(before.privateBytes, after.privateBytes),
                  static_cast<long long>(privateTolerance));
    }
}

} // namespace
