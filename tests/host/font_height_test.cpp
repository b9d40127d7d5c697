// The display font's height for each size the options offer.
#include <gtest/gtest.h>

#include <climits>

#include "options/font_height.h"

namespace {

TEST(DisplayFontHeight, NineSizesAt96DpiAndTenPointsAt120)
{
    const int sizes[] = {6, 7, 8, 9, 10, 11, 12, 14, 16};
    const int heights[] = {-8, -9, -11, -12, -13, -15, -16, -19, -21};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(DisplayFontHeight(96, sizes[i]), heights[i]) << sizes[i] << " points";
    EXPECT_EQ(DisplayFontHeight(120, 10), -17);
}

TEST(DisplayFontHeight, ZeroSizeGivesTheDefaultHeightAndExtremesAreClamped)
{
    EXPECT_EQ(DisplayFontHeight(96, 0), 0);
    // A negative size asks for the cell height: -(96 * -10 / 72 + 0.5) truncated.
    EXPECT_EQ(DisplayFontHeight(96, -10), 12);
    EXPECT_EQ(DisplayFontHeight(96, INT_MAX), -INT_MAX);
    EXPECT_EQ(DisplayFontHeight(96, INT_MIN), INT_MAX);
}

}  // namespace
