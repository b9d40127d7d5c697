// Time per keystroke of the item list's type-ahead filter, with the real
// combo box under Wine: a three-word query typed character by character into
// a category of 541 entries and about 1 MB of bodies (4 or 16 times as many
// in the _x4 and _x16 builds), with titles only and with BodySearch on, and
// the cost of refilling the full list.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/win32/bench_clock.h"
#include "pane/browser_pane.h"
#include "resources/shared/resource_ids.h"
#include "settings/settings_key.h"

namespace {

const char query[] = "storm ward ice";
constexpr int runs = 7;

HWND ItemEdit(const BrowserPane& pane)
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    GetComboBoxInfo(pane.Control(IDC_ITEM_LIST), &info);
    return info.hwndItem;
}

// Empties the edit field and closes the list between runs.
void ResetQuery(BrowserPane& pane)
{
    SendMessage(pane.Control(IDC_ITEM_LIST), CB_SHOWDROPDOWN, FALSE, 0);
    SetWindowText(pane.Control(IDC_ITEM_LIST), "");
    pane.filterText[0] = 0;
    pane.RestoreFullItemList();
    PumpMessages();
}

// The titles the open list shows.
std::vector<std::string> ListedTitles(HWND list)
{
    std::vector<std::string> titles;
    const int count = static_cast<int>(SendMessage(list, CB_GETCOUNT, 0, 0));
    char text[textBufferLength];
    for (int i = 0; i < count; ++i) {
        GetItemText(list, i, text);
        titles.emplace_back(text);
    }
    return titles;
}

// Each keystroke until the list has repainted; the titles left after each
// are kept for the baseline.
std::vector<double> TypeQuery(BrowserPane& pane, std::vector<std::vector<std::string>>& remaining)
{
    std::vector<double> times;
    HWND edit = ItemEdit(pane);
    for (const char* c = query; *c != 0; ++c) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        SendMessage(edit, WM_CHAR, static_cast<WPARAM>(*c), 1);
        UpdateWindow(pane.Control(IDC_ITEM_LIST));
        PumpMessages();
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
        remaining.push_back(ListedTitles(pane.Control(IDC_ITEM_LIST)));
    }
    return times;
}

// The baseline of a keystroke: the open list refilled with the titles that
// remained after it, in one pass with redraw off, and repainted.
double RefillWith(BrowserPane& pane, const std::vector<std::string>& titles)
{
    HWND list = pane.Control(IDC_ITEM_LIST);
    const LARGE_INTEGER start = Now();
    SendMessage(list, WM_SETREDRAW, FALSE, 0);
    SendMessage(list, CB_RESETCONTENT, 0, 0);
    SendMessage(list, CB_INITSTORAGE, titles.size(), static_cast<LPARAM>(titles.size()) * 32);
    for (const std::string& title : titles)
        SendMessage(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
    RedrawItemList(list);
    UpdateWindow(list);
    PumpMessages();
    return Milliseconds(start, Now());
}

void Report(const char* mode, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%-24s keystrokes %3zu  median %7.3f ms  90%% %7.3f ms  max %7.3f ms\n", mode, times.size(),
                times[times.size() / 2], times[times.size() * 9 / 10], times.back());
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Keystrokes with the mode's setting, then the same lists refilled, each run
// alternating the two so that both bear the same load.
void Measure(BrowserPane& pane, bool bodySearch, const char* mode, const char* baseline)
{
    pane.BodySearch = bodySearch;
    std::vector<double> all;
    std::vector<double> refills;
    for (int run = 0; run < runs; ++run) {
        ResetQuery(pane);
        std::vector<std::vector<std::string>> remaining;
        const std::vector<double> times = TypeQuery(pane, remaining);
        all.insert(all.end(), times.begin(), times.end());
        SendMessage(pane.Control(IDC_ITEM_LIST), CB_SHOWDROPDOWN, TRUE, 0);
        for (const std::vector<std::string>& titles : remaining)
            refills.push_back(RefillWith(pane, titles));
    }
    Report(mode, all);
    Report(baseline, refills);
    std::printf("%-24s ratio of medians %.2f (target: at most 1.50 with BodySearch on)\n", mode,
                Median(all) / Median(refills));
}

void MeasureRefill(BrowserPane& pane)
{
    std::vector<double> times;
    HWND list = pane.Control(IDC_ITEM_LIST);
    for (int run = 0; run < 20; ++run) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        SendMessage(list, WM_SETREDRAW, FALSE, 0);
        QueryPerformanceCounter(&start);
        pane.RestoreFullItemList();
        QueryPerformanceCounter(&end);
        SendMessage(list, WM_SETREDRAW, TRUE, 0);
        times.push_back(Milliseconds(start, end));
    }
    Report("refill the full list", times);
}

}  // namespace

int main()
{
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
    HWND host = CreateWindowEx(0, "STATIC", "Benchmark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 600,
                               nullptr, nullptr, GetModuleHandle(nullptr), nullptr);
    BrowserPane pane;
    pane.CreatePane(GetModuleHandle(nullptr), host, nullptr);
    MoveWindow(pane.window, 0, 0, 480, 560, TRUE);
    ShowWindow(pane.window, SW_SHOW);
    SendMessage(pane.Control(IDC_CATEGORY_LIST), CB_SETCURSEL, 0, 0);
    pane.OnCategoryChanged();
    std::printf("type-ahead over %d titles, query \"%s\" typed in %d runs\n",
                static_cast<int>(SendMessage(pane.Control(IDC_ITEM_LIST), CB_GETCOUNT, 0, 0)), query, runs);
    Measure(pane, false, "titles only", "refill, titles only");
    Measure(pane, true, "BodySearch on", "refill, BodySearch on");
    MeasureRefill(pane);
    std::printf("target: median under 5 ms per keystroke with BodySearch on\n");
    pane.DestroyPane();
    DestroyWindow(host);
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
    return 0;
}
