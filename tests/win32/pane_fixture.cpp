#include "tests/win32/pane_fixture.h"

#include "data/display_text.h"
#include "data/rules_image.h"
#include "pane/reading_view.h"
#include "resources/shared/resource_ids.h"

namespace {

TCHAR FoldAsciiLetter(TCHAR c) { return c >= 'A' && c <= 'Z' ? static_cast<TCHAR>(c + 32) : c; }

TextString Folded(TextString text)
{
    for (TCHAR& c : text)
        c = FoldAsciiLetter(c);
    return text;
}

std::vector<TextString> SplitAtBlanks(const TextString& text)
{
    std::vector<TextString> words(1);
    for (const TCHAR c : text) {
        if (c == ' ')
            words.emplace_back();
        else
            words.back() += c;
    }
    return words;
}

}  // namespace

// Panes show entries in the rich text view, as the programs do.
void PaneTest::SetUp()
{
    DeleteSettingsKey();
    LoadRichEditLibrary();
}

void PaneTest::TearDown() { ClosePane(); }

void PaneTest::ClosePane()
{
    if (pane.window != nullptr)
        pane.DestroyPane();
    if (host != nullptr)
        DestroyWindow(host);
    host = nullptr;
    pane = BrowserPane();
    DeleteSettingsKey();
}

void PaneTest::OpenPane()
{
    host = CreateWindowEx(0, TEXT("STATIC"), TEXT("Pane host"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                          420, 500, nullptr, nullptr, GetModuleHandle(nullptr), nullptr);
    ASSERT_NE(pane.CreatePane(GetModuleHandle(nullptr), host, nullptr), nullptr);
    RECT client;
    GetClientRect(host, &client);
    MoveWindow(pane.window, 0, 0, client.right, client.bottom, TRUE);
    ShowWindow(pane.window, SW_SHOW);
}

HWND PaneTest::ItemEdit() const
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    GetComboBoxInfo(Control(IDC_ITEM_LIST), &info);
    return info.hwndItem;
}

void PaneTest::ChooseCategory(int category)
{
    SendMessage(Control(IDC_CATEGORY_LIST), CB_SETCURSEL, static_cast<WPARAM>(category), 0);
    SendMessage(pane.window, WM_COMMAND, MAKEWPARAM(IDC_CATEGORY_LIST, CBN_SELCHANGE),
                reinterpret_cast<LPARAM>(Control(IDC_CATEGORY_LIST)));
}

void PaneTest::ChooseItem(int position)
{
    SendMessage(Control(IDC_ITEM_LIST), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessage(pane.window, WM_COMMAND, MAKEWPARAM(IDC_ITEM_LIST, CBN_SELCHANGE),
                reinterpret_cast<LPARAM>(Control(IDC_ITEM_LIST)));
}

void PaneTest::CloseItemList() { SendMessage(Control(IDC_ITEM_LIST), CB_SHOWDROPDOWN, FALSE, 0); }

void PaneTest::OpenItemListByHand() { SendMessage(Control(IDC_ITEM_LIST), CB_SHOWDROPDOWN, TRUE, 0); }

void PaneTest::Type(const TextString& text)
{
    for (const TCHAR c : text)
        SendMessage(ItemEdit(), WM_CHAR, static_cast<WPARAM>(c), 1);
}

void PaneTest::PlaceCaret(int position)
{
    SendMessage(Control(IDC_ITEM_LIST), CB_SETEDITSEL, 0, MAKELPARAM(position, position));
}

std::vector<TextString> PaneTest::Items() const
{
    std::vector<TextString> items;
    const int count = static_cast<int>(SendMessage(Control(IDC_ITEM_LIST), CB_GETCOUNT, 0, 0));
    TCHAR text[textBufferLength];
    for (int i = 0; i < count; ++i) {
        GetItemText(Control(IDC_ITEM_LIST), i, text);
        items.push_back(text);
    }
    return items;
}

TextString PaneTest::ShownText() const
{
    const int length = GetWindowTextLength(Control(IDC_TEXT_VIEW));
    TextString text(static_cast<std::size_t>(length) + 1, 0);
    GetWindowText(Control(IDC_TEXT_VIEW), &text[0], length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

int PaneTest::CategorySelection() const
{
    return static_cast<int>(SendMessage(Control(IDC_CATEGORY_LIST), CB_GETCURSEL, 0, 0));
}

bool PaneTest::ItemListOpen() const
{
    return SendMessage(Control(IDC_ITEM_LIST), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

TextString PaneTest::Title(int category, int entry)
{
    DisplayText title(MakeDisplayText(GetEntryTitle(category, entry)));
    return title.get();
}

TextString PaneTest::EntryText(int category, int entry)
{
    DisplayText body(MakeDisplayText(GetEntryBody(category, entry)));
    return Title(category, entry) + TEXT("\r\n-----\r\n") + body.get() + TEXT("\r\n");
}

std::vector<TextString> PaneTest::AllTitles(int category)
{
    std::vector<TextString> titles;
    for (int e = 0; e < GetEntryCount(category); ++e)
        titles.push_back(Title(category, e));
    return titles;
}

std::vector<TextString> PaneTest::TitlesHoldingAll(int category, const TextString& words)
{
    std::vector<TextString> titles;
    for (const TextString& title : AllTitles(category)) {
        bool holdsAll = true;
        for (const TextString& word : SplitAtBlanks(words))
            holdsAll = holdsAll && Folded(title).find(Folded(word)) != TextString::npos;
        if (holdsAll)
            titles.push_back(title);
    }
    return titles;
}
