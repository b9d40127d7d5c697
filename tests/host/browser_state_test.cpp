// The interactive browser's state over the shipped rules, driven by its keys
// without a terminal: what the screen test does not reach (the twin titles,
// the keys that do two things, a bad roll, a shrinking window).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/rules_image.h"
#include "terminal/browser_state.h"
#include "terminal/entry_lookup.h"
#include "tests/host/test_images.h"

namespace {

class BrowserOverShippedRules : public ShippedImageTest {
  protected:
    void SetUp() override
    {
        ShippedImageTest::SetUp();
        StartBrowser(state, 80, 24);
    }

    void Press(KeyName name) { HandleKey(state, BrowserKey{name, ""}); }
    void Type(const std::string& text)
    {
        for (const char c : text)
            HandleKey(state, BrowserKey{KeyName::character, std::string(1, c)});
    }
    std::string ShownTitle() const
    {
        return GetEntryTitle(state.shown.category, state.shown.entry);
    }

    BrowserState state;
};

TEST_F(BrowserOverShippedRules, AFilteredRowOpensTheFirstEntryOfItsTitleAsTheProgramsDo)
{
    SelectCategory(state, FindCategoryNamed("Feats"));
    std::vector<int> twins;
    for (const ListRow& row : state.entries) {
        if (row.title == "Toughness")
            twins.push_back(row.entry.entry);
    }
    ASSERT_EQ(twins.size(), 2u);
    EXPECT_NE(twins[0], twins[1]) << "the whole list opens each entry";

    Type("toughness");
    ASSERT_EQ(state.entries.size(), 2u);
    EXPECT_EQ(state.entries[0].entry.entry, twins[0]);
    EXPECT_EQ(state.entries[1].entry.entry, twins[0]);
}

TEST_F(BrowserOverShippedRules, BackspaceAndEscapeEmptyTheFilterBeforeGoingBackOrQuitting)
{
    const std::string first = ShownTitle();
    Type("seal");
    Press(KeyName::tab);
    Press(KeyName::enter);
    const std::string followed = ShownTitle();
    ASSERT_NE(followed, "Arcane Seal");

    Press(KeyName::left); // to the entry list, where typing filters
    Type("lo");
    Press(KeyName::backspace);
    EXPECT_EQ(state.filter, "l");
    Press(KeyName::escape);
    EXPECT_EQ(state.filter, "");
    EXPECT_FALSE(state.done);
    // The way back holds what was read, not what the filter showed on the way.
    Press(KeyName::backspace);
    EXPECT_EQ(ShownTitle(), followed);
    Press(KeyName::backspace);
    EXPECT_EQ(ShownTitle(), "Arcane Seal");
    Press(KeyName::backspace);
    EXPECT_EQ(ShownTitle(), first);
    Press(KeyName::escape);
    EXPECT_TRUE(state.done);
}

TEST_F(BrowserOverShippedRules, NamesABadRollWithItsPlaceAndKeepsTheEntry)
{
    const EntryRef before = state.shown;
    Press(KeyName::right); // from the entry list, where 'r' would be typed

    Type("r3d7");
    Press(KeyName::enter);
    EXPECT_EQ(state.reading, Reading::entry);
    EXPECT_NE(state.message.find("at character 3"), std::string::npos) << state.message;
    EXPECT_EQ(state.shown.entry, before.entry);
}

TEST_F(BrowserOverShippedRules, KeepsTheSelectedNameInViewWhenTheWindowShrinks)
{
    Type("seal");
    Press(KeyName::tab);
    ASSERT_EQ(state.selectedLink, 0);
    ResizeBrowser(state, 40, 10);
    int line = -1;
    for (std::size_t l = 0; l < state.text.size() && line < 0; ++l) {
        for (const LaidOutCharacter& c : state.text[l]) {
            if (c.link == 0)
                line = static_cast<int>(l);
        }
    }
    EXPECT_GE(line, state.textTop);
    EXPECT_LT(line, state.textTop + state.screen.textRows);
    for (const LaidOutLine& text : state.text)
        EXPECT_LE(static_cast<int>(text.size()), state.screen.textWidth);
}

} // namespace
