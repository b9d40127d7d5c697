// Titles that the locale's comparison takes for equal ("Straße" and
// "Strasse", "Æther" and "AEther", a word with and without a soft hyphen)
// are different entries: each one chosen from a filtered list shows its own
// body and stores its own index, and a body search reads each one's body.
#include "data/rules_image.h"
#include "resources/shared/resource_ids.h"
#include "tests/win32/pane_fixture.h"

namespace {

// Windows-1252 in the 8-bit build, the same code points in the wide one.
struct LookAlike {
    const TCHAR* title;
    const TCHAR* filter;   // typed into the item list: keeps both look-alikes
    const TCHAR* ownWord;  // a word of this entry's body alone
};

const LookAlike lookAlikes[] = {
    {TEXT("Strasse"), TEXT("stra"), TEXT("cobbles")},
    {TEXT("Stra\xDF") TEXT("e"), TEXT("stra"), TEXT("bridge")},
    {TEXT("AEther"), TEXT("ther"), TEXT("stories")},
    {TEXT("\xC6") TEXT("ther"), TEXT("ther"), TEXT("mist")},
    {TEXT("Softhyphen"), TEXT("soft"), TEXT("unbroken")},
    {TEXT("Soft\xAD") TEXT("hyphen"), TEXT("soft"), TEXT("break")},
};

class ExactTitleTest : public PaneTest {
protected:
    int EntryTitled(const TextString& title) const
    {
        const std::vector<TextString> titles = AllTitles(0);
        for (std::size_t e = 0; e < titles.size(); ++e) {
            if (titles[e] == title)
                return static_cast<int>(e);
        }
        return -1;
    }

    int PositionOf(const TextString& title) const
    {
        const std::vector<TextString> items = Items();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i] == title)
                return static_cast<int>(i);
        }
        return -1;
    }
};

TEST_F(ExactTitleTest, EachLookAlikeChosenFromAFilteredListShowsItsOwnEntry)
{
    OpenPane();
    for (const LookAlike& each : lookAlikes) {
        SCOPED_TRACE(TextString(each.title).size());
        ChooseCategory(0);
        Type(each.filter);
        ASSERT_TRUE(pane.itemListFiltered);
        const int position = PositionOf(each.title);
        ASSERT_GE(position, 0);
        // Picked in the open list, which closes on the choice.
        SendMessage(Control(IDC_ITEM_LIST), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        CloseItemList();
        const int entry = EntryTitled(each.title);
        EXPECT_EQ(ShownText(), EntryText(0, entry));
        EXPECT_EQ(StoredNumber(TEXT("Item")), entry);
    }
}

TEST_F(ExactTitleTest, ABodySearchReadsEachLookAlikesOwnBody)
{
    StoreNumber(TEXT("BodySearch"), 1);
    OpenPane();
    for (const LookAlike& each : lookAlikes) {
        ChooseCategory(0);
        Type(each.ownWord);
        EXPECT_EQ(Items(), std::vector<TextString>{each.title}) << TextString(each.ownWord).size();
    }
}

}  // namespace
