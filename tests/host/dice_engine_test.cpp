// The dice generator (1998 Mersenne Twister), the faces it gives and the
// result lines of a roll.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "dice/dice_engine.h"

namespace {

constexpr std::uint32_t firstWordsOf4357[] = {0xD13C8AF5u, 0xFFC27482u, 0x82A6958Bu};
constexpr int allDice[] = {2, 3, 4, 6, 8, 10, 12, 20, 100};

std::vector<std::string> Roll(const RollRequest& request)
{
    std::vector<std::string> lines;
    RollDice(request, [&lines](const char* line) { lines.push_back(line); });
    return lines;
}

std::uint64_t BitsOf(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TEST(DiceGenerator, SeededWith4357GivesTheKnownFirstWords)
{
    SeedDiceGenerator(4357);
    for (std::uint32_t expected : firstWordsOf4357)
        EXPECT_EQ(NextDiceWord(), expected);
}

TEST(DiceGenerator, SeededWith4357GivesTheKnownFirstReal)
{
    SeedDiceGenerator(4357);
    EXPECT_EQ(NextDiceReal(), 0.8173300600185361);
}

TEST(DiceGenerator, ReseedingStartsTheSequenceAgain)
{
    SeedDiceGenerator(99);
    for (int i = 0; i < 1000; ++i)
        NextDiceWord();
    SeedDiceGenerator(4357);
    EXPECT_EQ(NextDiceWord(), firstWordsOf4357[0]);
}

TEST(DiceGenerator, UnseededDrawsWhatSeeding4357Draws)
{
    DiceGenerator unseeded;
    DiceGenerator seeded;
    SeedGenerator(seeded, 4357);
    EXPECT_EQ(unseeded.index, unseededDiceIndex);
    for (int i = 0; i < 3 * diceStateSize; ++i)
        ASSERT_EQ(DrawTemperedWord(unseeded), DrawTemperedWord(seeded)) << "draw " << i;
}

TEST(DiceGenerator, SeedingUsesMultiplier69069)
{
    DiceGenerator generator;
    SeedGenerator(generator, 4357);
    EXPECT_EQ(generator.state[0], 4357u);
    EXPECT_EQ(generator.state[1], 4357u * 69069u);
    EXPECT_EQ(generator.state[623], generator.state[622] * 69069u);
    EXPECT_EQ(generator.index, diceStateSize);
}

// Only the seeding differs from the later generator: from the same state
// words, regeneration and tempering must match the library's MT19937 draw for
// draw, across passes that exercise the wrap-round at word 227.
TEST(DiceGenerator, FromTheSameStateDrawsWhatStdMt19937Draws)
{
    DiceGenerator ours;
    SeedGenerator(ours, 4357);
    std::stringstream text;
    for (std::uint32_t word : ours.state)
        text << word << ' ';
    text << diceStateSize;  // libstdc++ also reads its position; others stop before it
    std::mt19937 library;
    text >> library;
    ASSERT_FALSE(text.fail());
    for (int i = 0; i < 10 * diceStateSize; ++i)
        ASSERT_EQ(DrawTemperedWord(ours), library()) << "draw " << i;
}

TEST(DiceReal, EndsOfTheWordRangeGiveExactlyZeroAndOne)
{
    EXPECT_EQ(DiceRealFromWord(0u), 0.0);
    EXPECT_EQ(DiceRealFromWord(0xFFFFFFFFu), 1.0);
    EXPECT_EQ(BitsOf(DiceRealFromWord(1u)), 0x3DF0000000100000u);
    EXPECT_LT(DiceRealFromWord(0xFFFFFFFEu), 1.0);
}

TEST(DieFace, EveryRealMapsIntoOneToSides)
{
    const double lowest = DiceRealFromWord(1u);
    const double belowOne = DiceRealFromWord(0xFFFFFFFEu);
    for (int sides : allDice) {
        SCOPED_TRACE(sides);
        EXPECT_EQ(DieFace(0.0, sides), 1);
        EXPECT_EQ(DieFace(lowest, sides), 1);
        EXPECT_EQ(DieFace(0.5, sides), sides / 2 + 1);
        EXPECT_EQ(DieFace(belowOne, sides), sides);
        EXPECT_EQ(DieFace(1.0, sides), sides);  // the one real that needs the clamp
    }
}

TEST(DieFace, RequestsNoDialogMakesStayDefined)
{
    struct Case {
        double u;
        int sides;
        int face;
    };
    const Case cases[] = {
        {0.5, 1, 1},
        {0.5, 0, 0},
        {1.0, 0, 0},
        {0.5, -6, -6},
        {1.0, INT_MAX, INT_MAX},
        {0.0, INT_MAX, 1},
        {1.0, INT_MIN, INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DieFace(c.u, c.sides), c.face) << c.u << " of " << c.sides;
}

TEST(RollDice, SeededWith4357RollsTheKnownLines)
{
    struct Case {
        RollRequest request;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {{1, 20, 0, 1}, {"d20 = 17"}},
        {{3, 6, 2, 1}, {"3d6+2 = 17"}},
        {{2, 8, 0, 3}, {"", "2d8 = 15", "2d8 = 7", "2d8 = 9"}},
        {{1, 20, -3, 1}, {"d20+-3 = 14"}},
    };
    for (const Case& c : cases) {
        SeedDiceGenerator(4357);
        EXPECT_EQ(Roll(c.request), c.lines);
    }
}

TEST(RollDice, DiceFallInDrawOrder)
{
    SeedDiceGenerator(4357);
    EXPECT_EQ(RollDie(6), 5);
    EXPECT_EQ(RollDie(6), 6);
    EXPECT_EQ(RollDie(6), 4);
}

TEST(RollDice, EachDieCostsExactlyOneDraw)
{
    DiceGenerator reference;
    SeedGenerator(reference, 4357);
    for (int i = 0; i < 2 * 3 + 4; ++i)
        DrawTemperedWord(reference);
    SeedDiceGenerator(4357);
    Roll({3, 6, 1, 2});
    Roll({4, 100, 0, 1});
    EXPECT_EQ(NextDiceWord(), DrawTemperedWord(reference));
}

TEST(RollDice, NoDiceAndNoRepeatsDrawNothing)
{
    struct Case {
        RollRequest request;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {{0, 20, 5, 1}, {"0d20+5 = 5"}},
        {{0, 20, 0, 1}, {"0d20 = 0"}},
        {{-2, 6, 0, 1}, {"-2d6 = 0"}},
        {{0, 20, 0, 2}, {"", "0d20 = 0", "0d20 = 0"}},
        {{1, 20, 0, 0}, {}},
        {{3, 6, 2, 0}, {}},
        {{1, 20, 0, -1}, {}},
        {{2, 8, 0, INT_MIN}, {}},
    };
    for (const Case& c : cases) {
        SeedDiceGenerator(4357);
        EXPECT_EQ(Roll(c.request), c.lines);
        EXPECT_EQ(NextDiceWord(), firstWordsOf4357[0]);
    }
}

TEST(FormatDiceLine, CountOfOneAndZeroModifierAreLeftOut)
{
    struct Case {
        RollRequest request;
        long long total;
        const char* line;
    };
    const Case cases[] = {
        {{1, 20, 0, 1}, 17, "d20 = 17"},
        {{1, 20, 4, 1}, 21, "d20+4 = 21"},
        {{3, 6, 0, 1}, 11, "3d6 = 11"},
        {{3, 6, 2, 1}, 17, "3d6+2 = 17"},
        {{1, 20, -3, 1}, 14, "d20+-3 = 14"},
        {{2, 4, -9, 1}, -4, "2d4+-9 = -4"},
        {{0, 20, 5, 1}, 5, "0d20+5 = 5"},
        {{999, 100, 999, 1}, 100899, "999d100+999 = 100899"},
        {{INT_MAX, INT_MAX, INT_MAX, 1},
         4611686016279904256LL,
         "2147483647d2147483647+2147483647 = 4611686016279904256"},
        {{INT_MIN, INT_MIN, INT_MIN, 1},
         INT_MIN,
         "-2147483648d-2147483648+-2147483648 = -2147483648"},
    };
    for (const Case& c : cases) {
        char line[diceLineSize];
        FormatDiceLine(c.request, c.total, line);
        EXPECT_STREQ(line, c.line);
    }
}

TEST(RollDice, LargestTotalsNeedNoMoreThan64Bits)
{
    SeedDiceGenerator(7);
    const long long total = RollTotal({1000, INT_MAX, INT_MAX, 1});
    EXPECT_GT(total, 100LL * INT_MAX);  // far past what 32 bits hold
    EXPECT_LE(total, 1001LL * INT_MAX);
}

TEST(WidenDiceLine, CopiesEachByteAsOneWideCharacter)
{
    wchar_t wide[diceLineSize];
    WidenDiceLine("999d100+-99 = 100899", wide);
    EXPECT_EQ(std::wstring(wide), L"999d100+-99 = 100899");
    WidenDiceLine("", wide);
    EXPECT_EQ(std::wstring(wide), L"");
}

// Every face of each die over a long run, from a fixed seed so it cannot
// flake: all within 1 to N, every one of them seen, and counts that pass a
// chi-square test at the 0.1% level (a biased or shifted face fails it).
TEST(RollDie, EveryDieIsUniformOverALongRun)
{
    struct Die {
        int sides;
        double criticalChiSquare;  // degrees of freedom sides - 1, p = 0.001
    };
    const Die dice[] = {{2, 10.828},  {3, 13.816},  {4, 16.266},  {6, 20.515},   {8, 24.322},
                        {10, 27.877}, {12, 31.264}, {20, 43.820}, {100, 148.230}};
    SeedDiceGenerator(20240607);
    for (const Die& die : dice) {
        SCOPED_TRACE(die.sides);
        const int perFace = 10000;
        std::vector<long> counts(static_cast<std::size_t>(die.sides) + 1, 0);
        for (int i = 0; i < perFace * die.sides; ++i) {
            const int face = RollDie(die.sides);
            ASSERT_GE(face, 1);
            ASSERT_LE(face, die.sides);
            ++counts[static_cast<std::size_t>(face)];
        }
        double chiSquare = 0;
        for (int face = 1; face <= die.sides; ++face) {
            EXPECT_GT(counts[static_cast<std::size_t>(face)], 0) << "face " << face;
            const double off =
                static_cast<double>(counts[static_cast<std::size_t>(face)]) - perFace;
            chiSquare += off * off / perFace;
        }
        EXPECT_LT(chiSquare, die.criticalChiSquare);
    }
}

// What the fields can hold, typed or pasted, read as 8-bit and as wide text.
TEST(ParseFieldNumber, ReadsAsAPlainSignedDecimalParse)
{
    struct Case {
        const char* text;
        int number;
    };
    const Case cases[] = {
        {"", 0},          {"7", 7},           {"999", 999},         {"007", 7},
        {"-5", -5},       {"+12", 12},        {" \t\r\n42", 42},    {"12ab", 12},
        {"ab12", 0},      {"-", 0},           {"+-3", 0},           {"1 2", 1},
        {"d20", 0},       {"999999999", 999999999},
        {"2147483647", INT_MAX},      {"-2147483648", INT_MIN},
        {"2147483648", INT_MAX},      {"-2147483649", INT_MIN},
        {"99999999999999999999999", INT_MAX}, {"-99999999999999999999999", INT_MIN},
        {"\xB2", 0},     {"\xEF\xBC\x91", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseFieldNumber(c.text), c.number);
        const std::wstring wide(c.text, c.text + std::strlen(c.text));
        EXPECT_EQ(ParseFieldNumber(wide.c_str()), c.number);
    }
}

TEST(ParseFieldNumber, WideDigitsOutsideAsciiAreNotDigits)
{
    EXPECT_EQ(ParseFieldNumber(L"\xFF11\xFF12"), 0);  // full-width "12"
    EXPECT_EQ(ParseFieldNumber(L"\x3000" L"5"), 0);    // ideographic space
    EXPECT_EQ(ParseFieldNumber(L"1\x0660"), 1);         // Arabic-Indic zero
}

}  // namespace
