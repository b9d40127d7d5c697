// Time of a full-body search through the real dialog under Wine, from Find
// to the repainted result list: a three-word query with one negated word
// over a category of 541 entries and about 1 MB of bodies (4 or 16 times as
// many in the _x4 and _x16 builds); and, for scale, the cost of listing all
// the titles in the sorted result list alone.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/win32/bench_clock.h"
#include "data/display_text.h"
#include "pane/browser_pane.h"
#include "resources/shared/resource_ids.h"
#include "search/search_dialog.h"
#include "settings/settings_key.h"

namespace {

const char query[] = "storm ward -frost";
constexpr int runs = 21;

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Report(const char* what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%-28s runs %3zu  median %7.3f ms  90%% %7.3f ms  max %7.3f ms\n", what,
                times.size(), times[times.size() / 2], times[times.size() * 9 / 10], times.back());
}

// The CPU time this thread has used, in milliseconds (in steps of the
// system's clock tick, so only a sum over many runs says much).
double ThreadCpuMilliseconds()
{
    FILETIME creation;
    FILETIME exit;
    FILETIME kernel;
    FILETIME user;
    GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user);
    const auto ticks = [](const FILETIME& time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10000.0;
}

// Find pressed with the focus in the search box, until the list has painted.
// The wall time also holds what the X server and the Wine server spend on
// the paints, which a busy machine stretches: the program's own CPU time is
// added up in cpuTotal, to be printed beside it.
double TimeOneFind(SearchDialog& search, double& cpuTotal)
{
    HWND list = search.Control(IDC_SEARCH_RESULTS);
    SetFocus(search.Control(IDC_SEARCH_BOX));
    PumpMessages();
    const double cpuBefore = ThreadCpuMilliseconds();
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    SendMessage(search.window, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_FIND, BN_CLICKED),
                reinterpret_cast<LPARAM>(search.Control(IDC_SEARCH_FIND)));
    UpdateWindow(list);
    PumpMessages();
    QueryPerformanceCounter(&end);
    cpuTotal += ThreadCpuMilliseconds() - cpuBefore;
    return Milliseconds(start, end);
}

// Find lists its rows into a list that shows one row, the placeholder it
// painted before the search, so the list's scroll bar comes back with them.
// The baseline starts from that state too (not timed): otherwise it would
// keep the scroll bar of the rows before and leave out the scroll bar's
// repaint that any listing of many rows into a short list pays (a themed
// scroll bar costs as much as the rows under Wine).
void ShowOneRow(HWND list)
{
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("   (searching...)"));
    UpdateWindow(list);
    PumpMessages();
}

// The baseline: the titles alone into the emptied sorted list, redraw off,
// then the list painted, as Find ends.
double TimeOneListing(BrowserPane& pane, HWND list)
{
    ShowOneRow(list);
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    SendMessage(list, WM_SETREDRAW, FALSE, 0);
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    for (int e = 0; e < pane.CountIfCurrent(0); ++e) {
        DisplayText title(pane.TitleIfCurrent(0, e));
        SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.get()));
    }
    SendMessage(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    PumpMessages();
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

} // namespace

int main()
{
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
    HWND host = CreateWindowEx(0, "STATIC", "Benchmark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               500, 600, nullptr, nullptr, GetModuleHandle(nullptr), nullptr);
    BrowserPane pane;
    pane.CreatePane(GetModuleHandle(nullptr), host, nullptr);
    MoveWindow(pane.window, 0, 0, 480, 560, TRUE);
    ShowWindow(pane.window, SW_SHOW);
    SendMessage(pane.Control(IDC_CATEGORY_LIST), CB_SETCURSEL, 0, 0);
    pane.OnCategoryChanged();
    pane.OpenSearch();
    SearchDialog& search = *pane.searchDialog;
    MoveWindow(search.window, 520, 0, 400, 500, TRUE);
    SetDlgItemText(search.window, IDC_SEARCH_BOX, query);
    PumpMessages();

    // Alternated, so that a change in the machine's load between the two
    // series does not move their ratio.
    HWND list = search.Control(IDC_SEARCH_RESULTS);
    std::vector<double> find;
    std::vector<double> listing;
    double cpuTotal = 0;
    LRESULT rowsKept = 0;
    for (int run = 0; run < runs; ++run) {
        find.push_back(TimeOneFind(search, cpuTotal));
        rowsKept = SendMessage(list, LB_GETCOUNT, 0, 0);
        listing.push_back(TimeOneListing(pane, list));
    }
    std::printf("full-body search over %d entries, query \"%s\": %d rows kept\n",
                pane.CountIfCurrent(0), query, static_cast<int>(rowsKept));
    Report("Find to painted results", find);
    std::printf("%-28s mean %7.3f ms (the program's own thread, in clock ticks)\n",
                "CPU time per Find", cpuTotal / runs);
    Report("listing the titles only and painting", listing);
    std::printf("ratio of medians %.2f (target: at most 1.50)\n", Median(find) / Median(listing));

    pane.DestroyPane();
    DestroyWindow(host);
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
    return 0;
}
