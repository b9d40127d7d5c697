// The screen test of saved rectangles and the window-slot table scan.
#include <gtest/gtest.h>

#include <climits>

#include "shell/desktop/screen_fit.h"

namespace {

struct FitCase {
    const char* what;
    int x, y, width, height;
    int vx, vy, vcx, vcy;
    bool fits;
};

const FitCase fitCases[] = {
    {"ordinary window", 100, 100, 300, 320, 0, 0, 1024, 768, true},
    {"width 9 refused", 100, 100, 9, 320, 0, 0, 1024, 768, false},
    {"width 10 accepted", 100, 100, 10, 320, 0, 0, 1024, 768, true},
    {"height 9 refused", 100, 100, 300, 9, 0, 0, 1024, 768, false},
    {"height 10 accepted", 100, 100, 300, 10, 0, 0, 1024, 768, true},
    {"right edge on the screen's right edge", 724, 0, 300, 320, 0, 0, 1024, 768, true},
    {"right edge one pixel further", 725, 0, 300, 320, 0, 0, 1024, 768, false},
    {"bottom edge on the screen's bottom edge", 0, 448, 300, 320, 0, 0, 1024, 768, true},
    {"bottom edge one pixel further", 0, 449, 300, 320, 0, 0, 1024, 768, false},
    {"left of the screen", -1, 0, 300, 320, 0, 0, 1024, 768, false},
    {"above the screen", 0, -1, 300, 320, 0, 0, 1024, 768, false},
    {"on a monitor left of the primary", -1280, 10, 300, 320, -1280, 0, 2304, 1024, true},
    {"left of a virtual screen with a negative origin", -1281, 10, 300, 320, -1280, 0, 2304, 1024, false},
    {"saved on a monitor that is gone", -1000, 10, 300, 320, 0, 0, 1024, 768, false},
    {"system-default position", INT_MIN, INT_MIN, 300, 320, 0, 0, 1024, 768, false},
    {"width at the 32-bit limit", 0, 0, INT_MAX, 320, 0, 0, 1024, 768, false},
    {"negative width at the limit", 0, 0, INT_MIN, 320, 0, 0, 1024, 768, false},
    {"height at the 32-bit limit under a negative origin", 0, 0, 300, INT_MAX, -100, -2000000000, 1024,
     2147483647, false},
    {"position at the 32-bit limit", INT_MAX, INT_MAX, 300, 320, 0, 0, 1024, 768, false},
    {"huge virtual screen", 100000000, 0, 300, 320, -2000000000, 0, INT_MAX, 768, true},
    {"beyond a huge virtual screen", 147483348, 0, 300, 320, -2000000000, 0, INT_MAX, 768, false},
};

class FitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitTest, AnswersAsTheSixConditionsSay)
{
    const FitCase& c = GetParam();
    EXPECT_EQ(RectangleFitsScreen(c.x, c.y, c.width, c.height, c.vx, c.vy, c.vcx, c.vcy), c.fits) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Rectangles, FitTest, ::testing::ValuesIn(fitCases));

TEST(WindowSlots, TakeTheFirstFreeAndReuseTheLowest)
{
    unsigned char table[windowSlotCount] = {};
    int first = -1;
    int second = -1;
    int third = -1;
    EXPECT_EQ(TakeFirstFreeSlot(table, &first), 1);
    EXPECT_EQ(TakeFirstFreeSlot(table, &second), 2);
    FreeHeldSlot(table, &first);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(TakeFirstFreeSlot(table, &third), 1);
    FreeHeldSlot(table, &first);  // holds nothing: changes nothing
    EXPECT_EQ(table[0], 1);
}

TEST(WindowSlots, AllTakenGivesTheLastNumberAndHoldsNothing)
{
    unsigned char table[windowSlotCount];
    for (unsigned char& slot : table)
        slot = 1;
    int held = -1;
    EXPECT_EQ(TakeFirstFreeSlot(table, &held), 256);
    EXPECT_EQ(held, -1);
    FreeHeldSlot(table, &held);
    EXPECT_EQ(table[255], 1);
}

}  // namespace
