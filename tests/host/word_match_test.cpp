// The 8-bit word test folds only A to Z.
#include <gtest/gtest.h>

#include <cstring>

#include "pane/word_match.h"

namespace {

bool Has(const char* text, const char* word)
{
    return TextHasWord(text, std::strlen(text), word, std::strlen(word));
}

TEST(TextHasWord, FoldsOnlyAsciiLetters)
{
    EXPECT_TRUE(Has("Keeper\x92s Ward", "WARD"));
    EXPECT_TRUE(Has("Keeper\x92s Ward", "r\x92S"));
    EXPECT_TRUE(Has("fireball", "E"));
    EXPECT_FALSE(Has("caf\xE9", "CAF\xC9"));  // accented capital against small letter
    EXPECT_TRUE(Has("caf\xE9", "CAF\xE9"));
    EXPECT_FALSE(Has("[a]", "{A}"));  // brackets and braces sit 32 apart too
}

TEST(TextHasWord, EmptyWordMatchesAllAndLongerWordNone)
{
    EXPECT_TRUE(Has("", ""));
    EXPECT_TRUE(Has("abc", ""));
    EXPECT_TRUE(Has("abc", "ABC"));
    EXPECT_FALSE(Has("abc", "abcd"));
    EXPECT_TRUE(Has("xxabc", "abc"));
    EXPECT_FALSE(Has("xxab", "abc"));
}

}  // namespace
