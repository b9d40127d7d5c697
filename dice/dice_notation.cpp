// Reads dice notation: see dice_notation.h. A hand-written scanner: one pass,
// one byte of look-ahead, every number saturated so that no text overflows.
#include "dice/dice_notation.h"

#include <algorithm>
#include <iterator>

namespace {

// Far above every field's range and far below what an int holds.
constexpr long long saturatedNumber = 1000000;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Quoted(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F)
        return "a character that is no part of dice notation";
    return std::string("'") + c + "'";
}

class NotationScanner {
  public:
    NotationScanner(std::string_view source, NotationError& failure) : text(source), error(failure)
    {
    }

    bool ReadRolls(std::vector<NotationRoll>& rolls)
    {
        SkipBlanks();
        if (AtEnd())
            return Fail(at, "no dice to roll: write a roll such as d20, 3d6+2 or 4d6-1 x6");
        while (!AtEnd()) {
            NotationRoll roll;
            if (!ReadRoll(roll))
                return false;
            rolls.push_back(roll);
            SkipBlanks();
        }
        return true;
    }

  private:
    bool AtEnd() const { return at >= text.size(); }
    char Peek() const { return AtEnd() ? '\0' : text[at]; }
    void SkipBlanks()
    {
        while (!AtEnd() && IsBlank(text[at]))
            ++at;
    }

    bool Fail(std::size_t offset, std::string message)
    {
        error.offset = offset;
        error.message = std::move(message);
        return false;
    }

    // What stands at the current position where something else was wanted.
    std::string Found() const { return AtEnd() ? "the end" : Quoted(text[at]); }

    long long ReadNumber()
    {
        long long value = 0;
        for (; !AtEnd() && IsDigit(text[at]); ++at)
            value = std::min(saturatedNumber, value * 10 + (text[at] - '0'));
        return value;
    }

    bool ReadRoll(NotationRoll& roll)
    {
        roll.begin = at;
        RollRequest& request = roll.request;
        request.count = 1;
        request.modifier = 0;
        request.repeats = 1;
        if (IsDigit(Peek())) {
            const std::size_t countAt = at;
            const long long count = ReadNumber();
            if (count < lowestDiceCount || count > highestDiceCount)
                return Fail(countAt, "the number of dice must be 1 to 999");
            request.count = static_cast<int>(count);
        }
        if (Peek() != 'd' && Peek() != 'D')
            return Fail(at, "expected 'd' and the sides of the die, found " + Found());
        ++at;
        if (!ReadSides(request))
            return false;
        // A blank may stand before the modifier or the totals; one before
        // anything else ends the roll.
        std::size_t end = at;
        SkipBlanks();
        if (Peek() == '+' || Peek() == '-') {
            if (!ReadModifier(request))
                return false;
            end = at;
            SkipBlanks();
        }
        if (Peek() == 'x' || Peek() == 'X') {
            if (!ReadRepeats(request))
                return false;
            end = at;
        }
        at = end;
        if (!AtEnd() && !IsBlank(text[at]))
            return Fail(at, "unexpected " + Found() + " after the roll");
        roll.length = end - roll.begin;
        return true;
    }

    bool ReadSides(RollRequest& request)
    {
        const std::size_t sidesAt = at;
        if (!IsDigit(Peek()))
            return Fail(at, "expected the sides of the die after 'd', found " + Found());
        const long long sides = ReadNumber();
        if (std::find(std::begin(dialogDice), std::end(dialogDice), sides) ==
            std::end(dialogDice))
            return Fail(sidesAt, "a die has 2, 3, 4, 6, 8, 10, 12, 20 or 100 sides");
        request.sides = static_cast<int>(sides);
        return true;
    }

    bool ReadModifier(RollRequest& request)
    {
        const bool negative = Peek() == '-';
        ++at;
        SkipBlanks();
        const std::size_t modifierAt = at;
        if (!IsDigit(Peek()))
            return Fail(at, std::string("expected a number after '") + (negative ? '-' : '+') +
                                "', found " + Found());
        const long long modifier = ReadNumber();
        if (modifier > highestModifier)
            return Fail(modifierAt, "the modifier must be -999 to 999");
        request.modifier = static_cast<int>(negative ? -modifier : modifier);
        return true;
    }

    bool ReadRepeats(RollRequest& request)
    {
        ++at;
        SkipBlanks();
        const std::size_t repeatsAt = at;
        if (!IsDigit(Peek()))
            return Fail(at, "expected the number of totals after 'x', found " + Found());
        const long long repeats = ReadNumber();
        if (repeats < lowestRepeats || repeats > highestRepeats)
            return Fail(repeatsAt, "the number of totals must be 1 to 999");
        request.repeats = static_cast<int>(repeats);
        return true;
    }

    std::string_view text;
    NotationError& error;
    std::size_t at = 0;
};

} // namespace

bool ParseDiceNotation(std::string_view text, std::vector<NotationRoll>& rolls,
                       NotationError& error)
{
    rolls.clear();
    NotationScanner scanner(text, error);
    if (scanner.ReadRolls(rolls))
        return true;
    rolls.clear();
    return false;
}
