// How the terminal program writes the rules' Windows-1252 texts: converted to
// UTF-8 with nothing in them that could steer the terminal, and entries laid
// out as the view shows them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pane/link_finder.h"

// The character a Windows-1252 byte is shown as: U+FFFD for the control
// characters (the tab among them) and the five bytes the code page leaves
// undefined.
char32_t ShownCharacter(unsigned char byte);

// The characters of a UTF-8 text, each of which the terminal shows in one
// column (the program's texts and Windows-1252 converted are all such).
std::size_t CharacterCount(std::string_view utf8);

// The byte offset at which character number index (from 0) of a UTF-8 text
// begins; the text's size where it has no more characters.
std::size_t CharacterOffset(std::string_view utf8, std::size_t index);

// A text for a line of the terminal: each byte converted to UTF-8, where the
// control characters (the tab among them) and the five bytes the code page
// leaves undefined become U+FFFD.
std::string ShownText(std::string_view cp1252);

// A text for a script: line breaks become LF and the undefined bytes U+FFFD;
// everything else converts as it is.
std::string ScriptText(std::string_view cp1252);

// The terminal escapes that mark headings and titles.
std::string BoldText(const std::string& utf8);

struct EntryLayout {
    int width = 80;      // columns; 0 leaves lines unwrapped
    bool styled = false; // title bold, links underlined
};

// Blanks between a table's columns.
constexpr int tableColumnGap = 2;
// A wrapped table row goes on under its last cell where that starts within
// this many columns (and within half the width); else at the margin.
constexpr int hangingIndentColumns = 24;

// The marks a character of a laid-out entry can carry.
enum TextMark : unsigned char { markPlain = 0, markBold = 1, markUnderlined = 2 };

// One character of a laid-out entry, one column wide: a Windows-1252 byte,
// its marks, and the index of the link (of those given) it is part of, or -1.
struct LaidOutCharacter {
    unsigned char byte;
    unsigned char marks;
    int link;
};
using LaidOutLine = std::vector<LaidOutCharacter>;

// The text the view shows, laid out for a terminal: the title, a line of five
// dashes and the body, each line ending in LF. The tables' columns start at
// the stops the core's table planner gives for widths in characters; lines
// wrap at blanks, or at a soft hyphen, which then shows as '-' (elsewhere it
// shows as nothing), and a word wider than the line is cut; a wrapped table
// row goes on under its last cell. Styled, the title is bold and the links
// (byte ranges of the body) are underlined.
std::string LayOutEntry(std::string_view title, std::string_view body,
                        const std::vector<FoundLink>& links, const EntryLayout& layout);

// The same lines as characters, for a program that draws them itself; the
// characters of a link know it whether styled or not.
std::vector<LaidOutLine> LayOutEntryLines(std::string_view title, std::string_view body,
                                          const std::vector<FoundLink>& links,
                                          const EntryLayout& layout);
