// The display font of the text view, made from the "Font" and "FontSize"
// settings, and the shared GUI font of dialog controls.
#pragma once

#include <windows.h>

class BrowserPane;

// Makes the display font and gives it to the pane's text view, unless the
// pane's fontReady is already set. On the desktop the pane's two lists get
// the default GUI font the first time.
void CreateDisplayFont(BrowserPane& pane);

// Gives a control of a dialog the shared GUI font (the stock default GUI
// font on the desktop, the system font on the handheld).
void ApplyGuiFont(HWND dialog, int control);

// The display font the text view uses now, or null before the first.
HFONT CurrentDisplayFont();
