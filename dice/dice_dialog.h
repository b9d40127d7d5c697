// The "Roll Dice" dialog: one object per open dialog. On the desktop every
// Roll dice command opens another modeless, top-level dialog that owns its
// object, numbered 1 to 256 through a per-process dice table and remembering
// its own placement; on the handheld the dialog is modal and full-screen.
#pragma once

#include <windows.h>

#include "shell/handheld/aygshell.h"

#include "shell/desktop/placement.h"

class BrowserPane;

struct DiceDialog {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    BrowserPane* owner = nullptr;
    int diceNumber = 0; // desktop: 1 to 256 while it holds an entry of the dice table
    SHACTIVATEINFO activation = {sizeof(SHACTIVATEINFO), nullptr, 0, 0, 0, 0}; // handheld
    HWND menuBar = nullptr;                                                   // handheld
};

// The number of dice dialogs one desktop process numbers apart.
constexpr int diceTableSize = 256;

// Takes the lowest free dice number (1 to 256) for the dialog; 0 when all
// are taken.
int TakeDiceNumber(DiceDialog& dice);

// Desktop: takes a dice number and creates the dialog, without owner window,
// shown in the normal state; false (with the number given back) when the
// window cannot be created. The object must come from new: once the dialog
// closes, the pane destroys it and deletes the object. Handheld: runs the
// dialog modally over the pane and returns when it ends.
bool CreateDiceDialog(DiceDialog& dice, HINSTANCE instance, BrowserPane* owner);

// Destroys the dialog window and frees its dice number.
void DestroyDiceDialog(DiceDialog& dice);

// Ranges, limits, initial texts, the die list, fonts and (desktop) the saved
// placement, then the layout.
void InitDiceDialog(DiceDialog& dice);

// Desktop: saves the placement; both: places every control.
void LayoutDiceDialog(DiceDialog& dice);

// Rolls the expression in the fields; QuickRoll rolls one die of the given
// sides without touching the fields. Both put the lines on top of the list.
void RollFromFields(DiceDialog& dice);
void QuickRoll(DiceDialog& dice, int sides);

// Puts the fields back to their initial values and empties the list.
void ClearDice(DiceDialog& dice);

// The placement value names of a desktop dialog, formatted with its dice
// number and the slot number of the main window that owns its pane ("Dice
// Left 1 3"). A pane without a main window (tests, benchmarks) counts as
// slot 1, the slot of the first running copy.

INT_PTR CALLBACK DiceDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
