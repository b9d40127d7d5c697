// The modal Options dialog: the face and size of the display font and the two
// search options, stored in the settings key and applied to the pane at once.
#pragma once

#include <windows.h>

// Dialog procedure of template 116; the creation parameter is the pane.
INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the face and size lists and presets every control from the settings
// and the pane's flags.
void InitOptions(HWND dialog);

// Font enumeration callback (the parameter is the dialog): lists a TrueType
// family that is not italic, underlined or struck out under its full name,
// once. Always asks for the enumeration to go on.
int CALLBACK AddFontFace(const LOGFONT* font, const TEXTMETRIC* metrics, DWORD fontType,
                         LPARAM dialog);

// Stores and applies the choices; false (after telling the user) when a face
// or a size is not selected, and the dialog must stay open.
bool ApplyOptions(HWND dialog);
