// The browser pane with its real controls: first run, restoring the last
// choice, showing entries, layout and keyboard handling.
#include <climits>

#include "data/rules_image.h"
#include "resources/shared/resource_ids.h"
#include "shell/desktop/modeless_dialogs.h"
#include "tests/win32/pane_fixture.h"

namespace {

constexpr int spells = 0;
constexpr int skills = 1;
constexpr int feats = 2;

// The first of the two adjacent Feats entries that share a title.
int FirstOfTheSameTitledPair()
{
    for (int e = 1; e < GetEntryCount(feats); ++e) {
        if (lstrcmpA(GetEntryTitle(feats, e - 1), GetEntryTitle(feats, e)) == 0)
            return e - 1;
    }
    return -1;
}

TEST_F(PaneTest, FirstRunFillsTheCategoriesAndChoosesNothing)
{
    OpenPane();
    EXPECT_EQ(SendMessage(Control(IDC_CATEGORY_LIST), CB_GETCOUNT, 0, 0), 7);
    EXPECT_EQ(CategorySelection(), CB_ERR);
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(ShownText(), TEXT(""));
    EXPECT_EQ(pane.currentCategory, -1);
    EXPECT_EQ(CountValues(), 0);
}

TEST_F(PaneTest, RestoresTheStoredCategoryAndEntry)
{
    StoreNumber(TEXT("Category"), feats);
    StoreNumber(TEXT("Item"), 3);
    OpenPane();
    EXPECT_EQ(CategorySelection(), feats);
    EXPECT_EQ(Items(), AllTitles(feats));
    EXPECT_EQ(ShownText(), EntryText(feats, 3));
    EXPECT_EQ(StoredNumber(TEXT("Category")), feats);
    EXPECT_EQ(StoredNumber(TEXT("Item")), 3);
}

TEST_F(PaneTest, StoredEntryOutsideTheCategoryShowsTheFirstAndStoresZero)
{
    for (const int item : {999, -3, INT_MAX}) {
        StoreNumber(TEXT("Category"), skills);
        StoreNumber(TEXT("Item"), item);
        OpenPane();
        EXPECT_EQ(ShownText(), EntryText(skills, 0)) << item;
        EXPECT_EQ(StoredNumber(TEXT("Item")), 0);
        ClosePane();
    }
}

TEST_F(PaneTest, StoredEntryWithoutCategoryShowsNothing)
{
    StoreNumber(TEXT("Item"), 3);
    OpenPane();
    EXPECT_EQ(pane.currentCategory, -1);
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(ShownText(), TEXT(""));
    EXPECT_EQ(StoredNumber(TEXT("Item")), 3);
}

TEST_F(PaneTest, StoredCategoryThatIsNoIndexIsIgnored)
{
    for (const int category : {7, -1, INT_MIN, INT_MAX}) {
        StoreNumber(TEXT("Category"), category);
        StoreNumber(TEXT("Item"), 0);
        OpenPane();
        EXPECT_EQ(pane.currentCategory, -1) << category;
        EXPECT_EQ(CategorySelection(), CB_ERR);
        EXPECT_TRUE(Items().empty());
        EXPECT_EQ(StoredNumber(TEXT("Category")), category);
        ClosePane();
    }
}

TEST_F(PaneTest, OptionFlagsAreOnOnlyForTheValueOne)
{
    struct Case {
        bool stored;
        int value;
        bool on;
    };
    const Case cases[] = {{false, 0, false}, {true, 0, false}, {true, 1, true}, {true, 2, false}, {true, -1, false}};
    for (const Case& c : cases) {
        if (c.stored) {
            StoreNumber(TEXT("BodySearch"), c.value);
            StoreNumber(TEXT("StickyFull"), c.value);
        }
        OpenPane();
        EXPECT_EQ(pane.BodySearch, c.on) << c.value;
        // The handheld program has no "StickyFull" option and never reads it.
        EXPECT_EQ(pane.StickyFull, c.on && sizeof(TCHAR) == 1) << c.value;
        ClosePane();
    }
}

TEST_F(PaneTest, ChoosingAnEntryShowsTitleSeparatorBodyAndStoresBoth)
{
    OpenPane();
    ChooseCategory(spells);
    ChooseItem(3);
    EXPECT_EQ(ShownText(), EntryText(spells, 3));
    EXPECT_EQ(StoredNumber(TEXT("Category")), spells);
    EXPECT_EQ(StoredNumber(TEXT("Item")), 3);
}

TEST_F(PaneTest, ChangingCategoryDeletesItemEmptiesTheEditFieldAndKeepsTheText)
{
    OpenPane();
    ChooseCategory(spells);
    ChooseItem(2);
    SetWindowText(Control(IDC_ITEM_LIST), TEXT("typed"));
    ChooseCategory(skills);
    EXPECT_FALSE(HasValue(TEXT("Item")));
    EXPECT_EQ(StoredNumber(TEXT("Category")), skills);
    EXPECT_EQ(Items(), AllTitles(skills));
    TCHAR edit[16] = {};
    GetWindowText(Control(IDC_ITEM_LIST), edit, 16);
    EXPECT_STREQ(edit, TEXT(""));
    EXPECT_EQ(ShownText(), EntryText(spells, 2));
}

TEST_F(PaneTest, SameTitledFeatsShowTheirOwnBodyFromTheFullListAndTheFirstFromAFilteredOne)
{
    OpenPane();
    const int first = FirstOfTheSameTitledPair();
    ASSERT_GE(first, 0);
    ChooseCategory(feats);
    ChooseItem(first + 1);
    EXPECT_EQ(ShownText(), EntryText(feats, first + 1));
    EXPECT_EQ(StoredNumber(TEXT("Item")), first + 1);

    // Filter down to the pair and take the second of the two, typing over
    // the chosen title as a user does.
    SendMessage(Control(IDC_ITEM_LIST), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    Type(Title(feats, first));
    ASSERT_TRUE(ItemListOpen());
    const std::vector<TextString> items = Items();
    int second = -1;
    for (int i = 1; i < static_cast<int>(items.size()); ++i) {
        if (items[i] == Title(feats, first) && items[i - 1] == items[i])
            second = i;
    }
    ASSERT_GE(second, 0) << ::testing::PrintToString(items);
    SendMessage(Control(IDC_ITEM_LIST), CB_SETCURSEL, static_cast<WPARAM>(second), 0);
    CloseItemList();
    EXPECT_EQ(ShownText(), EntryText(feats, first));
    EXPECT_EQ(StoredNumber(TEXT("Item")), first);
    EXPECT_FALSE(pane.itemListFiltered);
    EXPECT_EQ(Items(), AllTitles(feats));
}

RECT RectInPane(HWND control, HWND pane)
{
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

TEST_F(PaneTest, LayoutStacksTheControlsWithTheTextViewTakingTheRest)
{
    OpenPane();
    MoveWindow(pane.window, 0, 0, 377, 291, TRUE);
    RECT client;
    GetClientRect(pane.window, &client);
    const RECT categories = RectInPane(Control(IDC_CATEGORY_LIST), pane.window);
    const RECT items = RectInPane(Control(IDC_ITEM_LIST), pane.window);
    const RECT text = RectInPane(Control(IDC_TEXT_VIEW), pane.window);
    const int h1 = categories.bottom - categories.top;
    const int h2 = items.bottom - items.top;
    EXPECT_EQ(categories.left, 2);
    EXPECT_EQ(categories.top, 2);
    EXPECT_EQ(categories.right, client.right - 2);
    EXPECT_EQ(items.left, 2);
    EXPECT_EQ(items.top, h1 + 4);
    EXPECT_EQ(items.right, client.right - 2);
    EXPECT_EQ(text.left, 2);
    EXPECT_EQ(text.top, h1 + h2 + 6);
    EXPECT_EQ(text.right, client.right - 2);
    EXPECT_EQ(text.bottom, client.bottom - 4);
}

TEST_F(PaneTest, TabMovesTheFocusThroughTheThreeControls)
{
    OpenPane();
    SetFocus(Control(IDC_CATEGORY_LIST));
    const HWND expected[] = {ItemEdit(), Control(IDC_TEXT_VIEW), Control(IDC_CATEGORY_LIST)};
    for (const HWND next : expected) {
        MSG tab = {GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
        EXPECT_TRUE(IsModelessDialogMessage(&tab));
        EXPECT_EQ(GetFocus(), next);
    }
}

}  // namespace
