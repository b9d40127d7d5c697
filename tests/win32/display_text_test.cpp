// Display copies of image texts, in the 8-bit and the wide build.
#include <gtest/gtest.h>

#include <cstring>

#include "data/display_text.h"
#include "data/rules_image.h"
#include "data/rules_loader.h"

namespace {

TEST(MakeDisplayText, IsAFreshTerminatedCopyInTheInterfaceCharacters)
{
    const char text[] = "Keeper\x92s Ward \x96 10\xB0";
    DisplayText copy(MakeDisplayText(text));
    ASSERT_NE(copy.get(), nullptr);
    EXPECT_NE(static_cast<void*>(copy.get()), static_cast<const void*>(text));
#ifdef UNICODE
    // Windows-1252 is the code page of the machines the tests run on.
    ASSERT_EQ(GetACP(), 1252u);
    EXPECT_STREQ(copy.get(), L"Keeper\u2019s Ward \u2013 10\u00B0");
#else
    EXPECT_STREQ(copy.get(), text);
#endif
    DisplayText empty(MakeDisplayText(""));
    ASSERT_NE(empty.get(), nullptr);
    EXPECT_EQ(empty.get()[0], 0);
}

TEST(MakeDisplayText, ShippedTitleWithRightQuotationMarkKeepsIt)
{
    ASSERT_TRUE(LoadRulesData(GetModuleHandle(nullptr), nullptr));
    int found = 0;
    for (int c = 0; c < GetCategoryCount(); ++c) {
        for (int e = 0; e < GetEntryCount(c); ++e) {
            if (std::strchr(GetEntryTitle(c, e), '\x92') == nullptr)
                continue;
            ++found;
            DisplayText title(MakeDisplayText(GetEntryTitle(c, e)));
#ifdef UNICODE
            EXPECT_NE(std::wcschr(title.get(), L'\u2019'), nullptr);
#else
            EXPECT_NE(std::strchr(title.get(), '\x92'), nullptr);
#endif
        }
    }
    EXPECT_EQ(found, 1);
    SetRulesImage(nullptr);
}

}  // namespace
