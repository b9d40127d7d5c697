// The screen test applied before a saved window rectangle is used again, and
// the scan of the window-slot table: the portable parts of the desktop shell.
#pragma once

// Whether a rectangle lies wholly on the virtual screen (left vx, top vy,
// width vcx, height vcy) and is at least 10 pixels wide and high. Computed
// in 64 bits, so that stored values at the 32-bit limits get a defined
// answer.
bool RectangleFitsScreen(int x, int y, int width, int height, int vx, int vy, int vcx, int vcy);

constexpr int windowSlotCount = 256;

// Takes the first free slot of the table: sets its byte and heldSlot to its
// index. Returns the slot number (index + 1); when every slot is taken,
// returns windowSlotCount and leaves heldSlot at -1.
int TakeFirstFreeSlot(unsigned char* table, int* heldSlot);

// Frees the held slot, if any, and sets heldSlot to -1.
void FreeHeldSlot(unsigned char* table, int* heldSlot);
