// A copy of a built program (desktop or handheld, as the build chooses) into
// which the host packer embedded house rules of its own
// (tests/e2e/house-rules), started under Wine: it shows the house categories
// and their entries, not the shipped ones.
#include <gtest/gtest.h>

#include "resources/shared/resource_ids.h"
#include "tests/e2e/program_driver.h"
#include "tests/win32/settings_fixture.h"

namespace {

// A combo box's items, read from outside its process.
std::vector<std::string> ItemsOf(HWND combo)
{
    std::vector<std::string> items;
    const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        items.push_back(ComboItemText(combo, i));
    return items;
}

using HouseRulesProgram = RealProgramTest;

// Picks a category as the user does: the combo box selects it and tells its
// parent.
void ChooseCategory(HWND mainWindow, int category)
{
    const HWND combo = PaneControl(mainWindow, IDC_CATEGORY_LIST);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(category), 0);
    SendMessageW(PaneOf(mainWindow), WM_COMMAND, MAKEWPARAM(IDC_CATEGORY_LIST, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

TEST_F(HouseRulesProgram, ListsTheHouseCategoriesAndTheEntriesOfEach)
{
    const RunningCopy copy = StartCopy();
    ASSERT_NE(copy.window, nullptr) << "the program did not start";
    EXPECT_EQ(ItemsOf(PaneControl(copy.window, IDC_CATEGORY_LIST)),
              (std::vector<std::string>{"Potions", "Traps"}));
    const std::vector<std::string> titles[] = {{"Draught of Embers", "Tonic of Still Water"},
                                               {"Pendulum Blade", "Snare Pit"}};
    for (int category = 0; category < 2; ++category) {
        ChooseCategory(copy.window, category);
        EXPECT_EQ(ItemsOf(PaneControl(copy.window, IDC_ITEM_LIST)), titles[category]);
    }
    EXPECT_TRUE(CloseCopy(copy));
}

}  // namespace
