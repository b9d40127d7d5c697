// What the terminal program needs of the terminal it runs on: whether a
// stream is a terminal, the screen's size, the choice of colour, and writing
// its output, through a pager where it is longer than the screen. The only
// platform-dependent file of the program (POSIX, or the Windows C runtime
// without <windows.h>).
#pragma once

#include <string>

enum class ColourChoice { automatic, always, never };

bool IsStandardOutputTerminal();
bool IsStandardInputTerminal();

// The screen's columns and rows where standard output is a terminal; else
// COLUMNS and LINES from the environment; else 80 by 24.
int ScreenColumns();
int ScreenRows();

// Whether to mark text with terminal escapes: always or never as chosen; by
// default where standard output is a terminal that is not "dumb" and
// NO_COLOR is unset or empty.
bool WantsColour(ColourChoice choice);

// A reader that goes away (a pager quit, "| head -1") ends the output
// quietly: writes then fail with EPIPE instead of ending the process.
void IgnoreBrokenPipes();

// Writes the text to standard output. Where mayPage is set, standard output
// is a terminal and the text has more lines than the screen, it goes through
// $PAGER ("less -R" when PAGER is unset; an empty PAGER pages nothing). False
// when writing failed for another reason than a reader gone away.
bool DeliverOutput(const std::string& text, bool mayPage);
