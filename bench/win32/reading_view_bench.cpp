// Showing an entry, from the choice in the item list to the painted view,
// with the shipped rules under Wine: the longest entry of each category, in
// the rich view (bold title, table stops measured in the display font,
// links) against the plain edit control that shows the same text unmarked.
// Both views are measured in this one process, the plain one first, before
// the rich edit library is loaded.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/win32/bench_clock.h"
#include "data/rules_image.h"
#include "pane/browser_pane.h"
#include "pane/reading_view.h"
#include "resources/shared/resource_ids.h"
#include "settings/settings_key.h"

namespace {

constexpr int runs = 15;

struct Figures {
    double median = 0;
    double ninetieth = 0;
};

Figures Summarise(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return Figures{times[times.size() / 2], times[times.size() * 9 / 10]};
}

int LongestEntry(int category)
{
    int longest = 0;
    for (int e = 1; e < GetEntryCount(category); ++e) {
        if (std::strlen(GetEntryBody(category, e)) > std::strlen(GetEntryBody(category, longest)))
            longest = e;
    }
    return longest;
}

// Between two other entries, so that each choice shows a new text.
std::vector<double> TimeShowing(BrowserPane& pane, int category, int entry)
{
    SendMessage(pane.Control(IDC_CATEGORY_LIST), CB_SETCURSEL, static_cast<WPARAM>(category), 0);
    pane.OnCategoryChanged();
    HWND itemList = pane.Control(IDC_ITEM_LIST);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        SendMessage(itemList, CB_SETCURSEL, entry == 0 ? 1 : 0, 0);
        pane.ShowSelectedEntry();
        PumpMessages();
        const LARGE_INTEGER start = Now();
        SendMessage(itemList, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        pane.ShowSelectedEntry();
        UpdateWindow(pane.Control(IDC_TEXT_VIEW));
        const LARGE_INTEGER end = Now();
        PumpMessages();
        times.push_back(Milliseconds(start, end));
    }
    return times;
}

// Each category's longest entry, timed in a pane made now.
std::vector<Figures> MeasureView(HWND host)
{
    BrowserPane pane;
    pane.CreatePane(GetModuleHandle(nullptr), host, nullptr);
    RECT client;
    GetClientRect(host, &client);
    MoveWindow(pane.window, 0, 0, client.right, client.bottom, TRUE);
    ShowWindow(pane.window, SW_SHOW);
    PumpMessages();
    std::vector<Figures> figures;
    for (int c = 0; c < GetCategoryCount(); ++c)
        figures.push_back(Summarise(TimeShowing(pane, c, LongestEntry(c))));
    pane.DestroyPane();
    return figures;
}

}  // namespace

int main()
{
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
    HWND host = CreateWindowEx(0, "STATIC", "Benchmark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 720,
                               nullptr, nullptr, GetModuleHandle(nullptr), nullptr);
    const std::vector<Figures> plain = MeasureView(host);
    LoadRichEditLibrary();
    const std::vector<Figures> rich = MeasureView(host);
    std::printf("showing the longest entry of each category, choice to painted view, %d runs each\n", runs);
    double worstRatio = 0;
    double worstMedian = 0;
    for (int c = 0; c < GetCategoryCount(); ++c) {
        const double ratio = rich[c].median / plain[c].median;
        worstRatio = std::max(worstRatio, ratio);
        worstMedian = std::max(worstMedian, rich[c].median);
        std::printf("%-28s %6zu bytes  rich median %7.3f ms  90%% %7.3f ms  plain median %7.3f ms  90%% %7.3f ms"
                    "  ratio %5.2f\n",
                    GetCategoryName(c), std::strlen(GetEntryBody(c, LongestEntry(c))), rich[c].median,
                    rich[c].ninetieth, plain[c].median, plain[c].ninetieth, ratio);
    }
    std::printf("worst ratio rich/plain %.2f (target at most 1.5), worst rich median %.3f ms (target under 16 ms)\n",
                worstRatio, worstMedian);
    DestroyWindow(host);
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
    return 0;
}
