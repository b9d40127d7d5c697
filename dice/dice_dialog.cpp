// Dice dialog objects and the per-process dice table.
#include "dice/dice_dialog.h"

namespace {

constexpr int diceTableSize = 256;
unsigned char diceTable[diceTableSize] = {};

}  // namespace

int TakeDiceNumber(DiceDialog& dice)
{
    for (int i = 0; i < diceTableSize; ++i) {
        if (diceTable[i] == 0) {
            diceTable[i] = 1;
            dice.diceNumber = i + 1;
            return dice.diceNumber;
        }
    }
    dice.diceNumber = 0;
    return 0;
}

void DestroyDiceDialog(DiceDialog& dice)
{
    DestroyWindow(dice.window);
    dice.window = nullptr;
    if (dice.diceNumber != 0) {
        diceTable[dice.diceNumber - 1] = 0;
        dice.diceNumber = 0;
    }
}
