// The dice notation players type ("d20", "3d6+2", "4d6-1 x6", "2d8 x3"),
// read into the requests the dice engine rolls. Every number stays within
// what the dice dialog's three-character fields hold, and a die is one of the
// dialog's dice.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dice/dice_engine.h"

// The ranges of the dialog's fields: dice 1 to 999, modifier up to three
// digits either way, totals 1 to 999.
constexpr int lowestDiceCount = 1;
constexpr int highestDiceCount = highestFieldValue;
constexpr int highestModifier = highestFieldValue;
constexpr int lowestRepeats = 1;
constexpr int highestRepeats = highestFieldValue;

// One roll of a notation text: its request, and where it stands in the text.
struct NotationRoll {
    RollRequest request;
    std::size_t begin = 0;  // byte offset of its first character
    std::size_t length = 0; // bytes, up to its last character
};

// Why a text is not dice notation, and the byte offset where that shows.
struct NotationError {
    std::size_t offset = 0;
    std::string message;
};

// Reads a text of one or more rolls separated by blanks. Each roll is an
// optional count, 'd' or 'D', the sides, optionally '+' or '-' and a
// modifier, optionally 'x' or 'X' and the number of totals; blanks may stand
// before the sign, the 'x' and their numbers ("3d6 + 2 x 4"). The count and
// the totals default to 1, the modifier to 0. False, with the first error,
// when the text is anything else, holds no roll, or a number lies outside
// its field's range.
bool ParseDiceNotation(std::string_view text, std::vector<NotationRoll>& rolls,
                       NotationError& error);
