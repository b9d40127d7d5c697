#include "shell/desktop/screen_fit.h"

#include <cstdint>

bool RectangleFitsScreen(int x, int y, int width, int height, int vx, int vy, int vcx, int vcy)
{
    // The bounds are those of 32-bit sums in this grouping, taken in 64 bits
    // so that none of them can overflow.
    const std::int64_t rightmostLeft = std::int64_t{vx} + (std::int64_t{vcx} - width);
    const std::int64_t lowestTop = std::int64_t{vy} + (std::int64_t{vcy} - height);
    return width >= 10 && x <= rightmostLeft && height >= 10 && y <= lowestTop && x >= vx && y >= vy;
}

int TakeFirstFreeSlot(unsigned char* table, int* heldSlot)
{
    for (int i = 0; i < windowSlotCount; ++i) {
        if (table[i] == 0) {
            table[i] = 1;
            *heldSlot = i;
            return i + 1;
        }
    }
    return windowSlotCount;
}

void FreeHeldSlot(unsigned char* table, int* heldSlot)
{
    if (*heldSlot != -1) {
        table[*heldSlot] = 0;
        *heldSlot = -1;
    }
}
