// Start-up time of the desktop program under Wine: from creating its process
// until the pane shows the entry restored from the settings key, against the
// time a bare Win32 program of the same window size takes to show its window.
// Both are watched the same way, by a message sent from this process to the
// window that shows the result, which only the program's message loop answers.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/win32/bench_clock.h"
#include "resources/shared/resource_ids.h"
#include "settings/settings_key.h"

namespace {

constexpr int runs = 15;
constexpr DWORD timeoutMs = 30000;
const RECT windowRect = {100, 80, 620, 680};

// The build passes paths as the build machine spells them; under Wine a Unix
// path is reached through drive Z:.
std::string WindowsPath(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path[0] == '\\')
        path = "Z:" + path;
    return path;
}

// What to watch in a started program: the window whose text shows that the
// program is ready.
using FindWatchedWindow = HWND (*)();

HWND BareWindow()
{
    return FindWindowA("BareWindowClass", nullptr);
}

HWND RestoredEntryView()
{
    const HWND main = FindWindowA("VellumRulesClass", nullptr);
    const HWND pane = main != nullptr ? FindWindowExA(main, nullptr, "#32770", nullptr) : nullptr;
    return pane != nullptr ? GetDlgItem(pane, IDC_TEXT_VIEW) : nullptr;
}

bool ShowsText(HWND window)
{
    DWORD_PTR length = 0;
    return window != nullptr &&
           SendMessageTimeout(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, timeoutMs, &length) &&
           length > 0;
}

// The first entry of the first category, in a window at windowRect.
void PrepareSettings()
{
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
    SettingsKey settings;
    OpenSettings(settings);
    settings.WriteNumber("Category", 0);
    settings.WriteNumber("Item", 0);
    settings.WriteNumber("Last State 1", SW_SHOWNORMAL);
    settings.WriteNumber("Left 1", windowRect.left);
    settings.WriteNumber("Top 1", windowRect.top);
    settings.WriteNumber("Width 1", windowRect.right - windowRect.left);
    settings.WriteNumber("Height 1", windowRect.bottom - windowRect.top);
}

HWND TopLevelOf(HWND window)
{
    return GetAncestor(window, GA_ROOT);
}

// One start: milliseconds until the watched window shows text; the program
// is closed and waited for before the next run. Negative on failure.
double TimeOneStart(const std::string& program, const std::string& arguments,
                    FindWatchedWindow findWatched)
{
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    LARGE_INTEGER start;
    LARGE_INTEGER shown;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started))
        return -1;
    HWND watched = nullptr;
    const DWORD begun = GetTickCount();
    while (!ShowsText(watched = findWatched()) && GetTickCount() - begun < timeoutMs)
        Sleep(1);
    QueryPerformanceCounter(&shown);
    const bool ok = ShowsText(watched);
    if (watched != nullptr)
        PostMessage(TopLevelOf(watched), WM_CLOSE, 0, 0);
    if (WaitForSingleObject(started.hProcess, timeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(started.hProcess, 1);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return ok ? Milliseconds(start, shown) : -1;
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double Ninetieth(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() * 9 / 10];
}

void Report(const char* what, const std::vector<double>& times)
{
    std::printf("%-34s median %7.1f ms  90%% %7.1f ms  min %7.1f ms  max %7.1f ms  (%zu runs)\n", what,
                Median(times), Ninetieth(times), *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()), times.size());
}

}  // namespace

int main()
{
    const std::string program = WindowsPath(VELLUMRULES_PROGRAM);
    const std::string bare = WindowsPath(BARE_WINDOW_PROGRAM);
    const std::string bareLike = WindowsPath(BARE_LIKE_PROGRAM);
    char rect[64];
    std::snprintf(rect, sizeof rect, "%ld %ld %ld %ld", windowRect.left, windowRect.top,
                  windowRect.right - windowRect.left, windowRect.bottom - windowRect.top);

    // The first start of each loads its files and DLLs from disk; not counted.
    PrepareSettings();
    TimeOneStart(program, "", RestoredEntryView);
    TimeOneStart(bare, rect, BareWindow);
    TimeOneStart(bareLike, rect, BareWindow);

    std::vector<double> programTimes;
    std::vector<double> bareTimes;
    std::vector<double> bareLikeTimes;
    for (int run = 0; run < runs; ++run) {
        PrepareSettings();
        const double programTime = TimeOneStart(program, "", RestoredEntryView);
        const double bareTime = TimeOneStart(bare, rect, BareWindow);
        const double bareLikeTime = TimeOneStart(bareLike, rect, BareWindow);
        if (programTime < 0 || bareTime < 0 || bareLikeTime < 0) {
            std::printf("run %d: a program did not show its window\n", run + 1);
            return 1;
        }
        programTimes.push_back(programTime);
        bareTimes.push_back(bareTime);
        bareLikeTimes.push_back(bareLikeTime);
    }
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);

    std::printf("start-up under Wine, window %ld x %ld, runs alternated\n",
                windowRect.right - windowRect.left, windowRect.bottom - windowRect.top);
    Report("vellumrules, restored entry shown", programTimes);
    Report("bare Win32 window shown", bareTimes);
    Report("bare window built like it, shown", bareLikeTimes);
    std::printf("ratio of medians to the bare window built like it %.2f (target: at most 1.30)\n",
                Median(programTimes) / Median(bareLikeTimes));
    std::printf("ratio of medians to the plain bare window %.2f (target: at most 1.60)\n",
                Median(programTimes) / Median(bareTimes));
    return 0;
}
