// The arithmetic of the display font's height, kept apart from the font
// itself so that it is tested on every platform.
#pragma once

// The logical font height for a size in points on a screen of dpi vertical
// pixels per inch: -(dpi * size / 72 + 0.5), truncated towards zero (a
// negative height asks for the character height). Sizes too large for a
// 32-bit height are clamped to the largest height that fits.
int DisplayFontHeight(int dpi, int size);
