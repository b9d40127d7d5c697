// The interactive browser's state and what each key does to it, apart from
// any drawing, so that it can be driven without a terminal: the categories,
// the entry list narrowed by the type-ahead filter, the entry's text laid out
// with its names of other entries, the way back and forward, the full-body
// search's results and the dice lines.
#pragma once

#include <string>
#include <vector>

#include "pane/entry_history.h"
#include "pane/link_finder.h"
#include "terminal/text_output.h"

// Where the keys go.
enum class Focus { categories, entries, text, results };

// What the right-hand side shows.
enum class Reading { entry, results, dice };

// The line being typed at the bottom of the screen, if any.
enum class Prompt { none, search, dice };

// A key, as the drawing side reads it from the terminal.
enum class KeyName {
    character, // text holds it, as UTF-8
    enter,
    escape,
    backspace,
    tab,
    backTab,
    up,
    down,
    left,
    right,
    pageUp,
    pageDown,
    home,
    end,
    altLeft,
    altRight,
    other,
};

struct BrowserKey {
    KeyName name = KeyName::other;
    std::string text;
};

// The screen's division: a left column of the categories, the filter line
// and the entries; a separator; the right-hand side; the status line.
struct ScreenPlan {
    int columns = 0;
    int rows = 0;
    int listWidth = 0;    // columns of the left column
    int categoryRows = 0; // rows of the category list, from row 0
    int filterRow = 0;    // the filter line
    int entryRows = 0;    // rows of the entry list, below the filter line
    int textLeft = 0;     // first column of the right-hand side
    int textWidth = 0;    // its columns
    int textRows = 0;     // its rows, from row 0
    int statusRow = 0;    // the last row
    bool usable = false;  // large enough to browse in
};

// The smallest screen the browser lays itself out on.
constexpr int fewestColumns = 40;
constexpr int fewestRows = 10;

// The division of a screen of this size, with a category list of up to
// categoryCount rows.
ScreenPlan PlanScreen(int columns, int rows, int categoryCount);

// A row of a list: what it shows and the entry it opens.
struct ListRow {
    std::string title; // Windows-1252, as in the image
    EntryRef entry;
};

// A list's selected row and first row on the screen.
struct ListPlace {
    int selected = 0;
    int top = 0;
};

struct BrowserState {
    ScreenPlan screen;
    Focus focus = Focus::entries;
    Reading reading = Reading::entry;

    int category = 0;
    std::string filter; // typed, UTF-8
    std::vector<ListRow> entries;
    ListPlace entryPlace;

    EntryRef shown; // the entry the text is of
    std::vector<FoundLink> links;
    std::vector<LaidOutLine> text; // the right-hand side's lines
    int textTop = 0;
    int selectedLink = -1;
    EntryHistory history;
    bool shownRecorded = true; // false for the filter's preview, until it is read

    std::string query; // the last search, UTF-8
    std::vector<ListRow> results;
    ListPlace resultPlace;
    std::string roll; // the last dice notation rolled

    Prompt prompt = Prompt::none;
    std::string promptText; // UTF-8
    std::string message;    // UTF-8, shown in the status line until the next key
    bool done = false;
};

// The first category, its first entry shown, on a screen of this size.
void StartBrowser(BrowserState& state, int columns, int rows);
void ResizeBrowser(BrowserState& state, int columns, int rows);

// What a key does, wherever the focus is.
void HandleKey(BrowserState& state, const BrowserKey& key);

// The actions the keys take.
void SelectCategory(BrowserState& state, int category);
void TypeFilter(BrowserState& state, const std::string& character);
void EraseFilter(BrowserState& state);
void MoveSelection(BrowserState& state, int rows);
void ScrollText(BrowserState& state, int lines);
void SelectNextLink(BrowserState& state, int step);
void FollowSelectedLink(BrowserState& state);
// Opens an entry as if the user had chosen its category, then its title.
void OpenEntry(BrowserState& state, EntryRef target);
void GoBack(BrowserState& state);
void GoForward(BrowserState& state);
void OpenPrompt(BrowserState& state, Prompt prompt);
void SubmitPrompt(BrowserState& state);
void RunSearch(BrowserState& state, const std::string& query);
void OpenSelectedResult(BrowserState& state);
void RollDiceLine(BrowserState& state, const std::string& notation);
// Lays the shown entry's text out anew, at the text's width.
void ReadShownEntry(BrowserState& state);

// The line of keys the status line names for the state.
std::string KeyHelp(const BrowserState& state);
