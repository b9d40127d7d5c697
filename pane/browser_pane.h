// The browser pane: the child dialog that fills the main window with the
// category list, the item list (with its type-ahead filter) and the text
// view. It owns the browsing state; there is one per process.
#pragma once

#include <windows.h>

#include <vector>

#include "pane/entry_history.h"
#include "pane/reading_view.h"

class MainWindow;
class SearchDialog;
struct DiceDialog;

// Item texts pass through buffers of this many characters; typed text is
// limited to itemTextLimit characters.
constexpr int textBufferLength = 260;
constexpr int itemTextLimit = 250;

class BrowserPane {
public:
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    MainWindow* owner = nullptr;
    int currentCategory = -1;
    bool itemListFiltered = false;
    bool fontReady = false;
    TCHAR filterText[textBufferLength] = {};
    bool BodySearch = false;
    bool StickyFull = false;  // desktop only
    SearchDialog* searchDialog = nullptr;

    // The reading view: the entry it shows, its links, the search words the
    // next entry shown is to highlight, and the way back and forward.
    EntryRef shownEntry;
    std::vector<ViewLink> shownLinks;
    std::vector<TextRange> shownHighlights;
    TCHAR highlightQuery[textBufferLength] = {};
    EntryHistory history;

    HWND CreatePane(HINSTANCE moduleInstance, HWND parent, MainWindow* mainWindow);
    void DestroyPane();
    HWND GetPaneWindow() const { return window; }

    void InitPane();
    void OnCategoryChanged();
    void ShowSelectedEntry();
    int CountIfCurrent(int category) const;
    // A display copy of the title, released by the caller; null when the
    // category is not the current one.
    TCHAR* TitleIfCurrent(int category, int entry) const;
    void LayoutPane();

    // The type-ahead filter of the item list.
    void OnItemTextChanged();
    void FilterItemList(bool clear);
    void ApplyFilterWords();
    void RemoveNonMatchingItems(const TCHAR* word);
    bool EntryHasWord(int category, const TCHAR* word, int length, const TCHAR* title,
                      bool alsoBody) const;
    bool ItemHasWord(HWND itemList, int item, const TCHAR* word, int length) const;
    void RestoreFullItemList();

    void OnCommand(int code, int control);
    void OnItemListDropDown();
    void OnDiceClosed(DiceDialog* dice);

    // Runs the modal Options dialog over the pane (options/options_dialog.cpp).
    void OpenOptions();

    // The full-body search (search/search_dialog.cpp): opens, re-shows or
    // re-creates the search dialog; shows the entry of the result list's
    // selected row; destroys the dialog and frees its object.
    void OpenSearch();
    void ChooseResult(int category, HWND resultList);
    void DiscardSearch();
    // Opens another dice dialog (dice/dice_dialog.cpp).
    void OpenDice();

    HWND Control(int id) const { return GetDlgItem(window, id); }

    // Opens an entry as if the user had chosen its category, then its title.
    void OpenEntry(EntryRef target);
    void GoBack();
    void GoForward();
    // Marks the shown entry again in the new display font.
    void OnDisplayFontChanged();
    // The view's link and key notifications; the result for the control.
    LRESULT OnViewNotify(const NMHDR& header);

private:
    bool walkingHistory = false;
    bool swallowReturnCharacter = false;

    void MarkShownEntry(const TCHAR* text, bool freshText);
    std::vector<TextRange> FindHighlights(const TCHAR* text) const;
    bool FollowLinkAt(LONG position, const CHARRANGE* range);

    // The words the item list has been cut down by since it was last filled,
    // and the BodySearch setting they were tested with. Such a word would
    // remove nothing more, so a keystroke re-tests only the word it changed.
    TCHAR listCutBy[textBufferLength] = {};
    bool listCutWithBodySearch = false;

    bool IsWordTheListIsCutBy(const TCHAR* word) const;
    void ReadOptionsAndRestoreChoice();
    void LayOutInParent();
    void AppendCurrentTitles();
    int FindItemExactly(const TCHAR* text) const;
    bool ShowEntryText(int entry);
};

INT_PTR CALLBACK PaneDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Back and Forward from the keyboard (Alt+Left, Alt+Right) and the mouse's
// side buttons, for a message bound for the main window or any window in it.
bool TranslateHistoryInput(HWND mainWindow, const MSG& message);

// The first item of a combo box whose text equals text character for
// character, or -1.
int FindListItemExactly(HWND list, const TCHAR* text);

// The item's text into a buffer of textBufferLength characters; false (and
// an empty text) when there is no such item or it does not fit.
bool GetItemText(HWND list, int item, TCHAR* text);

// Turns the item list's redraw back on after a change made with it off, and
// has its edit part and its open list repainted.
void RedrawItemList(HWND itemList);
