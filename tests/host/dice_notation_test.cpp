// The dice notation players type: the rolls each valid text asks for, and for
// each kind of mistake, the message and the byte where it shows.
#include "dice/dice_notation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Roll {
    int count;
    int sides;
    int modifier;
    int repeats;
    std::string text; // the roll's own characters in the notation
};

struct ValidCase {
    const char* notation;
    std::vector<Roll> rolls;
};

TEST(ParseDiceNotation, ReadsEveryFormPlayersType)
{
    const ValidCase cases[] = {
        {"d20", {{1, 20, 0, 1, "d20"}}},
        {"D6", {{1, 6, 0, 1, "D6"}}},
        {"3d6+2", {{3, 6, 2, 1, "3d6+2"}}},
        {"4d6-1 x6", {{4, 6, -1, 6, "4d6-1 x6"}}},
        {"2d8 x3", {{2, 8, 0, 3, "2d8 x3"}}},
        {"2d8x3", {{2, 8, 0, 3, "2d8x3"}}},
        {"d100 X2", {{1, 100, 0, 2, "d100 X2"}}},
        {"3d6 + 2 x 4", {{3, 6, 2, 4, "3d6 + 2 x 4"}}},
        {"  d4\t", {{1, 4, 0, 1, "d4"}}},
        {"d20 3d6+2 4d6-1 x6",
         {{1, 20, 0, 1, "d20"}, {3, 6, 2, 1, "3d6+2"}, {4, 6, -1, 6, "4d6-1 x6"}}},
        {"d20 -1", {{1, 20, -1, 1, "d20 -1"}}},
        {"d2 d3 d10 d12",
         {{1, 2, 0, 1, "d2"}, {1, 3, 0, 1, "d3"}, {1, 10, 0, 1, "d10"}, {1, 12, 0, 1, "d12"}}},
        {"999d100+999 x999", {{999, 100, 999, 999, "999d100+999 x999"}}},
        {"1d4-999", {{1, 4, -999, 1, "1d4-999"}}},
        {"007d6+000", {{7, 6, 0, 1, "007d6+000"}}},
    };
    for (const ValidCase& c : cases) {
        std::vector<NotationRoll> rolls;
        NotationError error;
        ASSERT_TRUE(ParseDiceNotation(c.notation, rolls, error))
            << c.notation << ": " << error.message;
        ASSERT_EQ(rolls.size(), c.rolls.size()) << c.notation;
        for (std::size_t k = 0; k < rolls.size(); ++k) {
            const RollRequest& got = rolls[k].request;
            const Roll& want = c.rolls[k];
            EXPECT_EQ(got.count, want.count) << c.notation;
            EXPECT_EQ(got.sides, want.sides) << c.notation;
            EXPECT_EQ(got.modifier, want.modifier) << c.notation;
            EXPECT_EQ(got.repeats, want.repeats) << c.notation;
            EXPECT_EQ(std::string(c.notation).substr(rolls[k].begin, rolls[k].length), want.text)
                << c.notation;
        }
    }
}

struct ErrorCase {
    const char* notation;
    std::size_t offset;
    const char* message;
};

TEST(ParseDiceNotation, NamesEachErrorAndItsPosition)
{
    const ErrorCase cases[] = {
        {"", 0, "no dice to roll"},
        {"   ", 3, "no dice to roll"},
        {"20", 2, "expected 'd' and the sides of the die, found the end"},
        {"3x6", 1, "expected 'd' and the sides of the die, found 'x'"},
        {"d", 1, "expected the sides of the die after 'd', found the end"},
        {"d+2", 1, "expected the sides of the die after 'd', found '+'"},
        {"3d7", 2, "a die has 2, 3, 4, 6, 8, 10, 12, 20 or 100 sides"},
        {"d1", 1, "a die has 2, 3, 4, 6, 8, 10, 12, 20 or 100 sides"},
        {"d99999999999999999999", 1, "a die has 2, 3, 4, 6, 8, 10, 12, 20 or 100 sides"},
        {"0d6", 0, "the number of dice must be 1 to 999"},
        {"1000d6", 0, "the number of dice must be 1 to 999"},
        {"3d6+", 4, "expected a number after '+', found the end"},
        {"3d6 - x2", 6, "expected a number after '-', found 'x'"},
        {"3d6+1000", 4, "the modifier must be -999 to 999"},
        {"3d6-1000", 4, "the modifier must be -999 to 999"},
        {"3d6x", 4, "expected the number of totals after 'x', found the end"},
        {"3d6 x0", 5, "the number of totals must be 1 to 999"},
        {"3d6 x1000", 5, "the number of totals must be 1 to 999"},
        {"3d6+2+1", 5, "unexpected '+' after the roll"},
        {"3d6 x2 x3", 7, "expected 'd' and the sides of the die, found 'x'"},
        {"d20 q", 4, "expected 'd' and the sides of the die, found 'q'"},
        {"d20q", 3, "unexpected 'q' after the roll"},
        {"d20 \xC3\x97", 4,
         "expected 'd' and the sides of the die, found a character that is no part of dice "
         "notation"},
        {"d20 3d7", 6, "a die has 2, 3, 4, 6, 8, 10, 12, 20 or 100 sides"},
    };
    for (const ErrorCase& c : cases) {
        std::vector<NotationRoll> rolls;
        NotationError error;
        EXPECT_FALSE(ParseDiceNotation(c.notation, rolls, error)) << c.notation;
        EXPECT_TRUE(rolls.empty()) << c.notation;
        EXPECT_EQ(error.offset, c.offset) << c.notation;
        EXPECT_EQ(error.message.rfind(c.message, 0), 0u) << c.notation << ": " << error.message;
    }
}

TEST(ParseDiceNotation, ReadsATextWithATerminatorInsideAsAMistake)
{
    std::vector<NotationRoll> rolls;
    NotationError error;
    EXPECT_FALSE(ParseDiceNotation(std::string("d20\0", 4), rolls, error));
    EXPECT_EQ(error.offset, 3u);
}

} // namespace
