// A dice dialog: one object per open "Roll Dice" dialog. The desktop program
// numbers its open dice dialogs 1 to 256 through a per-process dice table.
#pragma once

#include <windows.h>

class BrowserPane;

struct DiceDialog {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    BrowserPane* owner = nullptr;
    int diceNumber = 0;  // 1 to 256 while it holds an entry of the dice table
};

// Takes the lowest free dice number (1 to 256) for the dialog; 0 when all
// are taken.
int TakeDiceNumber(DiceDialog& dice);

// Destroys the dialog window and frees its dice number.
void DestroyDiceDialog(DiceDialog& dice);
