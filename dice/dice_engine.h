// The dice engine: the process's one Mersenne Twister and the roll that turns
// a request (dice, sides, modifier, repeats) into result lines.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>

constexpr int diceStateSize = 624;
// The index of a generator that was never seeded; its first draw seeds it
// with 4357.
constexpr int unseededDiceIndex = 625;

// MT19937 state. index is the next word to hand out; diceStateSize means the
// state is used up and is regenerated before the next draw.
struct DiceGenerator {
    std::uint32_t state[diceStateSize] = {};
    int index = unseededDiceIndex;
};

void SeedGenerator(DiceGenerator& generator, std::uint32_t seed);

// The next tempered 32-bit word of a generator.
std::uint32_t DrawTemperedWord(DiceGenerator& generator);

// The process's generator, used only from the user-interface thread. It
// starts unseeded; the main window seeds it once with the tick count.
void SeedDiceGenerator(std::uint32_t seed);
std::uint32_t NextDiceWord();

// A real in [0, 1]: the next word times 2^-32 + 2^-64.
double NextDiceReal();
double DiceRealFromWord(std::uint32_t word);

// The face, 1 to sides, that a real u in [0, 1] gives: min(sides, trunc(u *
// sides) + 1). A die of 0 or fewer sides shows its number of sides.
int DieFace(double u, int sides);

// One die of the process's generator; costs exactly one draw.
int RollDie(int sides);

// The dice the dice dialog offers (its die list and quick buttons, in that
// order), and the largest number its three-character fields hold.
constexpr int dialogDice[] = {2, 3, 4, 6, 8, 10, 12, 20, 100};
constexpr int highestFieldValue = 999;

struct RollRequest {
    int count = 0;     // dice per total
    int sides = 0;     // faces per die
    int modifier = 0;  // added once to each total
    int repeats = 0;   // totals to roll
};

// Holds any line and its terminator, including lines of requests far outside
// what the dialog can ask for (the dialog's longest is 20 characters).
constexpr int diceLineSize = 64;

// A field's text as a number, as a plain signed decimal parse reads it:
// leading blanks, an optional sign, then digits up to the first other
// character; no digits give 0. Pasted text can bypass the fields' digit-only
// style, so a value beyond int stops at INT_MAX or INT_MIN instead of
// overflowing. Works on 8-bit and wide text alike.
template <class Char> int ParseFieldNumber(const Char* text)
{
    const auto isBlank = [](Char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (isBlank(*text))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value < limit)
            value = std::min(limit, value * 10 + (*text - '0'));
    }
    return static_cast<int>(negative ? -value : value);
}

// The sum of count dice plus the modifier. Summed in 64 bits so that no
// request can overflow it; no die is rolled (and nothing drawn) for count 0
// or less.
long long RollTotal(const RollRequest& request);

// One result line such as "3d6+2 = 17": a count of 1 and a modifier of 0 are
// left out, and the modifier always follows a plus sign.
void FormatDiceLine(const RollRequest& request, long long total, char (&line)[diceLineSize]);

// Rolls the request and hands each line, in order, to takeLine(const char*)
// the moment it is made: an empty line first when repeats is above 1, then
// one line per total; nothing at all when repeats is 0 or less. The line is
// only valid during the call. No line allocates, so a roll cannot fail.
template <class TakeLine> void RollDice(const RollRequest& request, TakeLine&& takeLine)
{
    if (request.repeats <= 0)
        return;
    char line[diceLineSize] = {};
    if (request.repeats > 1)
        takeLine(static_cast<const char*>(line));
    for (int i = 0; i < request.repeats; ++i) {
        FormatDiceLine(request, RollTotal(request), line);
        takeLine(static_cast<const char*>(line));
    }
}

// Copies a line into the character form of the user interface. Lines hold
// only ASCII (digits, 'd', '+', '-', ' ', '='), so every byte widens to the
// character of the same value whatever the code page.
template <class Char> void WidenDiceLine(const char* line, Char (&out)[diceLineSize])
{
    int i = 0;
    for (; i < diceLineSize - 1 && line[i] != '\0'; ++i)
        out[i] = static_cast<Char>(static_cast<unsigned char>(line[i]));
    out[i] = 0;
}
