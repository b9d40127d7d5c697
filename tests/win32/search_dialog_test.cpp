// The full-body search dialog from its real template 123 over the real pane:
// searching, choosing results, hiding and re-showing, and its placement.
#include <algorithm>

#include "data/display_text.h"
#include "data/rules_image.h"
#include "resources/shared/resource_ids.h"
#include "search/search_dialog.h"
#include "shell/desktop/modeless_dialogs.h"
#include "shell/platform.h"
#include "tests/win32/message_box_watch.h"
#include "tests/win32/message_pump.h"
#include "tests/win32/dialog_fit.h"
#include "tests/win32/pane_fixture.h"


namespace {

constexpr int spells = 0;
constexpr int skills = 1;
constexpr int feats = 2;

const TCHAR searchingRow[] = TEXT("   (searching...)");
const TCHAR noMatchesRow[] = TEXT("   (no matches)");

TCHAR FoldAsciiLetter(TCHAR c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<TCHAR>(c + 32) : c;
}

bool HoldsFolded(TextString text, TextString word)
{
    std::transform(text.begin(), text.end(), text.begin(), FoldAsciiLetter);
    std::transform(word.begin(), word.end(), word.begin(), FoldAsciiLetter);
    return text.find(word) != TextString::npos;
}

TextString Body(int category, int entry)
{
    DisplayText body(MakeDisplayText(GetEntryBody(category, entry)));
    return body.get();
}

// The title, or else the body of the first entry with that title, holds the
// word (the test words are plain ASCII, which both programs fold alike).
bool EntryHolds(int category, const TextString& title, const TextString& word)
{
    if (HoldsFolded(title, word))
        return true;
    for (int e = 0; e < GetEntryCount(category); ++e) {
        if (PaneTest::Title(category, e) == title)
            return HoldsFolded(Body(category, e), word);
    }
    return false;
}

// The titles a query keeps, sorted; "   (no matches)" when none.
std::vector<TextString> ExpectedRows(int category, const TextString& query)
{
    std::vector<TextString> words(1);
    for (const TCHAR c : query) {
        if (c == ' ')
            words.emplace_back();
        else
            words.back() += c;
    }
    std::vector<TextString> rows;
    for (const TextString& title : PaneTest::AllTitles(category)) {
        bool kept = true;
        for (const TextString& word : words) {
            const bool negated = !word.empty() && word[0] == '-';
            kept = kept && EntryHolds(category, title, negated ? word.substr(1) : word) != negated;
        }
        if (kept)
            rows.push_back(title);
    }
    if (rows.empty())
        rows.push_back(noMatchesRow);
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<TextString> ListRows(HWND list)
{
    std::vector<TextString> rows;
    const int count = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TCHAR text[textBufferLength] = {};
        SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        rows.push_back(text);
    }
    return rows;
}

bool InListBoxOrder(const std::vector<TextString>& rows)
{
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (lstrcmpi(rows[i - 1].c_str(), rows[i].c_str()) > 0)
            return false;
    }
    return true;
}

std::vector<HWND> RegisteredDialogs()
{
    std::vector<HWND> dialogs;
    for (const ModelessDialogNode* node = FirstModelessDialog(); node != nullptr; node = node->next)
        dialogs.push_back(node->dialog);
    return dialogs;
}

bool IsRegistered(HWND dialog)
{
    const std::vector<HWND> dialogs = RegisteredDialogs();
    return std::find(dialogs.begin(), dialogs.end(), dialog) != dialogs.end();
}

// The handheld template carries the soft-keyboard preference control, whose
// class the handheld shell registers; a plain window stands in for it here.
void RegisterSoftKeyboardStandIn()
{
    WNDCLASS windowClass = {};
    windowClass.lpfnWndProc = DefWindowProc;
    windowClass.hInstance = GetModuleHandle(nullptr);
    windowClass.lpszClassName = TEXT("SIPPREF");
    RegisterClass(&windowClass);
}

// Only the "No type" warning was shown, owned by owner. A busy display may
// activate one box twice, and the watch then reads it twice.
void ExpectNoTypeWarning(const std::vector<SeenMessageBox>& seen, HWND owner)
{
    ASSERT_FALSE(seen.empty());
    for (const SeenMessageBox& box : seen) {
        EXPECT_EQ(box.text, TEXT("Please select a type to search in first"));
        EXPECT_EQ(box.caption, TEXT("No type"));
        EXPECT_EQ(box.owner, owner);
        EXPECT_TRUE(box.hasIcon);
        EXPECT_EQ(box.buttons, std::vector<TextString>{TEXT("OK")});
    }
}

class SearchTest : public PaneTest {
  protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        if (isHandheld)
            RegisterSoftKeyboardStandIn();
    }

    void OpenOn(int category)
    {
        OpenPane();
        if (category >= 0)
            ChooseCategory(category);
    }
    HWND Dialog() const
    {
        return pane.searchDialog != nullptr ? pane.searchDialog->window : nullptr;
    }
    HWND SearchControl(int id) const { return GetDlgItem(Dialog(), id); }
    HWND ResultList() const { return SearchControl(IDC_SEARCH_RESULTS); }
    HWND SearchBox() const { return SearchControl(IDC_SEARCH_BOX); }
    std::vector<TextString> Rows() const { return ListRows(ResultList()); }
    TextString Query() const
    {
        TCHAR text[textBufferLength] = {};
        GetWindowText(SearchBox(), text, textBufferLength);
        return text;
    }

    // A key pressed where the focus is, through the message loop's dialog
    // handling.
    static void PressKey(WPARAM key)
    {
        MSG message = {GetFocus(), WM_KEYDOWN, key, 0, 0, {0, 0}};
        IsModelessDialogMessage(&message);
        PumpProgramMessages();
    }
    // Types the query into the search box and presses Enter there.
    void Search(const TextString& query)
    {
        SetWindowText(SearchBox(), query.c_str());
        SetFocus(SearchBox());
        PressKey(VK_RETURN);
    }
    void SelectRow(int row)
    {
        SendMessage(ResultList(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    }
    int RowOf(const TextString& text) const
    {
        return static_cast<int>(SendMessage(ResultList(), LB_FINDSTRINGEXACT,
                                            static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(text.c_str())));
    }
    void DoubleClickRow(int row)
    {
        RECT item = {};
        SendMessage(ResultList(), LB_GETITEMRECT, static_cast<WPARAM>(row),
                    reinterpret_cast<LPARAM>(&item));
        const LPARAM at = MAKELPARAM(item.left + 2, item.top + 2);
        SendMessage(ResultList(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessage(ResultList(), WM_LBUTTONUP, 0, at);
        SendMessage(ResultList(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessage(ResultList(), WM_LBUTTONUP, 0, at);
        PumpProgramMessages();
    }
    bool Shown() const { return IsWindowVisible(Dialog()) != FALSE; }
    int SelectedItem() const
    {
        return static_cast<int>(SendMessage(Control(IDC_ITEM_LIST), CB_GETCURSEL, 0, 0));
    }
    static int EntryIndex(int category, const TextString& title)
    {
        const std::vector<TextString> titles = AllTitles(category);
        return static_cast<int>(std::find(titles.begin(), titles.end(), title) - titles.begin());
    }
};

TEST_F(SearchTest, OpeningWithoutACategoryWarnsAndCreatesNoDialog)
{
    OpenOn(-1);
    MessageBoxWatch watch;
    pane.OpenSearch();
    // Asked for with the pane as owner; a child window cannot own, so the
    // system gives the box to the pane's top-level window.
    ExpectNoTypeWarning(watch.Seen(), host);
    EXPECT_EQ(pane.searchDialog, nullptr);
}

TEST_F(SearchTest, OpensShownWithAnEmptyBoxHoldingTheFocus)
{
    OpenOn(spells);
    pane.OpenSearch();
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(GetWindow(Dialog(), GW_OWNER), host);
    EXPECT_EQ(GetFocus(), SearchBox());
    EXPECT_EQ(Query(), TEXT(""));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(pane.searchDialog->searchCategory, spells);
    EXPECT_TRUE(IsRegistered(Dialog()));
    EXPECT_EQ(SendMessage(SearchBox(), EM_GETLIMITTEXT, 0, 0), 250);
    TCHAR caption[64] = {};
    GetWindowText(Dialog(), caption, 64);
    EXPECT_STREQ(caption, TEXT("Full-body search"));
}

TEST_F(SearchTest, DesktopControlsTakeTheDefaultGuiFont)
{
    if (isHandheld)
        GTEST_SKIP() << "the handheld dialog keeps the template's font";
    OpenOn(spells);
    pane.OpenSearch();
    const auto guiFont = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const int control : {IDC_SEARCH_BOX, IDC_SEARCH_RESULTS, IDC_SEARCH_FIND})
        EXPECT_EQ(SendMessage(SearchControl(control), WM_GETFONT, 0, 0), guiFont) << control;
}

TEST_F(SearchTest, FindKeepsTheEntriesHoldingEveryWordAndNoNegatedOneSortedByTheList)
{
    struct Case {
        int category;
        const TCHAR* query;
    };
    const Case cases[] = {
        {spells, TEXT("")},          {spells, TEXT("   ")},          {spells, TEXT("fire")},
        {spells, TEXT("FIRE")},      {spells, TEXT("fire -ember")},  {spells, TEXT("the  a")},
        {spells, TEXT("-")},         {feats, TEXT("attack -power")}, {feats, TEXT("bonus")},
        {skills, TEXT("check -DC")},
    };
    for (const Case& c : cases) {
        OpenOn(c.category);
        pane.OpenSearch();
        Search(c.query);
        const std::vector<TextString> rows = Rows();
        std::vector<TextString> sorted = rows;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, ExpectedRows(c.category, c.query)) << static_cast<const void*>(c.query);
        EXPECT_TRUE(InListBoxOrder(rows)) << ::testing::PrintToString(rows);
        ClosePane();
    }
}

TEST_F(SearchTest, WordsAreFoundInBodiesAndNegatedWordsRemoveRows)
{
    // The cases above mean something only if the data has such entries.
    const std::vector<TextString> fire = ExpectedRows(spells, TEXT("fire"));
    const bool fireOnlyInABody = std::any_of(fire.begin(), fire.end(), [](const TextString& title) {
        return !HoldsFolded(title, TEXT("fire"));
    });
    EXPECT_TRUE(fireOnlyInABody);
    EXPECT_LT(ExpectedRows(spells, TEXT("fire -ember")).size(), fire.size());
    EXPECT_NE(ExpectedRows(spells, TEXT("fire -ember"))[0], noMatchesRow);
}

TEST_F(SearchTest, NothingFoundShowsTheNoMatchesRow)
{
    OpenOn(spells);
    pane.OpenSearch();
    Search(TEXT("-"));
    EXPECT_EQ(Rows(), std::vector<TextString>{noMatchesRow});
}

// What the result list showed at each of its paints during a search.
std::vector<std::vector<TextString>> paintedRows;
WNDPROC listProcedure = nullptr;

LRESULT CALLBACK RecordingListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
        paintedRows.push_back(ListRows(list));
    return CallWindowProc(listProcedure, list, message, wParam, lParam);
}

TEST_F(SearchTest, SearchingRowIsPaintedBeforeTheSearchRuns)
{
    OpenOn(spells);
    pane.OpenSearch();
    PumpProgramMessages();
    listProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
        ResultList(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingListProc)));
    paintedRows.clear();
    SetWindowText(SearchBox(), TEXT("fire"));
    SendMessage(Dialog(), WM_COMMAND, MAKEWPARAM(IDC_SEARCH_FIND, BN_CLICKED),
                reinterpret_cast<LPARAM>(SearchControl(IDC_SEARCH_FIND)));
    SetWindowLongPtr(ResultList(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProcedure));
    ASSERT_FALSE(paintedRows.empty());
    EXPECT_EQ(paintedRows[0], std::vector<TextString>{searchingRow});
    EXPECT_EQ(GetFocus(), ResultList());
}

TEST_F(SearchTest, FindWithoutACategoryWarnsAndLeavesTheList)
{
    OpenOn(spells);
    pane.OpenSearch();
    Search(TEXT("fire"));
    const std::vector<TextString> before = Rows();
    // The category list loses its choice.
    ChooseCategory(-1);
    ASSERT_EQ(pane.currentCategory, -1);
    MessageBoxWatch watch;
    Search(TEXT("the"));
    ExpectNoTypeWarning(watch.Seen(), Dialog());
    EXPECT_EQ(Rows(), before);
}

TEST_F(SearchTest, EnterInTheBoxSearchesAndEnterInTheListShowsTheSelectedEntry)
{
    struct Case {
        bool stickyFull;
        bool staysShown;
    };
    // The handheld program has no such option: a chosen result always hides.
    const Case cases[] = {{false, false}, {true, !isHandheld}};
    for (const Case& c : cases) {
        OpenOn(spells);
        pane.StickyFull = c.stickyFull;
        pane.OpenSearch();
        Search(TEXT("e"));
        EXPECT_EQ(GetFocus(), ResultList());
        const std::vector<TextString> rows = Rows();
        ASSERT_GE(rows.size(), 2u);
        SelectRow(1);
        PressKey(VK_RETURN);
        const int entry = EntryIndex(spells, rows[1]);
        EXPECT_EQ(ShownText(), EntryText(spells, entry));
        EXPECT_EQ(SelectedItem(), entry);
        EXPECT_EQ(StoredNumber(TEXT("Item")), entry);
        EXPECT_EQ(Shown(), c.staysShown) << c.stickyFull;
        ClosePane();
    }
}

TEST_F(SearchTest, DoubleClickingAResultShowsItAndHidesUnlessStickyFull)
{
    for (const bool stickyFull : {false, true}) {
        OpenOn(feats);
        pane.StickyFull = stickyFull;
        pane.OpenSearch();
        Search(TEXT("a"));
        const TextString title = Rows()[0];
        DoubleClickRow(0);
        EXPECT_EQ(ShownText(), EntryText(feats, EntryIndex(feats, title)));
        EXPECT_EQ(Shown(), stickyFull && !isHandheld);
        ClosePane();
    }
}

TEST_F(SearchTest, EnterWithNoRowSelectedChangesNothingInThePaneAndStillHides)
{
    for (const bool stickyFull : {false, true}) {
        OpenOn(spells);
        ChooseItem(2);
        pane.StickyFull = stickyFull;
        pane.OpenSearch();
        Search(TEXT("e"));
        SelectRow(-1);
        ASSERT_EQ(GetFocus(), ResultList());
        PressKey(VK_RETURN);
        EXPECT_EQ(ShownText(), EntryText(spells, 2));
        EXPECT_EQ(SelectedItem(), 2);
        EXPECT_EQ(StoredNumber(TEXT("Item")), 2);
        EXPECT_EQ(Shown(), stickyFull && !isHandheld);
        ClosePane();
    }
}

TEST_F(SearchTest, DoubleClickingNoMatchesChangesNothingInThePane)
{
    OpenOn(spells);
    ChooseItem(1);
    pane.OpenSearch();
    Search(TEXT("-"));
    ASSERT_EQ(Rows(), std::vector<TextString>{noMatchesRow});
    DoubleClickRow(0);
    EXPECT_EQ(ShownText(), EntryText(spells, 1));
    EXPECT_EQ(SelectedItem(), 1);
    EXPECT_EQ(StoredNumber(TEXT("Item")), 1);
    EXPECT_EQ(Items(), AllTitles(spells));
    EXPECT_FALSE(Shown());
}

// Both rows of the two same-titled feats name the first of them; choosing
// either while the type-ahead has emptied the item list restores the list
// first.
TEST_F(SearchTest, ChoosingAResultRestoresANarrowedItemListAndFindsTheFirstOfTwinTitles)
{
    int first = -1;
    OpenOn(feats);
    for (int e = 1; e < GetEntryCount(feats); ++e) {
        if (lstrcmpA(GetEntryTitle(feats, e - 1), GetEntryTitle(feats, e)) == 0)
            first = e - 1;
    }
    ASSERT_GE(first, 0);
    Type(TEXT("qqqq"));
    CloseItemList();
    ASSERT_TRUE(Items().empty());
    ASSERT_TRUE(pane.itemListFiltered);

    pane.OpenSearch();
    Search(Title(feats, first));
    const int second = RowOf(Title(feats, first)) + 1;
    ASSERT_EQ(Rows()[second], Title(feats, first));
    SelectRow(second);
    PressKey(VK_RETURN);
    EXPECT_FALSE(pane.itemListFiltered);
    EXPECT_EQ(Items(), AllTitles(feats));
    EXPECT_EQ(SelectedItem(), first);
    EXPECT_EQ(ShownText(), EntryText(feats, first));
    EXPECT_EQ(StoredNumber(TEXT("Item")), first);
}

TEST_F(SearchTest, ClosingAndReopeningKeepsQueryAndResultsWithTheFocusInTheBox)
{
    struct Case {
        const char* what;
        bool closeBox;
    };
    const Case cases[] = {{"close box", true}, {"Escape", false}};
    for (const Case& c : cases) {
        OpenOn(spells);
        pane.OpenSearch();
        Search(TEXT("fire"));
        const HWND dialog = Dialog();
        const std::vector<TextString> rows = Rows();
        if (c.closeBox) {
            SendMessage(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            PumpProgramMessages();
        } else {
            PressKey(VK_ESCAPE);
        }
        EXPECT_FALSE(Shown()) << c.what;
        EXPECT_TRUE(IsWindow(dialog));

        pane.OpenSearch();
        EXPECT_EQ(Dialog(), dialog) << c.what;
        EXPECT_TRUE(Shown());
        EXPECT_EQ(Query(), TEXT("fire"));
        EXPECT_EQ(Rows(), rows);
        EXPECT_EQ(GetFocus(), SearchBox()) << c.what;
        ClosePane();
    }
}

TEST_F(SearchTest, ReopeningAfterACategoryChangeGivesAFreshDialog)
{
    OpenOn(spells);
    pane.OpenSearch();
    Search(TEXT("fire"));
    const HWND old = Dialog();
    PressKey(VK_ESCAPE);
    ChooseCategory(skills);
    pane.OpenSearch();
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(IsRegistered(old));
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_TRUE(IsRegistered(Dialog()));
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Query(), TEXT(""));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(pane.searchDialog->searchCategory, skills);
}

TEST_F(SearchTest, FindAfterACategoryChangeSearchesTheNewCategoryAndKeepsTheDialog)
{
    OpenOn(spells);
    pane.OpenSearch();
    Search(TEXT("fire"));
    const HWND dialog = Dialog();
    ChooseCategory(skills);
    Search(TEXT(""));
    EXPECT_EQ(pane.searchDialog->searchCategory, skills);
    std::vector<TextString> rows = Rows();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, ExpectedRows(skills, TEXT("")));
    pane.OpenSearch();
    EXPECT_EQ(Dialog(), dialog);
}

TEST_F(SearchTest, ResultsOfAnEarlierCategoryAreNotShown)
{
    OpenOn(spells);
    ChooseItem(0);
    pane.OpenSearch();
    Search(TEXT("e"));
    ChooseCategory(skills);
    ChooseItem(1);
    SelectRow(0);
    ASSERT_EQ(GetFocus(), ResultList());
    PressKey(VK_RETURN);
    EXPECT_EQ(ShownText(), EntryText(skills, 1));
    EXPECT_EQ(StoredNumber(TEXT("Item")), 1);
}

TEST_F(SearchTest, DestroyingThePaneDestroysTheDialogAndFreesIt)
{
    OpenOn(spells);
    pane.OpenSearch();
    const HWND dialog = Dialog();
    pane.DestroyPane();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(IsRegistered(dialog));
    EXPECT_EQ(pane.searchDialog, nullptr);
}

RECT RectInDialog(HWND control, HWND dialog)
{
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

TEST_F(SearchTest, LayoutPutsFindTopRightTheBoxBesideItAndTheListBelow)
{
    OpenOn(spells);
    pane.OpenSearch();
    for (const SIZE size : {SIZE{333, 222}, SIZE{260, 400}}) {
        SetWindowPos(Dialog(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        RECT client;
        GetClientRect(Dialog(), &client);
        const RECT find = RectInDialog(SearchControl(IDC_SEARCH_FIND), Dialog());
        const RECT box = RectInDialog(SearchBox(), Dialog());
        const RECT list = RectInDialog(ResultList(), Dialog());
        EXPECT_EQ(find.right, client.right - 4);
        EXPECT_EQ(find.top, 2);
        EXPECT_EQ(box.left, 2);
        EXPECT_EQ(box.top, 2);
        EXPECT_EQ(box.right, find.left - 2);
        EXPECT_EQ(list.left, 2);
        EXPECT_EQ(list.top, box.bottom - box.top + 4);
        EXPECT_EQ(list.right, client.right - 2);
        EXPECT_EQ(list.bottom, client.bottom - 2);
    }
}

TEST_F(SearchTest, NewDialogShowsEveryControlInsideAndEveryTextWhole)
{
    OpenOn(spells);
    pane.OpenSearch();
    ExpectEveryControlInsideAndItsTextWhole(Dialog());
}

class SearchPlacementTest : public SearchTest {
  protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        if (isHandheld)
            GTEST_SKIP() << "the handheld program keeps no placement";
    }
    RECT OpenedRect()
    {
        OpenOn(spells);
        pane.OpenSearch();
        RECT bounds;
        GetWindowRect(Dialog(), &bounds);
        return bounds;
    }
    static void StorePlacement(int left, int top, int width, int height)
    {
        StoreNumber(TEXT("Search Last State 1"), 1);
        StoreNumber(TEXT("Search Left 1"), left);
        StoreNumber(TEXT("Search Top 1"), top);
        StoreNumber(TEXT("Search Width 1"), width);
        StoreNumber(TEXT("Search Height 1"), height);
    }
    static RECT StoredRect()
    {
        const int left = StoredNumber(TEXT("Search Left 1"));
        const int top = StoredNumber(TEXT("Search Top 1"));
        return RECT{left, top, left + StoredNumber(TEXT("Search Width 1")),
                    top + StoredNumber(TEXT("Search Height 1"))};
    }
};

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

TEST_F(SearchPlacementTest, MovingAndSizingRewriteAllFiveValuesAndMaximizingOnlyTheState)
{
    OpenOn(spells);
    pane.OpenSearch();
    MoveWindow(Dialog(), 40, 50, 300, 200, TRUE);
    EXPECT_EQ(StoredNumber(TEXT("Search Last State 1")), 1);
    EXPECT_TRUE(SameRect(StoredRect(), RECT{40, 50, 340, 250}));
    SetWindowPos(Dialog(), nullptr, 0, 0, 320, 210, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(SameRect(StoredRect(), RECT{40, 50, 360, 260}));
    SetWindowPos(Dialog(), nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(SameRect(StoredRect(), RECT{70, 80, 390, 290}));

    ShowWindow(Dialog(), SW_MAXIMIZE);
    EXPECT_EQ(StoredNumber(TEXT("Search Last State 1")), 3);
    EXPECT_TRUE(SameRect(StoredRect(), RECT{70, 80, 390, 290}));
    // Also the pane's main window number: a pane without one uses 1.
    EXPECT_FALSE(HasValue(TEXT("Search Left 0")));
}

TEST_F(SearchPlacementTest, SavedPlacementThatFitsIsRestored)
{
    StorePlacement(60, 70, 350, 250);
    EXPECT_TRUE(SameRect(OpenedRect(), RECT{60, 70, 410, 320}));
    EXPECT_TRUE(SameRect(StoredRect(), RECT{60, 70, 410, 320}));
}

TEST_F(SearchPlacementTest, SavedPlacementTooSmallOffScreenOrIncompleteIsIgnored)
{
    const RECT systemChoice = OpenedRect();
    ClosePane();
    const int screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    struct Case {
        const char* what;
        int left, top, width, height;
        const TCHAR* missing;
    };
    const Case cases[] = {
        {"width 9", 60, 70, 9, 250, nullptr},
        {"height 9", 60, 70, 350, 9, nullptr},
        {"left of the screen", -20, 70, 350, 250, nullptr},
        {"beyond the right edge", screenWidth - 100, 70, 350, 250, nullptr},
        {"no top", 60, 70, 350, 250, TEXT("Search Top 1")},
        {"no state", 60, 70, 350, 250, TEXT("Search Last State 1")},
    };
    for (const Case& c : cases) {
        StorePlacement(c.left, c.top, c.width, c.height);
        if (c.missing != nullptr) {
            HKEY key;
            RegOpenKeyEx(HKEY_CURRENT_USER, TEXT("Software\\Quorvan\\VellumRules"), 0,
                         KEY_SET_VALUE, &key);
            RegDeleteValue(key, c.missing);
            RegCloseKey(key);
        }
        const RECT opened = OpenedRect();
        EXPECT_TRUE(SameRect(opened, systemChoice)) << c.what;
        // Opening saves where the dialog really is.
        EXPECT_TRUE(SameRect(StoredRect(), opened)) << c.what;
        ClosePane();
    }
}

TEST_F(SearchTest, HandheldDialogKeepsNoPlacement)
{
    if (!isHandheld)
        GTEST_SKIP() << "the desktop dialog keeps its placement";
    OpenOn(spells);
    pane.OpenSearch();
    MoveWindow(Dialog(), 40, 50, 300, 200, TRUE);
    for (const TCHAR* name :
         {TEXT("Search Last State 1"), TEXT("Search Left 1"), TEXT("Search Width 1")})
        EXPECT_FALSE(HasValue(name));
}

} // namespace
