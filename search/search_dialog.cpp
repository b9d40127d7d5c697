// The full-body search dialog: opening, re-showing and throwing away the
// dialog, its dialog procedure, the search over its result list, and the
// choice of a result in the browser pane.
#include "search/search_dialog.h"

#include <new>

#include "data/display_text.h"
#include "options/display_font.h"
#include "pane/browser_pane.h"
#include "pane/entry_text.h"
#include "resources/shared/resource_ids.h"
#include "search/entry_rows.h"
#include "search/search_engine.h"
#include "settings/settings_key.h"
#include "shell/desktop/modeless_dialogs.h"
#include "shell/desktop/placement.h"
#include "shell/handheld/full_screen_dialog.h"
#include "shell/platform.h"

// Only the desktop's main window has a slot number. The handheld program
// defines a MainWindow class of its own, and a program may hold only one
// definition of a class: the wide build must not see the desktop's.
#ifndef UNICODE
#include "shell/desktop/main_window.h"
#endif

namespace {

SearchDialog* processSearch = nullptr;

const TCHAR searchingRow[] = TEXT("   (searching...)");
const TCHAR noMatchesRow[] = TEXT("   (no matches)");

// A pane without a main window (in tests and benchmarks) keeps its search
// placement under the first window's number, as the dice dialogs do.
constexpr int slotWithoutMainWindow = 1;

const int guiFontControls[] = {IDC_SEARCH_BOX, IDC_SEARCH_RESULTS, IDC_SEARCH_FIND};

void ShowWaitCursor()
{
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

// No cursor is set: the window's own cursor returns at the next mouse move.
void TakeWaitCursorAway()
{
    SetCursor(nullptr);
}

void ShowNoTypeMessage(HWND owner)
{
    MessageBox(owner, TEXT("Please select a type to search in first"), TEXT("No type"),
               MB_OK | MB_ICONWARNING);
}

// The row's text into a buffer of textBufferLength characters; false (and an
// empty text) when there is no such row or it does not fit.
bool GetRowText(HWND list, int row, TCHAR* text)
{
    text[0] = 0;
    const LRESULT length = SendMessage(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length == LB_ERR || length >= textBufferLength)
        return false;
    return SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(text)) != LB_ERR;
}

void AddRow(HWND list, const TCHAR* text)
{
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

// The search category's entries as the engine's rows, tested through the
// pane's row test with the body included; the result list then shows the
// rows that remain, filled once.
class ResultRows final : public EntryRows<TCHAR> {
  public:
    ResultRows(const BrowserPane& owner, int category)
        : EntryRows<TCHAR>(owner.CountIfCurrent(category)), pane(owner), searchCategory(category)
    {
    }
    bool RowHasWord(int row, const TCHAR* word, int length) const override
    {
        return pane.currentCategory == searchCategory &&
               EntryRowHasWord(searchCategory, EntryOf(row), word, length, true);
    }

  private:
    const BrowserPane& pane;
    int searchCategory;
};

SIZE WindowSize(HWND window)
{
    RECT bounds;
    GetWindowRect(window, &bounds);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

// A dialog sized below its controls (or minimized) gets empty controls
// rather than negative sizes.
int NonNegative(int size)
{
    return size > 0 ? size : 0;
}

PlacementNames SearchPlacementNames(int slotNumber)
{
    TCHAR number[16];
    wsprintf(number, TEXT("%d"), slotNumber);
    return MakePlacementNames(TEXT("Search "), number);
}

// A missing, incomplete, too small or off-screen record leaves the dialog
// where the system put it.
void RestoreSearchPlacement(HWND window, int slotNumber)
{
    const PlacementNames names = SearchPlacementNames(slotNumber);
    SettingsKey settings;
    OpenSettings(settings);
    int state = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    const bool complete =
        settings.ReadNumber(names.state, &state) && settings.ReadNumber(names.left, &left) &&
        settings.ReadNumber(names.top, &top) && settings.ReadNumber(names.width, &width) &&
        settings.ReadNumber(names.height, &height);
    if (complete && FitsVirtualScreen(left, top, width, height))
        MoveWindow(window, left, top, width, height, TRUE);
}

BOOL OnSearchInitDialog(HWND window, LPARAM parameter)
{
    AddModelessDialog(window);
    if (isHandheld)
        SetUpFullScreenDialog(window);
    processSearch = reinterpret_cast<SearchDialog*>(parameter);
    processSearch->window = window;
    processSearch->InitSearch();
    return TRUE;
}

// The object outlives its window until the pane frees it; the handle is
// dropped so that nothing reaches a window that may be reused.
BOOL OnSearchDestroy(HWND window)
{
    processSearch->searchCategory = -1;
    processSearch->window = nullptr;
    processSearch = nullptr;
    RemoveModelessDialog(window);
    return TRUE;
}

} // namespace

SearchDialog::SearchDialog(HINSTANCE moduleInstance, BrowserPane& owner, int category)
    : instance(moduleInstance), pane(&owner), searchCategory(category)
{
}

// The desktop program lets the dialog manager find template 123; the handheld
// program loads it and creates the dialog from memory.
HWND SearchDialog::CreateSearch()
{
    const auto parameter = reinterpret_cast<LPARAM>(this);
    if (!isHandheld)
        return CreateDialogParam(instance, MAKEINTRESOURCE(IDD_SEARCH), pane->window,
                                 SearchDialogProc, parameter);
    HRSRC found = FindResource(instance, MAKEINTRESOURCE(IDD_SEARCH), RT_DIALOG);
    HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const auto* dialogTemplate =
        static_cast<const DLGTEMPLATE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (dialogTemplate == nullptr)
        return nullptr;
    return CreateDialogIndirectParam(instance, dialogTemplate, pane->window, SearchDialogProc,
                                     parameter);
}

void SearchDialog::ShowSearch()
{
    ShowWindow(window, SW_SHOWNORMAL);
    if (menuBar != nullptr)
        ShowWindow(menuBar, SW_SHOW);
    // Through the dialog manager, so that the default button follows.
    SendMessage(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(IDC_SEARCH_BOX)), TRUE);
}

void SearchDialog::HideSearch()
{
    ShowWindow(window, SW_HIDE);
    if (menuBar != nullptr)
        ShowWindow(menuBar, SW_HIDE);
}

void SearchDialog::DestroySearch()
{
    if (window != nullptr)
        DestroyWindow(window);
}

void SearchDialog::InitSearch()
{
    if (isHandheld) {
        SHMENUBARINFO bar = {};
        bar.cbSize = sizeof bar;
        bar.hwndParent = window;
        bar.nToolBarId = IDR_SEARCH_MENU_BAR;
        bar.hInstRes = instance;
        SHCreateMenuBar(&bar);
        menuBar = bar.hwndMB;
    }
    SendDlgItemMessage(window, IDC_SEARCH_BOX, EM_LIMITTEXT, itemTextLimit, 0);
    if (isHandheld) {
        LayoutSearch();
        return;
    }
    for (const int control : guiFontControls)
        ApplyGuiFont(window, control);
    // The handheld program keeps no placement: none of the desktop's
    // placement code is built into it.
    if constexpr (!isHandheld)
        RestoreSearchPlacement(window, SlotNumber());
    SaveAndLayout();
}

#ifdef UNICODE
int SearchDialog::SlotNumber() const
{
    return slotWithoutMainWindow;
}
#else
int SearchDialog::SlotNumber() const
{
    return pane->owner != nullptr ? pane->owner->slotNumber : slotWithoutMainWindow;
}
#endif

void SearchDialog::SaveAndLayout()
{
    if constexpr (!isHandheld)
        SavePlacement(window, SearchPlacementNames(SlotNumber()));
    LayoutSearch();
}

// Find keeps its size at the top right, the search box fills the rest of the
// top row, and the result list takes everything below.
void SearchDialog::LayoutSearch()
{
    RECT client;
    GetClientRect(window, &client);
    HWND find = Control(IDC_SEARCH_FIND);
    HWND box = Control(IDC_SEARCH_BOX);
    const SIZE findSize = WindowSize(find);
    const int boxHeight = WindowSize(box).cy;
    const int findLeft = client.right - findSize.cx - 4;
    const int listTop = boxHeight + 4;
    MoveWindow(find, findLeft, 2, findSize.cx, findSize.cy, TRUE);
    MoveWindow(box, 2, 2, NonNegative(findLeft - 2 - 2), boxHeight, TRUE);
    MoveWindow(Control(IDC_SEARCH_RESULTS), 2, listTop, NonNegative(client.right - 4),
               NonNegative(client.bottom - 2 - listTop), TRUE);
}

void SearchDialog::RunSearch()
{
    searchCategory = pane->currentCategory;
    if (searchCategory < 0) {
        ShowNoTypeMessage(window);
        return;
    }
    HWND list = Control(IDC_SEARCH_RESULTS);
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    AddRow(list, searchingRow);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);

    SendMessage(list, WM_SETREDRAW, FALSE, 0);
    ShowWaitCursor();
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    GetDlgItemText(window, IDC_SEARCH_BOX, resultsQuery, textBufferLength);
    ResultRows rows(*pane, searchCategory);
    ApplyQuery(rows, resultsQuery);
    ListTitles(rows.Entries());
    if (SendMessage(list, LB_GETCOUNT, 0, 0) <= 0)
        AddRow(list, noMatchesRow);

    TakeWaitCursorAway();
    // The focus moves while the list still does not redraw, so that the list
    // is painted once, with its focus, rather than once for each.
    SendMessage(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    SendMessage(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// A title whose copy cannot be made is left out: its row could not be found
// again in the pane anyway.
void SearchDialog::ListTitles(const std::vector<int>& entries)
{
    HWND list = Control(IDC_SEARCH_RESULTS);
    const auto count = static_cast<WPARAM>(entries.size());
    SendMessage(list, LB_INITSTORAGE, count, static_cast<LPARAM>(count) * 32 * sizeof(TCHAR));
    for (const int entry : entries) {
        DisplayText title(pane->TitleIfCurrent(searchCategory, entry));
        if (title)
            AddRow(list, title.get());
    }
}

void SearchDialog::ChooseAndMaybeHide()
{
    ChooseResultRow();
    if (isHandheld || !pane->StickyFull)
        HideSearch();
}

// The entry opened shows the words of the query its row was found by.
void SearchDialog::ChooseResultRow()
{
    lstrcpyn(pane->highlightQuery, resultsQuery, textBufferLength);
    pane->ChooseResult(searchCategory, Control(IDC_SEARCH_RESULTS));
    pane->highlightQuery[0] = 0;
}

void SearchDialog::OnCommand(int control, int code)
{
    switch (control) {
    case IDOK:
        // The handheld caption's OK button: hides whatever StickyFull says.
        ChooseResultRow();
        HideSearch();
        break;
    case IDCANCEL:
        HideSearch();
        break;
    case IDC_SEARCH_FIND:
        // Enter arrives as Find, the default button: in the result list it
        // chooses the selected row.
        if (GetFocus() == Control(IDC_SEARCH_RESULTS))
            ChooseAndMaybeHide();
        else
            RunSearch();
        break;
    case IDC_SEARCH_RESULTS:
        if (code == LBN_DBLCLK)
            ChooseAndMaybeHide();
        break;
    }
}

INT_PTR CALLBACK SearchDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnSearchInitDialog(window, lParam);
    // The dialog's creation sends a few messages before WM_INITDIALOG.
    if (processSearch == nullptr || processSearch->window != window)
        return FALSE;
    switch (message) {
    case WM_MOVE:
        // The handheld dialog keeps no placement and lays out on size alone.
        if (isHandheld)
            return FALSE;
        processSearch->SaveAndLayout();
        return TRUE;
    case WM_SIZE:
        processSearch->SaveAndLayout();
        return TRUE;
    case WM_DESTROY:
        return OnSearchDestroy(window);
    case WM_COMMAND:
        processSearch->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_ACTIVATE:
        // The handheld shell keeps its soft keyboard and the dialog in step.
        if (isHandheld)
            SHHandleWMActivate(window, wParam, lParam, &processSearch->activation, 0);
        return isHandheld;
    case WM_SETTINGCHANGE:
        if (isHandheld)
            SHHandleWMSettingChange(window, wParam, lParam, &processSearch->activation);
        return isHandheld;
    }
    return FALSE;
}

void BrowserPane::OpenSearch()
{
    if (currentCategory < 0) {
        ShowNoTypeMessage(window);
        return;
    }
    if (searchDialog != nullptr && searchDialog->searchCategory != currentCategory)
        DiscardSearch();
    if (searchDialog != nullptr) {
        searchDialog->ShowSearch();
        return;
    }
    if (isHandheld)
        SHInitExtraControls();
    searchDialog = new (std::nothrow) SearchDialog(instance, *this, currentCategory);
    if (searchDialog == nullptr)
        return;
    // An object without a window would only be re-shown as nothing: drop it,
    // so that the next command tries again.
    if (searchDialog->CreateSearch() == nullptr) {
        DiscardSearch();
        return;
    }
    searchDialog->ShowSearch();
}

void BrowserPane::DiscardSearch()
{
    if (searchDialog == nullptr)
        return;
    searchDialog->DestroySearch();
    delete searchDialog;
    searchDialog = nullptr;
}

void BrowserPane::ChooseResult(int category, HWND resultList)
{
    if (category != currentCategory || category < 0)
        return;
    const auto row = static_cast<int>(SendMessage(resultList, LB_GETCURSEL, 0, 0));
    TCHAR text[textBufferLength];
    if (row == LB_ERR || !GetRowText(resultList, row, text))
        return;
    if (itemListFiltered)
        RestoreFullItemList();
    const int item = FindItemExactly(text);
    if (item < 0)
        return;
    SendDlgItemMessage(window, IDC_ITEM_LIST, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    ShowSelectedEntry();
}
