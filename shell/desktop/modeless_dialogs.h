// The modeless-dialog list: the dialogs without a modal loop of their own
// (the browser pane, the search dialog, the dice dialogs) get their keyboard
// handling only when the message loop offers every message to them first.
// Both programs use this list.
#pragma once

#include <windows.h>

struct ModelessDialogNode {
    HWND dialog;
    ModelessDialogNode* next;
};

void AddModelessDialog(HWND dialog);
void RemoveModelessDialog(HWND dialog);

// Offers the message to each registered dialog in the order of registration;
// true when one of them took it.
bool IsModelessDialogMessage(MSG* message);

// The first registered dialog, for walking the list.
const ModelessDialogNode* FirstModelessDialog();
