// The item list's type-ahead filter: whatever is typed into the list's edit
// field is taken as words, and the list is cut down, as the user types, to
// the titles (with BodySearch, the entries) that contain every word.
#include <cstring>

#include "data/display_text.h"
#include "data/rules_image.h"
#include "pane/browser_pane.h"
#include "pane/entry_text.h"
#include "resources/shared/resource_ids.h"

namespace {

// Set only while the filter itself opens the drop-down, so that the pane's
// handling of a drop-down opened by hand (which empties the edit field) is
// skipped.
bool programDropDown = false;

void ShowWaitCursor() { SetCursor(LoadCursor(nullptr, IDC_WAIT)); }
void TakeWaitCursorAway() { SetCursor(nullptr); }

}  // namespace

// WM_SETREDRAW does not repaint by itself: repaint the edit part and the
// open list once the filtering is done.
void RedrawItemList(HWND itemList)
{
    SendMessage(itemList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(itemList, nullptr, TRUE);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(itemList, &info) && info.hwndList != nullptr)
        InvalidateRect(info.hwndList, nullptr, TRUE);
}

void BrowserPane::OnItemTextChanged()
{
    HWND itemList = Control(IDC_ITEM_LIST);
    if (SendMessage(itemList, CB_GETDROPPEDSTATE, 0, 0)) {
        FilterItemList(false);
        return;
    }
    // A change to the edit field of a closed list opens the list; opening it
    // disturbs the edit field, so its text and caret are put back.
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(itemList, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    TCHAR text[textBufferLength] = {};
    GetWindowText(itemList, text, textBufferLength);
    FilterItemList(true);
    programDropDown = true;
    SendMessage(itemList, CB_SHOWDROPDOWN, TRUE, 0);
    programDropDown = false;
    SetWindowText(itemList, text);
    FilterItemList(false);
    SetWindowText(itemList, text);
    SendMessage(itemList, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

void BrowserPane::OnItemListDropDown()
{
    if (!programDropDown)
        SetDlgItemText(window, IDC_ITEM_LIST, TEXT(""));
}

void BrowserPane::FilterItemList(bool clear)
{
    HWND itemList = Control(IDC_ITEM_LIST);
    SendMessage(itemList, WM_SETREDRAW, FALSE, 0);
    TCHAR text[textBufferLength] = {};
    if (!clear)
        GetWindowText(itemList, text, textBufferLength);
    if (text[0] == 0) {
        RestoreFullItemList();
    } else if (lstrlen(text) == lstrlen(filterText) + 1) {
        // One character more narrows the current list: titles already
        // removed stay removed.
        lstrcpyn(filterText, text, textBufferLength);
        ApplyFilterWords();
    } else {
        lstrcpyn(filterText, text, textBufferLength);
        RestoreFullItemList();
        ApplyFilterWords();
    }
    RedrawItemList(itemList);
}

void BrowserPane::ApplyFilterWords()
{
    ShowWaitCursor();
    TCHAR word[textBufferLength] = {};
    int length = 0;
    // Words end at each blank and at the end of the text; doubled blanks give
    // empty words, which remove nothing, as do the words the list is already
    // cut by: both are skipped.
    for (int i = 0;; ++i) {
        const TCHAR c = filterText[i];
        if (c == TEXT(' ') || c == 0) {
            word[length] = 0;
            if (length > 0 && !IsWordTheListIsCutBy(word))
                RemoveNonMatchingItems(word);
            length = 0;
            if (c == 0)
                break;
        } else {
            word[length++] = c;
        }
    }
    lstrcpyn(listCutBy, filterText, textBufferLength);
    listCutWithBodySearch = BodySearch;
    TakeWaitCursorAway();
}

bool BrowserPane::IsWordTheListIsCutBy(const TCHAR* word) const
{
    if (listCutWithBodySearch != BodySearch)
        return false;
    const int length = lstrlen(word);
    for (const TCHAR* start = listCutBy; *start != 0;) {
        const TCHAR* end = start;
        while (*end != 0 && *end != TEXT(' '))
            ++end;
        if (end - start == length && std::memcmp(start, word, length * sizeof(TCHAR)) == 0)
            return true;
        start = *end != 0 ? end + 1 : end;
    }
    return false;
}

void BrowserPane::RemoveNonMatchingItems(const TCHAR* word)
{
    HWND itemList = Control(IDC_ITEM_LIST);
    const int length = lstrlen(word);
    // From the last item to the first, so that positions stay valid.
    for (int i = static_cast<int>(SendMessage(itemList, CB_GETCOUNT, 0, 0)) - 1; i >= 0; --i) {
        if (!ItemHasWord(itemList, i, word, length)) {
            SendMessage(itemList, CB_DELETESTRING, static_cast<WPARAM>(i), 0);
            itemListFiltered = true;
        }
    }
}

// A row tests the entry it carries; should its entry not be readable, the
// row is tested by its text.
bool BrowserPane::ItemHasWord(HWND itemList, int item, const TCHAR* word, int length) const
{
    const LRESULT entry = SendMessage(itemList, CB_GETITEMDATA, static_cast<WPARAM>(item), 0);
    if (currentCategory >= 0 && entry >= 0 && entry < GetEntryCount(currentCategory))
        return EntryRowHasWord(currentCategory, static_cast<int>(entry), word, length, BodySearch);
    TCHAR title[textBufferLength];
    GetItemText(itemList, item, title);
    return EntryHasWord(currentCategory, word, length, title, BodySearch);
}

bool BrowserPane::EntryHasWord(int category, const TCHAR* word, int length, const TCHAR* title,
                               bool alsoBody) const
{
    if (category != currentCategory || category < 0)
        return false;
    if (DisplayTextHasWord(title, lstrlen(title), word, length))
        return true;
    if (!alsoBody)
        return false;
    // Only the first entry with this title counts, as for the list itself.
    const int entry = FindEntryWithTitle(category, title);
    return entry >= 0 && EntryBodyHasWord(category, entry, word, length);
}

void BrowserPane::RestoreFullItemList()
{
    itemListFiltered = false;
    listCutBy[0] = 0;
    ShowWaitCursor();
    HWND itemList = Control(IDC_ITEM_LIST);
    // Appending the full list before deleting the old items keeps the edit
    // field's text, which emptying the list would clear.
    const int oldCount = static_cast<int>(SendMessage(itemList, CB_GETCOUNT, 0, 0));
    AppendCurrentTitles();
    for (int i = 0; i < oldCount; ++i)
        SendMessage(itemList, CB_DELETESTRING, 0, 0);
    TakeWaitCursorAway();
}
