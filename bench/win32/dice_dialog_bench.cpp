// Time of the largest roll the dice dialog allows (999 dice of 100 sides plus
// 999, 999 times: 998,001 draws and 1,000 lines) from the click on Roll to
// the repainted result list, with the real list box under Wine; beside it the
// same roll without the dialog, and the cost of a list that repaints after
// every line, which the dialog avoids.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/win32/bench_clock.h"
#include "dice/dice_dialog.h"
#include "dice/dice_engine.h"
#include "pane/browser_pane.h"
#include "resources/shared/resource_ids.h"
#include "settings/settings_key.h"

namespace {

constexpr int runs = 9;
constexpr int linesPerRoll = 1000;

BOOL CALLBACK FindDiceWindow(HWND window, LPARAM found)
{
    char text[32] = {};
    GetWindowText(window, text, 32);
    if (lstrcmp(text, "Roll Dice") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void SetLargestRequest(HWND dialog)
{
    SetDlgItemText(dialog, IDC_DICE_COUNT, "999");
    SendDlgItemMessage(dialog, IDC_DIE_LIST, CB_SETCURSEL, 8, 0); // "d100"
    SetDlgItemText(dialog, IDC_DICE_MODIFIER, "999");
    SetDlgItemText(dialog, IDC_DICE_REPEATS, "999");
}

int LineCount(HWND dialog)
{
    return static_cast<int>(SendDlgItemMessage(dialog, IDC_DICE_RESULTS, LB_GETCOUNT, 0, 0));
}

// From the click on Roll until the list has painted what it now holds.
double TimeRollClick(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_DICE_RESULTS);
    const LARGE_INTEGER start = Now();
    SendDlgItemMessage(dialog, IDC_ROLL, BM_CLICK, 0, 0);
    UpdateWindow(list);
    PumpMessages();
    return Milliseconds(start, Now());
}

double TimeEngineOnly()
{
    RollRequest request;
    request.count = 999;
    request.sides = 100;
    request.modifier = 999;
    request.repeats = 999;
    int lines = 0;
    const LARGE_INTEGER start = Now();
    RollDice(request, [&lines](const char*) { ++lines; });
    const double time = Milliseconds(start, Now());
    if (lines != linesPerRoll)
        std::printf("engine made %d lines, not %d\n", lines, linesPerRoll);
    return time;
}

// What the list would cost if it repainted after every inserted line.
double TimeLineByLineRepaint(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_DICE_RESULTS);
    SendMessage(dialog, WM_COMMAND, IDM_CLEAR_DICE, 0);
    PumpMessages();
    const LARGE_INTEGER start = Now();
    for (int i = 0; i < linesPerRoll; ++i) {
        SendMessage(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("999d100+999 = 50000"));
        UpdateWindow(list);
    }
    SendMessage(list, LB_SETCURSEL, 0, 0);
    PumpMessages();
    return Milliseconds(start, Now());
}

struct Figures {
    double median;
    double best;
    double worst;
};

Figures Summarize(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return Figures{times[times.size() / 2], times.front(), times.back()};
}

void Report(const char* what, const Figures& figures)
{
    std::printf("%-44s median %8.2f ms  min %8.2f ms  max %8.2f ms\n", what, figures.median,
                figures.best, figures.worst);
}

} // namespace

int main()
{
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
    SeedDiceGenerator(GetTickCount());
    HWND host = CreateWindowEx(0, "STATIC", "Benchmark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               500, 600, nullptr, nullptr, GetModuleHandle(nullptr), nullptr);
    BrowserPane pane;
    pane.CreatePane(GetModuleHandle(nullptr), host, nullptr);
    pane.OpenDice();
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDiceWindow, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) {
        std::printf("the dice dialog did not open\n");
        return 1;
    }
    MoveWindow(dialog, 520, 0, 330, 420, TRUE);
    PumpMessages();
    std::printf(
        "largest roll: 999d100+999 repeated 999 times (998,001 draws, %d lines), %d runs each\n",
        linesPerRoll, runs);

    std::vector<double> engine;
    for (int run = 0; run < runs; ++run)
        engine.push_back(TimeEngineOnly());

    std::vector<double> intoEmpty;
    for (int run = 0; run < runs; ++run) {
        SendMessage(dialog, WM_COMMAND, IDM_CLEAR_DICE, 0);
        SetLargestRequest(dialog);
        PumpMessages();
        intoEmpty.push_back(TimeRollClick(dialog));
        if (LineCount(dialog) != linesPerRoll)
            std::printf("the list holds %d lines, not %d\n", LineCount(dialog), linesPerRoll);
    }

    std::vector<double> ontoEarlier;
    SendMessage(dialog, WM_COMMAND, IDM_CLEAR_DICE, 0);
    SetLargestRequest(dialog);
    for (int run = 0; run < runs; ++run)
        ontoEarlier.push_back(TimeRollClick(dialog));
    const int heldAtLast = LineCount(dialog);

    const Figures engineFigures = Summarize(engine);
    const Figures emptyFigures = Summarize(intoEmpty);
    const Figures earlierFigures = Summarize(ontoEarlier);
    Report("roll alone (engine, no list)", engineFigures);
    Report("click to repainted list, list empty", emptyFigures);
    Report("click to repainted list, onto earlier lines", earlierFigures);
    std::printf("  (the list held 0 to %d lines before each of those rolls)\n",
                heldAtLast - linesPerRoll);
    std::printf("dialog / engine alone: %.2f\n", emptyFigures.median / engineFigures.median);

    const double lineByLine = TimeLineByLineRepaint(dialog);
    std::printf("%-44s %8.2f ms once (%.0f times the dialog's median)\n",
                "1,000 lines repainting after each", lineByLine, lineByLine / emptyFigures.median);
    std::printf("target: under 50 ms from the click to the repainted list\n");

    SendMessage(dialog, WM_CLOSE, 0, 0);
    PumpMessages();
    pane.DestroyPane();
    DestroyWindow(host);
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
    return 0;
}
