// The item list's type-ahead filter, typed into the real combo box.
#include <cstring>

#include "data/display_text.h"
#include "data/rules_image.h"
#include "resources/shared/resource_ids.h"
#include "tests/win32/pane_fixture.h"

namespace {

constexpr int spells = 0;
constexpr int feats = 2;

class TypeAheadTest : public PaneTest {
protected:
    void OpenOn(int category)
    {
        OpenPane();
        ChooseCategory(category);
    }
    TextString EditText() const
    {
        TCHAR text[textBufferLength] = {};
        GetWindowText(Control(IDC_ITEM_LIST), text, textBufferLength);
        return text;
    }
    DWORD CaretEnd() const
    {
        DWORD start = 0;
        DWORD end = 0;
        SendMessage(Control(IDC_ITEM_LIST), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                    reinterpret_cast<LPARAM>(&end));
        return end;
    }
    void Backspace(int times)
    {
        for (int i = 0; i < times; ++i)
            SendMessage(ItemEdit(), WM_CHAR, VK_BACK, 1);
    }
};

// A lower-case letter that occurs in some title of the category but never
// twice in a row, so that the doubled letter removes every title.
TCHAR LetterNeverDoubled(int category)
{
    for (TCHAR letter = 'a'; letter <= 'z'; ++letter) {
        const TextString single(1, letter);
        const TextString doubled(2, letter);
        if (!PaneTest::TitlesHoldingAll(category, single).empty() &&
            PaneTest::TitlesHoldingAll(category, doubled).empty())
            return letter;
    }
    return 0;
}

TEST_F(TypeAheadTest, TypingIntoTheClosedListOpensItAndKeepsTheCaret)
{
    OpenOn(spells);
    ASSERT_FALSE(ItemListOpen());
    Type(TEXT("e"));
    EXPECT_TRUE(ItemListOpen());
    EXPECT_EQ(EditText(), TEXT("e"));
    EXPECT_EQ(CaretEnd(), 1u);
    EXPECT_EQ(Items(), TitlesHoldingAll(spells, TEXT("e")));
    EXPECT_TRUE(pane.itemListFiltered);
}

TEST_F(TypeAheadTest, TitlesMustHoldEveryWordInAnyOrderWithCaseFoldedAToZ)
{
    OpenOn(spells);
    Type(TEXT("e r"));
    const std::vector<TextString> both = Items();
    EXPECT_EQ(both, TitlesHoldingAll(spells, TEXT("e r")));
    EXPECT_LT(both.size(), AllTitles(spells).size());
    ClosePane();

    for (const TCHAR* text : {TEXT("r e"), TEXT("R  E"), TEXT("E r")}) {
        OpenOn(spells);
        Type(text);
        EXPECT_EQ(Items(), both) << static_cast<const void*>(text);
        ClosePane();
    }
}

TEST_F(TypeAheadTest, DeletingAllTextBringsBackTheFullListInImageOrder)
{
    OpenOn(spells);
    Type(TEXT("st"));
    ASSERT_NE(Items(), AllTitles(spells));
    Backspace(2);
    EXPECT_EQ(EditText(), TEXT(""));
    EXPECT_EQ(Items(), AllTitles(spells));
    EXPECT_FALSE(pane.itemListFiltered);
}

TEST_F(TypeAheadTest, OneMoreCharacterNarrowsTheListAndOtherLengthsRebuildIt)
{
    OpenOn(spells);
    const TCHAR letter = LetterNeverDoubled(spells);
    ASSERT_NE(letter, 0);
    const TextString doubled(2, letter);
    Type(doubled);
    ASSERT_TRUE(Items().empty());

    // A blank typed between the two letters makes two words that many titles
    // hold, but the text grew by one character: the empty list stays empty.
    PlaceCaret(1);
    Type(TEXT(" "));
    EXPECT_EQ(EditText(), TextString(1, letter) + TEXT(" ") + TextString(1, letter));
    EXPECT_TRUE(Items().empty());

    // Replacing the text by one of another length filters the full list anew.
    SendMessage(Control(IDC_ITEM_LIST), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    Type(TextString(1, letter));
    EXPECT_EQ(EditText(), TextString(1, letter));
    EXPECT_EQ(Items(), TitlesHoldingAll(spells, TextString(1, letter)));
}

// A word of the entry's body that none of the category's titles holds.
TextString BodyWordNotInAnyTitle(int category, int entry)
{
    DisplayText body(MakeDisplayText(GetEntryBody(category, entry)));
    TextString word;
    for (const TCHAR* c = body.get();; ++c) {
        const bool letter = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z');
        if (letter) {
            word += *c;
            continue;
        }
        if (word.size() >= 5 && PaneTest::TitlesHoldingAll(category, word).empty())
            return word;
        word.clear();
        if (*c == 0)
            return {};
    }
}

TEST_F(TypeAheadTest, WithBodySearchAWordFoundOnlyInABodyKeepsItsTitle)
{
    OpenOn(spells);
    const TextString word = BodyWordNotInAnyTitle(spells, 0);
    ASSERT_FALSE(word.empty());
    Type(word);
    EXPECT_TRUE(Items().empty());
    ClosePane();

    StoreNumber(TEXT("BodySearch"), 1);
    OpenOn(spells);
    Type(word);
    const std::vector<TextString> items = Items();
    EXPECT_FALSE(items.empty());
    EXPECT_NE(std::find(items.begin(), items.end(), Title(spells, 0)), items.end());
}

TEST_F(TypeAheadTest, BodyTestFindsAWordAsLongAsTheBodyAndLooksOnlyAtTheFirstOfTwinTitles)
{
    OpenOn(feats);
    int first = -1;
    for (int e = 1; e < GetEntryCount(feats); ++e) {
        if (lstrcmpA(GetEntryTitle(feats, e - 1), GetEntryTitle(feats, e)) == 0)
            first = e - 1;
    }
    ASSERT_GE(first, 0);
    const TextString title = Title(feats, first);
    DisplayText firstBody(MakeDisplayText(GetEntryBody(feats, first)));
    DisplayText secondBody(MakeDisplayText(GetEntryBody(feats, first + 1)));
    const int firstLength = lstrlen(firstBody.get());
    const int secondLength = lstrlen(secondBody.get());
    EXPECT_TRUE(pane.EntryHasWord(feats, firstBody.get(), firstLength, title.c_str(), true));
    EXPECT_FALSE(pane.EntryHasWord(feats, firstBody.get(), firstLength, title.c_str(), false));
    // The second entry's whole body is in no title and not in the first body.
    EXPECT_FALSE(pane.EntryHasWord(feats, secondBody.get(), secondLength, title.c_str(), true));
    // Nothing is found in a category other than the current one.
    EXPECT_FALSE(pane.EntryHasWord(spells, TEXT(""), 0, title.c_str(), true));
}

TEST_F(TypeAheadTest, ClosingWithoutSelectionShowsTheFirstRemainingTitle)
{
    OpenOn(spells);
    Type(TEXT("st"));
    const std::vector<TextString> remaining = Items();
    ASSERT_FALSE(remaining.empty());
    SendMessage(Control(IDC_ITEM_LIST), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    CloseItemList();
    const std::vector<TextString> all = AllTitles(spells);
    const int index = static_cast<int>(std::find(all.begin(), all.end(), remaining[0]) - all.begin());
    EXPECT_EQ(ShownText(), EntryText(spells, index));
    EXPECT_EQ(StoredNumber(TEXT("Item")), index);
}

TEST_F(TypeAheadTest, ClosingAnEmptyFilteredListShowsNothingAndOpeningByHandEmptiesTheField)
{
    OpenOn(spells);
    const TCHAR letter = LetterNeverDoubled(spells);
    Type(TextString(3, letter));
    ASSERT_TRUE(Items().empty());
    CloseItemList();
    EXPECT_EQ(ShownText(), TEXT(""));
    EXPECT_TRUE(pane.itemListFiltered);
    EXPECT_FALSE(HasValue(TEXT("Item")));

    OpenItemListByHand();
    EXPECT_EQ(EditText(), TEXT(""));
    EXPECT_TRUE(Items().empty());
    // The next character filters the full list anew (3 letters were typed before).
    Type(TEXT("e"));
    EXPECT_EQ(Items(), TitlesHoldingAll(spells, TEXT("e")));
}

TEST_F(TypeAheadTest, WithoutACategoryTypingChangesNothing)
{
    OpenPane();
    Type(TEXT("e"));
    EXPECT_FALSE(ItemListOpen());
    EXPECT_TRUE(Items().empty());
    EXPECT_FALSE(pane.itemListFiltered);
}

}  // namespace
