// The full-body search dialog: a modeless dialog, owned by the browser pane,
// that runs a query over the titles and bodies of the pane's category and
// opens a found entry in the pane. Closing it only hides it; it stays bound
// to the category it last searched. A process has at most one.
#pragma once

#include <windows.h>

#include <vector>

#include "shell/handheld/aygshell.h"

class BrowserPane;

class SearchDialog {
  public:
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    BrowserPane* pane = nullptr;
    // The category the dialog is bound to; -1 once its window is destroyed.
    int searchCategory = -1;
    // Handheld: the shell's activation record and the empty menu bar.
    SHACTIVATEINFO activation = {sizeof(SHACTIVATEINFO), nullptr, 0, 0, 0, 0};
    HWND menuBar = nullptr;
    // The query the result list was found by.
    TCHAR resultsQuery[260] = {};

    SearchDialog(HINSTANCE moduleInstance, BrowserPane& owner, int category);

    // Creates the dialog window from template 123, hidden, owned by the
    // pane's window; null when it cannot be created.
    HWND CreateSearch();
    // Shows the dialog in its normal state with the focus in the search box.
    void ShowSearch();
    void HideSearch();
    void DestroySearch();

    void InitSearch();
    // Saves the placement (desktop only) and lays out the controls.
    void SaveAndLayout();
    // Runs the query in the search box over the pane's current category and
    // fills the result list.
    void RunSearch();

    void OnCommand(int control, int code);
    HWND Control(int id) const { return GetDlgItem(window, id); }

  private:
    void LayoutSearch();
    void ListTitles(const std::vector<int>& entries);
    void ChooseAndMaybeHide();
    void ChooseResultRow();
    int SlotNumber() const;
};

INT_PTR CALLBACK SearchDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
