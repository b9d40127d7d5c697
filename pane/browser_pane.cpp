// The browser pane: loading the rules into its lists, restoring the last
// choice, showing an entry, and laying out its three controls.
#include "pane/browser_pane.h"

#include <richedit.h>
#include <tchar.h>

#include <cstdlib>
#include <cstring>

#include "data/display_text.h"
#include "data/rules_image.h"
#include "data/rules_loader.h"
#include "dice/dice_dialog.h"
#include "options/display_font.h"
#include "pane/entry_text.h"
#include "resources/shared/resource_ids.h"
#include "settings/settings_key.h"
#include "shell/desktop/modeless_dialogs.h"
#include "shell/platform.h"

namespace {

BrowserPane* processPane = nullptr;

// Room reserved for each title when a list is filled: titles are short.
constexpr LPARAM titleBytesToReserve = 32 * sizeof(TCHAR);

const TCHAR entrySeparator[] = TEXT("\r\n-----\r\n");

void ShowWaitCursor() { SetCursor(LoadCursor(nullptr, IDC_WAIT)); }

// No cursor is set: the window's own cursor returns at the next mouse move.
void TakeWaitCursorAway() { SetCursor(nullptr); }

// Appends a display copy of an image text; an empty item when the copy
// cannot be made, so that list positions stay entry indices.
LRESULT AppendDisplayText(HWND list, const char* text)
{
    DisplayText copy(MakeDisplayText(text));
    return SendMessage(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(copy ? copy.get() : TEXT("")));
}

bool IsCategoryIndex(int category) { return category >= 0 && category < GetCategoryCount(); }

int WindowHeight(HWND window)
{
    RECT bounds;
    GetWindowRect(window, &bounds);
    return bounds.bottom - bounds.top;
}

BOOL OnPaneInitDialog(HWND window, LPARAM parameter)
{
    processPane = reinterpret_cast<BrowserPane*>(parameter);
    processPane->window = window;
    AddModelessDialog(window);
    processPane->InitPane();
    return TRUE;
}

BOOL OnPaneDestroy(HWND window)
{
    RemoveModelessDialog(window);
    if (processPane != nullptr && processPane->window == window)
        processPane = nullptr;
    return TRUE;
}

}  // namespace

bool GetItemText(HWND list, int item, TCHAR* text)
{
    text[0] = 0;
    const LRESULT length = SendMessage(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
    if (length == CB_ERR || length >= textBufferLength)
        return false;
    return SendMessage(list, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text)) !=
           CB_ERR;
}

// Code unit by code unit: lstrcmp follows the locale's rules, under which
// "Straße" equals "Strasse" and a soft hyphen is ignored, and the combo box's
// own searches ignore case; titles and font faces are equal only when their
// characters are.
int FindListItemExactly(HWND list, const TCHAR* text)
{
    const int count = static_cast<int>(SendMessage(list, CB_GETCOUNT, 0, 0));
    TCHAR item[textBufferLength];
    for (int i = 0; i < count; ++i) {
        if (GetItemText(list, i, item) && _tcscmp(item, text) == 0)
            return i;
    }
    return -1;
}

HWND BrowserPane::CreatePane(HINSTANCE moduleInstance, HWND parent, MainWindow* mainWindow)
{
    instance = moduleInstance;
    owner = mainWindow;
    window = CreateDialogParam(instance, MAKEINTRESOURCE(IDD_PANE), parent, PaneDialogProc,
                               reinterpret_cast<LPARAM>(this));
    return window;
}

void BrowserPane::DestroyPane()
{
    DiscardSearch();
    DestroyWindow(window);
    window = nullptr;
}

void BrowserPane::InitPane()
{
    HWND categoryList = Control(IDC_CATEGORY_LIST);
    HWND itemList = Control(IDC_ITEM_LIST);
    MakeRichTextView(window);
    SendMessage(categoryList, CB_RESETCONTENT, 0, 0);
    SendMessage(itemList, CB_RESETCONTENT, 0, 0);
    SetDlgItemText(window, IDC_TEXT_VIEW, TEXT(""));
    SendMessage(itemList, CB_LIMITTEXT, itemTextLimit, 0);

    ShowWaitCursor();
    if (!LoadRulesData(instance, window))
        return;
    TakeWaitCursorAway();
    for (int c = 0; c < GetCategoryCount(); ++c)
        AppendDisplayText(categoryList, GetCategoryName(c));
    LayOutInParent();
    ReadOptionsAndRestoreChoice();
}

// The pane takes its parent's client area and lays itself out (making the
// display font) before the restored entry is shown, so that the entry's text
// is wrapped once, in its font and at its width, rather than once in the
// template's font and again on each of the first font and layout.
void BrowserPane::LayOutInParent()
{
    RECT client;
    GetClientRect(GetParent(window), &client);
    MoveWindow(window, 0, 0, client.right, client.bottom, FALSE);
}

void BrowserPane::ReadOptionsAndRestoreChoice()
{
    SettingsKey settings;
    OpenSettings(settings);
    int category = 0;
    int item = 0;
    int bodySearch = 0;
    int stickyFull = 0;
    const bool hasCategory = settings.ReadNumber(TEXT("Category"), &category);
    const bool hasItem = settings.ReadNumber(TEXT("Item"), &item);
    const bool hasBodySearch = settings.ReadNumber(TEXT("BodySearch"), &bodySearch);
    const bool hasStickyFull = !isHandheld && settings.ReadNumber(TEXT("StickyFull"), &stickyFull);
    if (hasStickyFull)
        StickyFull = stickyFull == 1;
    if (hasBodySearch)
        BodySearch = bodySearch == 1;
    // A stored category that is no index of this image is ignored: the pane
    // starts as on a first run.
    if (hasCategory && IsCategoryIndex(category)) {
        SendDlgItemMessage(window, IDC_CATEGORY_LIST, CB_SETCURSEL, static_cast<WPARAM>(category), 0);
        OnCategoryChanged();
    }
    if (hasItem) {
        SendDlgItemMessage(window, IDC_ITEM_LIST, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        ShowSelectedEntry();
    }
}

void BrowserPane::AppendCurrentTitles()
{
    if (currentCategory < 0)
        return;
    HWND itemList = Control(IDC_ITEM_LIST);
    const int count = GetEntryCount(currentCategory);
    SendMessage(itemList, CB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count) * titleBytesToReserve);
    // Each row carries its entry, so that the filter tests the entry without
    // reading the row's text back and looking its title up again.
    for (int e = 0; e < count; ++e) {
        const LRESULT row = AppendDisplayText(itemList, GetEntryTitle(currentCategory, e));
        if (row >= 0)
            SendMessage(itemList, CB_SETITEMDATA, static_cast<WPARAM>(row), e);
    }
}

void BrowserPane::OnCategoryChanged()
{
    ShowWaitCursor();
    HWND itemList = Control(IDC_ITEM_LIST);
    currentCategory = static_cast<int>(SendDlgItemMessage(window, IDC_CATEGORY_LIST, CB_GETCURSEL, 0, 0));
    SendMessage(itemList, WM_SETREDRAW, FALSE, 0);
    SendMessage(itemList, CB_RESETCONTENT, 0, 0);
    listCutBy[0] = 0;
    AppendCurrentTitles();
    SendMessage(itemList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(itemList, nullptr, TRUE);

    SettingsKey settings;
    OpenSettings(settings);
    settings.WriteNumber(TEXT("Category"), currentCategory);
    settings.DeleteValue(TEXT("Item"));
    TakeWaitCursorAway();
}

int BrowserPane::FindItemExactly(const TCHAR* text) const
{
    return FindListItemExactly(Control(IDC_ITEM_LIST), text);
}

void BrowserPane::ShowSelectedEntry()
{
    HWND itemList = Control(IDC_ITEM_LIST);
    if (SendMessage(itemList, CB_GETDROPPEDSTATE, 0, 0) || currentCategory == -1)
        return;
    int selected = static_cast<int>(SendMessage(itemList, CB_GETCURSEL, 0, 0));
    if (selected == CB_ERR) {
        if (SendMessage(itemList, CB_GETCOUNT, 0, 0) <= 0)
            return;
        selected = 0;
    }
    if (itemListFiltered) {
        // Positions of a filtered list are not entry indices: find the chosen
        // title again in the full list.
        TCHAR title[textBufferLength];
        GetItemText(itemList, selected, title);
        RestoreFullItemList();
        selected = FindItemExactly(title);
        if (selected < 0)
            return;
        SendMessage(itemList, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    }
    if (!ShowEntryText(selected))
        return;
    if (!walkingHistory)
        history.Visit(EntryRef{currentCategory, selected});
    SettingsKey settings;
    OpenSettings(settings);
    settings.WriteNumber(TEXT("Item"), selected);
}

// Shows title, separator, body and a final line break. Without memory for the
// joined text the view keeps what it showed, and false is returned.
bool BrowserPane::ShowEntryText(int entry)
{
    if (entry >= GetEntryCount(currentCategory))
        return false;
    DisplayText title(MakeDisplayText(GetEntryTitle(currentCategory, entry)));
    DisplayText body(MakeDisplayText(GetEntryBody(currentCategory, entry)));
    if (!title || !body)
        return false;
    const std::size_t length = static_cast<std::size_t>(lstrlen(title.get()) + lstrlen(body.get())) + 40;
    DisplayText joined(static_cast<TCHAR*>(std::malloc(length * sizeof(TCHAR))));
    if (!joined)
        return false;
    lstrcpy(joined.get(), title.get());
    lstrcat(joined.get(), entrySeparator);
    lstrcat(joined.get(), body.get());
    lstrcat(joined.get(), TEXT("\r\n"));
    SetDlgItemText(window, IDC_TEXT_VIEW, joined.get());
    shownEntry = EntryRef{currentCategory, entry};
    shownHighlights = FindHighlights(joined.get());
    highlightQuery[0] = 0;
    MarkShownEntry(joined.get(), true);
    return true;
}

// The view's marks for the shown entry, whose joined text is given: the title
// bold, the tables' stops, the links and the search words.
void BrowserPane::MarkShownEntry(const TCHAR* text, bool freshText)
{
    ReadingMarks marks;
    marks.freshText = freshText;
    const char* body = GetEntryBody(shownEntry.category, shownEntry.entry);
    // A title holds no line break: the first separator ends it.
    const TCHAR* separator = _tcsstr(text, entrySeparator);
    marks.titleLength = separator != nullptr ? static_cast<int>(separator - text) : 0;
    marks.bodyStart = marks.titleLength + lstrlen(entrySeparator);
    marks.imageBody = body;
    if (IsRichTextView(Control(IDC_TEXT_VIEW)))
        marks.links = GetImageLinkFinder().FindLinks(shownEntry.category, shownEntry.entry, body);
    marks.highlights = shownHighlights;
    shownLinks = MarkReadingView(Control(IDC_TEXT_VIEW), text, marks);
}

// Every place of the text that holds a word of the search that opened it, as
// the search folds; the words it excludes ("-word") are not marked.
std::vector<TextRange> BrowserPane::FindHighlights(const TCHAR* text) const
{
    std::vector<TextRange> ranges;
    const int length = lstrlen(text);
    const TCHAR* word = highlightQuery;
    while (*word != 0) {
        int n = 0;
        while (word[n] != 0 && word[n] != TEXT(' '))
            ++n;
        if (n > 0 && word[0] != TEXT('-')) {
            for (int at = FindDisplayWord(text, length, word, n, 0); at >= 0;
                 at = FindDisplayWord(text, length, word, n, at + n))
                ranges.push_back(TextRange{at, n});
        }
        word += n;
        if (*word == TEXT(' '))
            ++word;
    }
    return ranges;
}

void BrowserPane::OnDisplayFontChanged()
{
    HWND view = Control(IDC_TEXT_VIEW);
    if (shownEntry.category < 0 || !IsRichTextView(view) || shownEntry.category >= GetCategoryCount())
        return;
    if (SendMessage(view, EM_GETMODIFY, 0, 0))
        return;
    // The font's new widths move the columns; a text the user changed keeps
    // the stops it has.
    const int length = GetWindowTextLength(view);
    std::vector<TCHAR> text(static_cast<std::size_t>(length) + 1);
    GetWindowText(view, text.data(), length + 1);
    MarkShownEntry(text.data(), false);
}

void BrowserPane::OpenEntry(EntryRef target)
{
    if (!IsCategoryIndex(target.category) || target.entry < 0 ||
        target.entry >= GetEntryCount(target.category))
        return;
    SendDlgItemMessage(window, IDC_CATEGORY_LIST, CB_SETCURSEL, static_cast<WPARAM>(target.category), 0);
    OnCategoryChanged();
    // The category change filled the whole list and emptied the typed text.
    itemListFiltered = false;
    filterText[0] = 0;
    SendDlgItemMessage(window, IDC_ITEM_LIST, CB_SETCURSEL, static_cast<WPARAM>(target.entry), 0);
    ShowSelectedEntry();
}

void BrowserPane::GoBack()
{
    if (!history.CanGoBack())
        return;
    walkingHistory = true;
    OpenEntry(history.Back());
    walkingHistory = false;
}

void BrowserPane::GoForward()
{
    if (!history.CanGoForward())
        return;
    walkingHistory = true;
    OpenEntry(history.Forward());
    walkingHistory = false;
}

// A link is followed from the links the view was marked with; in a text the
// user has changed, by the words under the click.
bool BrowserPane::FollowLinkAt(LONG position, const CHARRANGE* range)
{
    HWND view = Control(IDC_TEXT_VIEW);
    if (!SendMessage(view, EM_GETMODIFY, 0, 0)) {
        for (const ViewLink& link : shownLinks) {
            if (position >= link.begin && position < link.end) {
                OpenEntry(link.target);
                return true;
            }
        }
        return false;
    }
    if (range == nullptr || range->cpMax <= range->cpMin || range->cpMax - range->cpMin >= textBufferLength)
        return false;
    TCHAR mention[textBufferLength] = {};
    TEXTRANGE request = {*range, mention};
    SendMessage(view, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&request));
    char bytes[textBufferLength * 2] = {};
#ifdef UNICODE
    WideCharToMultiByte(CP_ACP, 0, mention, -1, bytes, sizeof(bytes), nullptr, nullptr);
#else
    lstrcpynA(bytes, mention, sizeof(bytes));
#endif
    EntryRef target;
    if (!GetImageLinkFinder().ResolveMention(bytes, currentCategory, &target))
        return false;
    OpenEntry(target);
    return true;
}

LRESULT BrowserPane::OnViewNotify(const NMHDR& header)
{
    if (header.idFrom != IDC_TEXT_VIEW)
        return 0;
    if (header.code == EN_LINK) {
        const auto& link = reinterpret_cast<const ENLINK&>(header);
        if (link.msg != WM_LBUTTONUP)
            return 0;
        CHARRANGE selection = {};
        SendMessage(header.hwndFrom, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        // A drag that selected text is no click.
        if (selection.cpMax != selection.cpMin)
            return 0;
        return FollowLinkAt(link.chrg.cpMin, &link.chrg) ? 1 : 0;
    }
    if (header.code == EN_MSGFILTER) {
        const auto& filter = reinterpret_cast<const MSGFILTER&>(header);
        if (filter.msg == WM_CHAR && filter.wParam == TEXT('\r') && swallowReturnCharacter) {
            swallowReturnCharacter = false;
            return 1;
        }
        if (filter.msg != WM_KEYDOWN || filter.wParam != VK_RETURN)
            return 0;
        CHARRANGE caret = {};
        SendMessage(header.hwndFrom, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        if (caret.cpMin != caret.cpMax || !FollowLinkAt(caret.cpMin, nullptr))
            return 0;
        // The Enter key's character follows its key-down; it belongs to the
        // link, not to the new entry's text.
        swallowReturnCharacter = true;
        return 1;
    }
    return 0;
}

bool TranslateHistoryInput(HWND mainWindow, const MSG& message)
{
    if (processPane == nullptr || (message.hwnd != mainWindow && !IsChild(mainWindow, message.hwnd)))
        return false;
    const bool altKey = message.message == WM_SYSKEYDOWN && (GetKeyState(VK_MENU) & 0x8000) != 0;
    if ((altKey && message.wParam == VK_LEFT) ||
        (message.message == WM_XBUTTONUP && GET_XBUTTON_WPARAM(message.wParam) == XBUTTON1)) {
        processPane->GoBack();
        return true;
    }
    if ((altKey && message.wParam == VK_RIGHT) ||
        (message.message == WM_XBUTTONUP && GET_XBUTTON_WPARAM(message.wParam) == XBUTTON2)) {
        processPane->GoForward();
        return true;
    }
    return false;
}

int BrowserPane::CountIfCurrent(int category) const
{
    return category == currentCategory && category >= 0 ? GetEntryCount(category) : 0;
}

TCHAR* BrowserPane::TitleIfCurrent(int category, int entry) const
{
    if (category != currentCategory || category < 0)
        return nullptr;
    return MakeDisplayText(GetEntryTitle(category, entry));
}

void BrowserPane::LayoutPane()
{
    CreateDisplayFont(*this);
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    HWND categoryList = Control(IDC_CATEGORY_LIST);
    HWND itemList = Control(IDC_ITEM_LIST);
    const int categoryHeight = WindowHeight(categoryList);
    const int itemHeight = WindowHeight(itemList);
    const int textTop = categoryHeight + itemHeight + 6;
    MoveWindow(categoryList, 2, 2, width - 4, categoryHeight, TRUE);
    MoveWindow(itemList, 2, categoryHeight + 4, width - 4, itemHeight, TRUE);
    MoveWindow(Control(IDC_TEXT_VIEW), 2, textTop, width - 4, height - 4 - textTop, TRUE);
}

void BrowserPane::OnCommand(int code, int control)
{
    if (control == IDC_CATEGORY_LIST && code == CBN_SELCHANGE) {
        OnCategoryChanged();
    } else if (control == IDC_ITEM_LIST) {
        switch (code) {
        case CBN_SELCHANGE:
        case CBN_CLOSEUP:
            ShowSelectedEntry();
            break;
        case CBN_EDITCHANGE:
            if (currentCategory != -1)
                OnItemTextChanged();
            break;
        case CBN_DROPDOWN:
            OnItemListDropDown();
            break;
        }
    }
}

void BrowserPane::OnDiceClosed(DiceDialog* dice)
{
    if (dice == nullptr)
        return;
    DestroyDiceDialog(*dice);
    delete dice;
}

INT_PTR CALLBACK PaneDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnPaneInitDialog(window, lParam);
    // The dialog's creation sends a few messages before WM_INITDIALOG.
    if (processPane == nullptr || processPane->window != window)
        return FALSE;
    switch (message) {
    case WM_SIZE:
        processPane->LayoutPane();
        return TRUE;
    case WM_DESTROY:
        return OnPaneDestroy(window);
    case WM_COMMAND:
        processPane->OnCommand(HIWORD(wParam), LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        SetWindowLongPtr(window, DWLP_MSGRESULT,
                         processPane->OnViewNotify(*reinterpret_cast<const NMHDR*>(lParam)));
        return TRUE;
    case WM_DICE_CLOSED:
        processPane->OnDiceClosed(reinterpret_cast<DiceDialog*>(lParam));
        return TRUE;
    }
    return FALSE;
}
