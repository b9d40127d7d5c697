// The dice generator and the roll. The Mersenne Twister is written by hand:
// library versions (std::mt19937 among them) seed with the later 1812433253
// routine, and no library offers the original 1998 seeding with 69069 that
// our rolls follow, so a library generator would roll other numbers for the
// same seed.
#include "dice/dice_engine.h"

#include <cstdio>

namespace {

constexpr int shiftWord = 397;
constexpr std::uint32_t upperMask = 0x80000000u;
constexpr std::uint32_t lowerMask = 0x7FFFFFFFu;
constexpr std::uint32_t matrixFold[2] = {0u, 0x9908B0DFu};
constexpr std::uint32_t unsetSeed = 4357;

// 2^-32 + 2^-64, bit pattern 0x3DF0000000100000: 1/(2^32 - 1) rounded to
// double, so that the largest word gives exactly 1.0.
constexpr double wordToReal = 0x1.00000001p-32;

DiceGenerator diceGenerator;

std::uint32_t TwistWord(std::uint32_t word, std::uint32_t next, std::uint32_t shifted)
{
    const std::uint32_t y = (word & upperMask) | (next & lowerMask);
    return shifted ^ (y >> 1) ^ matrixFold[y & 1u];
}

// One pass over the state. From word 227 on, the word 397 ahead wraps round
// to one already replaced in this pass.
void RegenerateState(DiceGenerator& generator)
{
    std::uint32_t* mt = generator.state;
    int k = 0;
    for (; k < diceStateSize - shiftWord; ++k)
        mt[k] = TwistWord(mt[k], mt[k + 1], mt[k + shiftWord]);
    for (; k < diceStateSize - 1; ++k)
        mt[k] = TwistWord(mt[k], mt[k + 1], mt[k + shiftWord - diceStateSize]);
    mt[diceStateSize - 1] = TwistWord(mt[diceStateSize - 1], mt[0], mt[shiftWord - 1]);
    generator.index = 0;
}

std::uint32_t Temper(std::uint32_t y)
{
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

}  // namespace

void SeedGenerator(DiceGenerator& generator, std::uint32_t seed)
{
    generator.state[0] = seed;
    for (int i = 1; i < diceStateSize; ++i)
        generator.state[i] = 69069u * generator.state[i - 1];
    generator.index = diceStateSize;
}

std::uint32_t DrawTemperedWord(DiceGenerator& generator)
{
    if (generator.index >= diceStateSize) {
        if (generator.index == unseededDiceIndex)
            SeedGenerator(generator, unsetSeed);
        RegenerateState(generator);
    }
    return Temper(generator.state[generator.index++]);
}

void SeedDiceGenerator(std::uint32_t seed) { SeedGenerator(diceGenerator, seed); }

std::uint32_t NextDiceWord() { return DrawTemperedWord(diceGenerator); }

double DiceRealFromWord(std::uint32_t word) { return static_cast<double>(word) * wordToReal; }

double NextDiceReal() { return DiceRealFromWord(NextDiceWord()); }

int DieFace(double u, int sides)
{
    // In 64 bits: for u = 1.0 and the largest int the face before the
    // clamp is one past what an int holds.
    const long long face = static_cast<long long>(u * sides) + 1;
    return face < sides ? static_cast<int>(face) : sides;
}

int RollDie(int sides) { return DieFace(NextDiceReal(), sides); }

long long RollTotal(const RollRequest& request)
{
    long long total = 0;
    for (int i = 0; i < request.count; ++i)
        total += RollDie(request.sides);
    return total + request.modifier;
}

void FormatDiceLine(const RollRequest& request, long long total, char (&line)[diceLineSize])
{
    const int count = request.count;
    const int sides = request.sides;
    const int modifier = request.modifier;
    if (count == 1 && modifier == 0)
        std::snprintf(line, diceLineSize, "d%d = %lld", sides, total);
    else if (count == 1)
        std::snprintf(line, diceLineSize, "d%d+%d = %lld", sides, modifier, total);
    else if (modifier == 0)
        std::snprintf(line, diceLineSize, "%dd%d = %lld", count, sides, total);
    else
        std::snprintf(line, diceLineSize, "%dd%d+%d = %lld", count, sides, modifier, total);
}
