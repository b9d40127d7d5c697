// Where the desktop program's start-up time goes, in one process under Wine
// with the shipped rules: creating the pane (load, lists, the restored entry
// shown in the dialog font), its first layout (which creates the display font
// and hands it to the text view, re-wrapping the shown entry), and, for
// comparison, the re-wrap and the first wrap of the same text on their own
// and a bare window created and shown.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/win32/bench_clock.h"
#include "pane/browser_pane.h"
#include "resources/shared/resource_ids.h"
#include "settings/settings_key.h"

namespace {

constexpr int runs = 15;

struct Parts {
    std::vector<double> createPane;
    std::vector<double> firstLayout;
    std::vector<double> rewrapAlone;
    std::vector<double> firstWrapAlone;
    std::vector<double> bareWindow;
};

void Report(const char* what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%-46s median %7.2f ms  min %7.2f ms  max %7.2f ms\n", what,
                times[times.size() / 2], times.front(), times.back());
}

HFONT OtherFont()
{
    LOGFONT font = {};
    font.lfHeight = -15;
    lstrcpyn(font.lfFaceName, "DejaVu Sans", LF_FACESIZE);
    return CreateFontIndirect(&font);
}

void MeasureOnePane(Parts& parts, HFONT otherFont)
{
    HWND host = CreateWindowEx(0, "STATIC", "Benchmark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                               80, 520, 600, nullptr, nullptr, GetModuleHandle(nullptr), nullptr);
    BrowserPane pane;
    LARGE_INTEGER start = Now();
    pane.CreatePane(GetModuleHandle(nullptr), host, nullptr);
    LARGE_INTEGER created = Now();
    RECT client;
    GetClientRect(host, &client);
    MoveWindow(pane.window, 0, 0, client.right, client.bottom, TRUE);
    LARGE_INTEGER laidOut = Now();
    ShowWindow(pane.window, SW_SHOW);
    PumpMessages();
    parts.createPane.push_back(Milliseconds(start, created));
    parts.firstLayout.push_back(Milliseconds(created, laidOut));

    HWND view = pane.Control(IDC_TEXT_VIEW);
    const auto shownFont = SendMessage(view, WM_GETFONT, 0, 0);
    start = Now();
    SendMessage(view, WM_SETFONT, reinterpret_cast<WPARAM>(otherFont), FALSE);
    parts.rewrapAlone.push_back(Milliseconds(start, Now()));
    SendMessage(view, WM_SETFONT, static_cast<WPARAM>(shownFont), FALSE);

    const int length = GetWindowTextLength(view);
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    GetWindowText(view, text.data(), length + 1);
    SetWindowText(view, "");
    start = Now();
    SetWindowText(view, text.data());
    parts.firstWrapAlone.push_back(Milliseconds(start, Now()));

    pane.DestroyPane();
    DestroyWindow(host);
    PumpMessages();
}

void MeasureBareWindow(Parts& parts)
{
    const LARGE_INTEGER start = Now();
    HWND window = CreateWindowEx(0, "STATIC", "Bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 520,
                                 600, nullptr, nullptr, GetModuleHandle(nullptr), nullptr);
    UpdateWindow(window);
    parts.bareWindow.push_back(Milliseconds(start, Now()));
    DestroyWindow(window);
    PumpMessages();
}

// The first entry of the first category, as the start-up benchmark stores it.
void StoreRestoredChoice()
{
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
    SettingsKey settings;
    OpenSettings(settings);
    settings.WriteNumber("Category", 0);
    settings.WriteNumber("Item", 0);
}

} // namespace

int main()
{
    StoreRestoredChoice();
    HFONT otherFont = OtherFont();
    Parts parts;
    for (int run = 0; run < runs; ++run) {
        MeasureOnePane(parts, otherFont);
        MeasureBareWindow(parts);
    }
    std::printf("start-up parts in one process under Wine, %d runs (the first run also loads "
                "the rules: max)\n",
                runs);
    Report("create pane: load, lists, restored entry", parts.createPane);
    Report("first layout: display font, re-wrap, layout", parts.firstLayout);
    Report("re-wrap of the shown entry alone (WM_SETFONT)", parts.rewrapAlone);
    Report("first wrap of the same text (SetWindowText)", parts.firstWrapAlone);
    Report("bare window created and shown", parts.bareWindow);
    DeleteObject(otherFont);
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
    return 0;
}
