// libFuzzer target: any text as dice notation. A text is read or refused,
// never anything else: what is read stays within the dialog's ranges, each
// roll's own characters read again as that one roll, and a refusal names a
// place inside the text.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "dice/dice_notation.h"

namespace {

bool WithinRanges(const RollRequest& request)
{
    return request.count >= lowestDiceCount && request.count <= highestDiceCount &&
           std::find(std::begin(dialogDice), std::end(dialogDice), request.sides) !=
               std::end(dialogDice) &&
           request.modifier >= -highestModifier && request.modifier <= highestModifier &&
           request.repeats >= lowestRepeats && request.repeats <= highestRepeats;
}

bool SameRequest(const RollRequest& a, const RollRequest& b)
{
    return a.count == b.count && a.sides == b.sides && a.modifier == b.modifier &&
           a.repeats == b.repeats;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<NotationRoll> rolls;
    NotationError error;
    if (!ParseDiceNotation(text, rolls, error)) {
        if (error.offset > size || error.message.empty() || !rolls.empty())
            std::abort();
        return 0;
    }
    if (rolls.empty())
        std::abort();
    std::size_t after = 0;
    for (const NotationRoll& roll : rolls) {
        if (roll.begin < after || roll.length == 0 || roll.begin + roll.length > size ||
            !WithinRanges(roll.request))
            std::abort();
        after = roll.begin + roll.length;
        std::vector<NotationRoll> again;
        if (!ParseDiceNotation(text.substr(roll.begin, roll.length), again, error) ||
            again.size() != 1 || !SameRequest(again[0].request, roll.request))
            std::abort();
    }
    return 0;
}
