// Drives copies of the real desktop program from outside its processes.
#include "tests/e2e/program_driver.h"

#include <tlhelp32.h>

#include <algorithm>

#include "resources/shared/resource_ids.h"
#include "tests/win32/settings_fixture.h"

namespace {

const char mainWindowClass[] = "VellumRulesClass";
const char programFileName[] = "vellumrules.exe";
constexpr DWORD startTimeoutMs = 30000;
constexpr DWORD closeTimeoutMs = 10000;
constexpr int slotCount = 256;

// The build passes the program's path as the build machine spells it; under
// Wine a Unix path is reached through drive Z:.
std::string ProgramPath()
{
    std::string path = VELLUMRULES_PROGRAM;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path[0] == '\\')
        path = "Z:" + path;
    return path;
}

bool IsMainWindow(HWND window)
{
    return ClassOf(window) == mainWindowClass;
}

DWORD ProcessOf(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

HWND MainWindowOf(DWORD processId)
{
    for (const RunningCopy& copy : RunningCopies())
        if (copy.processId == processId)
            return copy.window;
    return nullptr;
}

bool IsKnown(DWORD processId, const std::vector<RunningCopy>& known)
{
    return std::any_of(known.begin(), known.end(), [processId](const RunningCopy& copy) {
        return copy.processId == processId;
    });
}

// A copy is ready once its window shows the pane and its message loop
// answers. The window exists while it is still being created and shown, so
// finding it is not enough: a message sent to it is answered only from the
// loop.
RunningCopy WaitUntilReady(HANDLE process, DWORD processId)
{
    RunningCopy copy;
    copy.processId = processId;
    WaitForInputIdle(process, startTimeoutMs);
    WaitUntil(
        [&copy] {
            copy.window = MainWindowOf(copy.processId);
            return copy.window != nullptr && PaneControl(copy.window, IDC_TEXT_VIEW) != nullptr;
        },
        startTimeoutMs);
    DWORD_PTR answer = 0;
    if (copy.window != nullptr &&
        !SendMessageTimeout(copy.window, WM_NULL, 0, 0, SMTO_NORMAL, startTimeoutMs, &answer))
        copy.window = nullptr;
    return copy;
}

bool CreateCopyProcess(DWORD flags, PROCESS_INFORMATION* started)
{
    const std::string path = ProgramPath();
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, flags, nullptr,
                          nullptr, &startup, started) != FALSE;
}

std::vector<DWORD> ProgramProcesses()
{
    std::vector<DWORD> found;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, programFileName) == 0)
            found.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return found;
}

// Closes one process's main window and waits; kills it when it stays.
bool EndProcess(DWORD processId)
{
    const HANDLE process =
        OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return true;
    // A copy still starting has no window to close yet.
    WaitForInputIdle(process, closeTimeoutMs);
    const HWND window = MainWindowOf(processId);
    if (window != nullptr)
        PostMessage(window, WM_CLOSE, 0, 0);
    bool ended = WaitForSingleObject(process, closeTimeoutMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, closeTimeoutMs);
    }
    CloseHandle(process);
    return ended;
}

bool RecordsPlace(int slot, int left, int top)
{
    char leftName[32];
    char topName[32];
    wsprintfA(leftName, "Left %d", slot);
    wsprintfA(topName, "Top %d", slot);
    return HasValue(leftName) && StoredNumber(leftName) == left && StoredNumber(topName) == top;
}

}  // namespace

RunningCopy StartCopy()
{
    PROCESS_INFORMATION started = {};
    if (!CreateCopyProcess(0, &started))
        return RunningCopy{};
    const RunningCopy copy = WaitUntilReady(started.hProcess, started.dwProcessId);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return copy;
}

std::vector<RunningCopy> StartCopiesTogether(int count)
{
    std::vector<PROCESS_INFORMATION> processes;
    for (int i = 0; i < count; ++i) {
        PROCESS_INFORMATION started = {};
        if (CreateCopyProcess(CREATE_SUSPENDED, &started))
            processes.push_back(started);
    }
    for (const PROCESS_INFORMATION& started : processes)
        ResumeThread(started.hThread);
    std::vector<RunningCopy> copies;
    for (const PROCESS_INFORMATION& started : processes) {
        copies.push_back(WaitUntilReady(started.hProcess, started.dwProcessId));
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    return copies;
}

RunningCopy WaitForNewCopy(const std::vector<RunningCopy>& known)
{
    DWORD processId = 0;
    WaitUntil(
        [&] {
            for (const DWORD candidate : ProgramProcesses())
                if (!IsKnown(candidate, known))
                    processId = candidate;
            return processId != 0;
        },
        startTimeoutMs);
    const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return RunningCopy{};
    const RunningCopy copy = WaitUntilReady(process, processId);
    CloseHandle(process);
    return copy;
}

std::vector<RunningCopy> RunningCopies()
{
    std::vector<RunningCopy> copies;
    EnumWindows(
        [](HWND window, LPARAM found) {
            if (IsMainWindow(window))
                reinterpret_cast<std::vector<RunningCopy>*>(found)->push_back(
                    RunningCopy{ProcessOf(window), window});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&copies));
    return copies;
}

bool WaitForExit(const RunningCopy& copy)
{
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, copy.processId);
    if (process == nullptr)
        return true;
    const bool ended = WaitForSingleObject(process, closeTimeoutMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

bool CloseCopy(const RunningCopy& copy)
{
    PostMessage(copy.window, WM_CLOSE, 0, 0);
    return WaitForExit(copy);
}

int EndAllCopies()
{
    int killed = 0;
    for (const DWORD processId : ProgramProcesses())
        if (!EndProcess(processId))
            ++killed;
    return killed;
}

int SlotOf(HWND mainWindow)
{
    // Each probe goes to a place of its own, so old values never match.
    static int probes = 0;
    ++probes;
    const int left = 40 + (probes * 37) % 500;
    const int top = 30 + (probes * 23) % 300;
    SetWindowPos(mainWindow, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    int slot = 0;
    WaitUntil(
        [&] {
            for (int candidate = 1; candidate <= slotCount && slot == 0; ++candidate)
                if (RecordsPlace(candidate, left, top))
                    slot = candidate;
            return slot != 0;
        },
        3000);
    return slot;
}

HWND PaneOf(HWND mainWindow)
{
    return FindWindowExA(mainWindow, nullptr, "#32770", nullptr);
}

HWND PaneControl(HWND mainWindow, int id)
{
    const HWND pane = PaneOf(mainWindow);
    return pane != nullptr ? GetDlgItem(pane, id) : nullptr;
}

int FocusedPaneControl(HWND mainWindow)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(mainWindow, nullptr), &info))
        return 0;
    const HWND pane = PaneOf(mainWindow);
    HWND control = info.hwndFocus;
    while (control != nullptr && GetParent(control) != pane)
        control = GetParent(control);
    return control != nullptr ? GetDlgCtrlID(control) : 0;
}

void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (const WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND OwnedDialog(HWND owner)
{
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) {
            auto* wanted = reinterpret_cast<Search*>(context);
            if (ClassOf(window) == "#32770" && GetWindow(window, GW_OWNER) == wanted->owner &&
                IsWindowVisible(window)) {
                wanted->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string TextOf(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string ComboItemText(HWND combo, int item)
{
    wchar_t wide[512] = {};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(wide));
    char text[1024] = {};
    WideCharToMultiByte(1252, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

void RealProgramTest::SetUp()
{
    EndAllCopies();
    DeleteSettingsKey();
}

void RealProgramTest::TearDown()
{
    EXPECT_EQ(EndAllCopies(), 0) << "copies that did not end when asked to close";
    DeleteSettingsKey();
}
