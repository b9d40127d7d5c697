// Many copies of the real programs started at the same moment under Wine:
// the desktop program's window slots under a crowd of copies, closed and
// killed ones, and the handheld program's single copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/program_driver.h"
#include "tests/e2e/settings_snapshot.h"
#include "tests/win32/settings_fixture.h"

namespace {

constexpr int crowd = 20;
constexpr int closedInTheMiddle = 8;
constexpr DWORD settleTimeoutMs = 5000;
constexpr DWORD startTimeoutMs = 60000;

std::set<std::string> PlacementNames(int slot)
{
    std::set<std::string> names;
    for (const char* format : {"Last State %d", "Left %d", "Top %d", "Width %d", "Height %d"}) {
        char name[32];
        wsprintfA(name, format, slot);
        names.insert(name);
    }
    return names;
}

std::set<std::string> PlacementNamesOfSlots(int first, int last)
{
    std::set<std::string> names;
    for (int slot = first; slot <= last; ++slot)
        for (const std::string& name : PlacementNames(slot))
            names.insert(name);
    return names;
}

std::set<std::string> NamesOf(const SettingsSnapshot& snapshot)
{
    std::set<std::string> names;
    for (const auto& value : snapshot)
        names.insert(value.first);
    return names;
}

// The slot whose values alone record a move of this window; 0 when the move
// changed no slot's values or those of more than one.
int SlotWritingOnlyItsOwnValues(HWND mainWindow)
{
    static int probes = 0;
    ++probes;
    const int left = 20 + (probes * 41) % 600;
    const int top = 20 + (probes * 29) % 400;
    const SettingsSnapshot before = TakeSettingsSnapshot();
    SetWindowPos(mainWindow, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    std::set<std::string> changed;
    WaitUntil(
        [&] {
            changed = ChangedNames(before, TakeSettingsSnapshot());
            return changed.size() >= 2; // left and top
        },
        settleTimeoutMs);
    for (int slot = 1; slot <= 256; ++slot) {
        const std::set<std::string> own = PlacementNames(slot);
        if (!changed.empty() &&
            std::includes(own.begin(), own.end(), changed.begin(), changed.end())) {
            char leftName[32];
            wsprintfA(leftName, "Left %d", slot);
            return StoredNumber(leftName) == left ? slot : 0;
        }
    }
    ADD_FAILURE() << "a move changed " << JoinNames(changed);
    return 0;
}

void KillCopy(const RunningCopy& copy)
{
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, copy.processId);
    ASSERT_NE(process, nullptr);
    TerminateProcess(process, 1);
    WaitForSingleObject(process, settleTimeoutMs);
    CloseHandle(process);
}

using ManyDesktopCopies = RealProgramTest;

TEST_F(ManyDesktopCopies, TwentyAtOnceTakeTwentySlotsAndReuseTheLowestFreeOnes)
{
    const std::vector<RunningCopy> started = StartCopiesTogether(crowd);
    ASSERT_EQ(started.size(), static_cast<size_t>(crowd));
    for (const RunningCopy& copy : started)
        ASSERT_NE(copy.window, nullptr) << "a copy did not show its window";
    // Each saved the placement of its own slot and nothing else.
    EXPECT_EQ(NamesOf(TakeSettingsSnapshot()), PlacementNamesOfSlots(1, crowd));

    std::vector<std::pair<int, RunningCopy>> bySlot;
    std::set<int> slots;
    for (const RunningCopy& copy : started) {
        const int slot = SlotWritingOnlyItsOwnValues(copy.window);
        bySlot.emplace_back(slot, copy);
        slots.insert(slot);
    }
    std::set<int> expected;
    for (int slot = 1; slot <= crowd; ++slot)
        expected.insert(slot);
    ASSERT_EQ(slots, expected);

    // Close some in an order of their own; new copies fill the gaps from
    // the lowest number up.
    std::mt19937 shuffler(20261207);
    std::shuffle(bySlot.begin(), bySlot.end(), shuffler);
    std::set<int> freed;
    for (int i = 0; i < closedInTheMiddle; ++i) {
        ASSERT_TRUE(CloseCopy(bySlot[i].second)) << "slot " << bySlot[i].first;
        freed.insert(bySlot[i].first);
    }
    bySlot.erase(bySlot.begin(), bySlot.begin() + closedInTheMiddle);
    while (!freed.empty()) {
        const int lowest = *freed.begin();
        const RunningCopy copy = StartCopy();
        ASSERT_NE(copy.window, nullptr);
        EXPECT_EQ(SlotWritingOnlyItsOwnValues(copy.window), lowest);
        bySlot.emplace_back(lowest, copy);
        freed.erase(freed.begin());
    }
    EXPECT_EQ(NamesOf(TakeSettingsSnapshot()), PlacementNamesOfSlots(1, crowd));
}

TEST_F(ManyDesktopCopies, KilledCopyKeepsItsSlotUntilEveryCopyHasEnded)
{
    std::vector<RunningCopy> copies = StartCopiesTogether(3);
    ASSERT_EQ(copies.size(), 3u);
    RunningCopy slotOne;
    RunningCopy slotTwo;
    for (const RunningCopy& copy : copies) {
        ASSERT_NE(copy.window, nullptr);
        const int slot = SlotOf(copy.window);
        if (slot == 1)
            slotOne = copy;
        else if (slot == 2)
            slotTwo = copy;
    }
    ASSERT_NE(slotOne.window, nullptr);
    ASSERT_NE(slotTwo.window, nullptr);

    // Killed without closing: its slot is never given back by the copy.
    KillCopy(slotOne);
    ASSERT_TRUE(CloseCopy(slotTwo));
    const RunningCopy next = StartCopy();
    ASSERT_NE(next.window, nullptr);
    EXPECT_EQ(SlotOf(next.window), 2);
    const RunningCopy another = StartCopy();
    ASSERT_NE(another.window, nullptr);
    EXPECT_EQ(SlotOf(another.window), 4);

    // Once no copy runs the table is gone, and the next first copy has 1.
    EXPECT_EQ(EndAllCopies(), 0);
    const RunningCopy first = StartCopy();
    ASSERT_NE(first.window, nullptr);
    EXPECT_EQ(SlotOf(first.window), 1);
}

// ---- the handheld program ----

std::string HandheldPath()
{
    std::string path = VELLUM_HANDHELD_PROGRAM;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path[0] == '\\')
        path = "Z:" + path;
    return path;
}

std::vector<HWND> HandheldWindows(const std::vector<PROCESS_INFORMATION>& copies)
{
    std::vector<HWND> windows;
    for (HWND window = FindWindowExA(nullptr, nullptr, "VellumRulesClass", nullptr);
         window != nullptr; window = FindWindowExA(nullptr, window, "VellumRulesClass", nullptr)) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        for (const PROCESS_INFORMATION& copy : copies)
            if (copy.dwProcessId == processId && IsWindowVisible(window))
                windows.push_back(window);
    }
    return windows;
}

TEST(ManyHandheldCopies, FiveStartedAtOnceLeaveExactlyOneWindow)
{
    DeleteSettingsKey();
    const std::string path = HandheldPath();
    std::vector<PROCESS_INFORMATION> copies;
    for (int i = 0; i < 5; ++i) {
        std::string commandLine = "\"" + path + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION copy = {};
        ASSERT_TRUE(CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                                   CREATE_SUSPENDED, nullptr, nullptr, &startup, &copy));
        copies.push_back(copy);
    }
    for (const PROCESS_INFORMATION& copy : copies)
        ResumeThread(copy.hThread);

    // Four end by themselves with code 0; one stays with its window.
    std::vector<HANDLE> processes;
    for (const PROCESS_INFORMATION& copy : copies)
        processes.push_back(copy.hProcess);
    int ended = 0;
    WaitUntil(
        [&] {
            ended = 0;
            for (const HANDLE process : processes)
                ended += WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
            return ended >= 4 && HandheldWindows(copies).size() == 1;
        },
        startTimeoutMs);
    EXPECT_EQ(ended, 4);
    const std::vector<HWND> windows = HandheldWindows(copies);
    EXPECT_EQ(windows.size(), 1u);
    for (const HANDLE process : processes) {
        DWORD exitCode = STILL_ACTIVE;
        GetExitCodeProcess(process, &exitCode);
        EXPECT_TRUE(exitCode == 0 || exitCode == STILL_ACTIVE) << "exit code " << exitCode;
    }
    // A second look after a while: no late window appeared.
    Sleep(500);
    EXPECT_EQ(HandheldWindows(copies).size(), 1u);

    for (const HWND window : windows)
        PostMessageA(window, WM_CLOSE, 0, 0);
    for (const PROCESS_INFORMATION& copy : copies) {
        if (WaitForSingleObject(copy.hProcess, settleTimeoutMs) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "a copy did not end when asked to close";
            TerminateProcess(copy.hProcess, 1);
        }
        CloseHandle(copy.hThread);
        CloseHandle(copy.hProcess);
    }
    DeleteSettingsKey();
}

} // namespace
