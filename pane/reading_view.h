// The text view as a reader sees it: where the system's rich edit control can
// be loaded, the pane's plain edit control is replaced by one, and each shown
// entry gets its title in bold, its tables' columns lined up in the display
// font, the names of other entries as links, and the words of a search
// highlighted. The text itself is the plain view's, character for character.
#pragma once

#include <windows.h>

#include <richedit.h>

#include <string_view>
#include <vector>

#include "pane/link_finder.h"

// Loads the rich edit library, once per process; false when it cannot be
// loaded (the view then stays the plain edit control, with default stops).
bool LoadRichEditLibrary();
bool IsRichEditLoaded();

// Puts a rich edit control in the place of the pane's plain text view: same
// id, styles, position and place in the tab order. Leaves the plain one when
// the library is not loaded or the control cannot be made. Returns the view.
HWND MakeRichTextView(HWND pane);

bool IsRichTextView(HWND view);

// A stretch of the shown text, in characters of the text as set.
struct TextRange {
    int begin = 0;
    int length = 0;
};

// A link in the view, in the control's character positions.
struct ViewLink {
    LONG begin = 0;
    LONG end = 0;
    EntryRef target;
};

// What the view marks on the shown text of one entry.
struct ReadingMarks {
    bool freshText = true;         // the text was just set, with no marks yet
    int titleLength = 0;           // the title, bold, starts the text
    int bodyStart = 0;             // where the body starts in the text
    std::string_view imageBody;    // the body's bytes in the image (one per character)
    std::vector<FoundLink> links;  // offsets into the body
    std::vector<TextRange> highlights;
};

// Marks the view's current text, which must be the text given (title,
// separator, body, line break), and returns the links in the control's
// positions. A plain view is left as it is and gets no links.
std::vector<ViewLink> MarkReadingView(HWND view, const TCHAR* text, const ReadingMarks& marks);

