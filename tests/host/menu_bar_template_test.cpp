// The menu-bar templates of the handheld program, read word by word.
#include <gtest/gtest.h>

#include <vector>

#include "shell/handheld/menu_bar_template.h"

namespace {

std::vector<unsigned char> Bytes(const std::vector<std::uint16_t>& words)
{
    std::vector<unsigned char> bytes;
    for (const std::uint16_t word : words) {
        bytes.push_back(static_cast<unsigned char>(word & 0xFF));
        bytes.push_back(static_cast<unsigned char>(word >> 8));
    }
    return bytes;
}

// The three templates as the handheld resources hold them.
const std::vector<std::uint16_t> mainBar = {104,    5,   0xFFFE, 105, 4, 0x18, 107, 0, 0, 0xFFFE, 129, 4,
                                            0x18,   128, 0,      1,   0xFFFE, 110, 4, 0x18, 108, 0, 2, 1,
                                            144,    4,   0x10,   0,   163, 3, 2, 127, 4, 0x10, 0, 164, 4};
const std::vector<std::uint16_t> diceBar = {0, 1, 0, 162, 4, 0x10, 0, 161, 0};
const std::vector<std::uint16_t> searchBar = {0, 0};

TEST(MenuBarTemplate, MainBarHasThreeDropDownsAndTwoPictures)
{
    const std::vector<unsigned char> bytes = Bytes(mainBar);
    MenuBarTemplate bar;
    ASSERT_TRUE(ReadMenuBarTemplate(bytes.data(), bytes.size(), bar));
    EXPECT_EQ(bar.menu, 104);
    ASSERT_EQ(bar.buttons.size(), 5u);
    for (int b = 0; b < 3; ++b) {
        EXPECT_EQ(bar.buttons[b].image, menuBarNoImage);
        EXPECT_EQ(bar.buttons[b].style, 0x18);
        EXPECT_EQ(bar.buttons[b].subMenu, b);
    }
    EXPECT_EQ(bar.buttons[1].caption, 128);
    EXPECT_EQ(bar.buttons[3].image, 1);
    EXPECT_EQ(bar.buttons[3].command, 144);
    EXPECT_EQ(bar.buttons[3].tip, 163);
    EXPECT_EQ(bar.buttons[4].image, 2);
    EXPECT_EQ(bar.buttons[4].command, 127);
    EXPECT_EQ(bar.buttons[4].state, 4);
}

TEST(MenuBarTemplate, DiceBarHasTheEraserAndSearchBarNothing)
{
    MenuBarTemplate bar;
    std::vector<unsigned char> bytes = Bytes(diceBar);
    ASSERT_TRUE(ReadMenuBarTemplate(bytes.data(), bytes.size(), bar));
    EXPECT_EQ(bar.menu, 0);
    ASSERT_EQ(bar.buttons.size(), 1u);
    EXPECT_EQ(bar.buttons[0].image, 0);
    EXPECT_EQ(bar.buttons[0].command, 162);
    EXPECT_EQ(bar.buttons[0].tip, 161);

    bytes = Bytes(searchBar);
    ASSERT_TRUE(ReadMenuBarTemplate(bytes.data(), bytes.size(), bar));
    EXPECT_TRUE(bar.buttons.empty());
}

TEST(MenuBarTemplate, RefusesTemplatesShorterThanTheirCountOrNotWholeWords)
{
    MenuBarTemplate bar;
    std::vector<unsigned char> bytes = Bytes(mainBar);
    bytes.pop_back();
    EXPECT_FALSE(ReadMenuBarTemplate(bytes.data(), bytes.size(), bar));
    bytes.pop_back();
    EXPECT_FALSE(ReadMenuBarTemplate(bytes.data(), bytes.size(), bar));
    EXPECT_FALSE(ReadMenuBarTemplate(bytes.data(), 2, bar));
    const std::vector<unsigned char> huge = Bytes({0, 0xFFFF, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_FALSE(ReadMenuBarTemplate(huge.data(), huge.size(), bar));
}

}  // namespace
