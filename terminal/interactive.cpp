// The interactive browser on a terminal, drawn with curses (ncursesw) from the
// browser's state: the terminal's keys are read into the state's keys, and
// every change of state is drawn anew. What a key does is browser_state.cpp's.
#include "terminal/interactive.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "data/rules_image.h"
#include "dice/dice_engine.h"
#include "terminal/browser_state.h"
#include "terminal/commands.h"
#include "terminal/text_output.h"
#include "tools/packer/cp1252.h"

// Last: curses defines macros with common names (erase, refresh, timeout).
#include <curses.h>

namespace {

constexpr wint_t escapeCharacter = 0x1B;
constexpr wint_t deleteCharacter = 0x7F;
constexpr wint_t backspaceCharacter = 0x08;
const char ellipsis[] = "\u2026";
// How long an Escape waits for the rest of a key's sequence, in milliseconds:
// long enough for a terminal's sequence, short enough not to be felt.
constexpr int escapeDelay = 25;
// How long a wait for a key lasts before curses is asked again, in
// milliseconds: a change of the window's size that comes just before the
// wait is seen only when a read ends, so no read waits for ever.
constexpr int keyWait = 200;

const char searchLabel[] = "Search: ";
const char diceLabel[] = "Roll: ";
const char filterLabel[] = "Filter: ";
const char filterInvitation[] = " Type to filter ";

// The terminal in curses's hands while the browser runs; given back on every
// way out.
class CursesSession {
  public:
    CursesSession() : screen(newterm(nullptr, stdout, stdin)) {}
    ~CursesSession()
    {
        if (screen != nullptr) {
            endwin();
            delscreen(screen);
        }
    }
    CursesSession(const CursesSession&) = delete;
    CursesSession& operator=(const CursesSession&) = delete;

    bool Started() const { return screen != nullptr; }

  private:
    SCREEN* screen;
};

// Alt+Left and Alt+Right, which the terminal's description names
// (kLFT3, kRIT3) and curses numbers as it starts; -1 where it has none.
struct NamedKeys {
    int altLeft = -1;
    int altRight = -1;
};

int KeyCodeOf(const char* capability)
{
    const char* sequence = tigetstr(capability);
    if (sequence == nullptr || sequence == reinterpret_cast<const char*>(-1))
        return -1;
    const int code = key_defined(sequence);
    return code > 0 ? code : -1;
}

void StartCurses()
{
    cbreak();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    set_escdelay(escapeDelay);
    timeout(keyWait);
    curs_set(0);
}

// Text to draw: UTF-8, which curses takes in a UTF-8 locale, one column a
// character.

int Columns(std::string_view utf8)
{
    return static_cast<int>(CharacterCount(utf8));
}

// The text cut to width columns, its last shown character an ellipsis where
// it was cut.
std::string Fitted(std::string utf8, int width)
{
    if (Columns(utf8) <= width)
        return utf8;
    if (width <= 0)
        return std::string();
    utf8.erase(CharacterOffset(utf8, static_cast<std::size_t>(width - 1)));
    return utf8 + ellipsis;
}

// The end of the text in width columns, an ellipsis first where it was cut.
std::string Tail(const std::string& utf8, int width)
{
    const int columns = Columns(utf8);
    if (columns <= width)
        return utf8;
    if (width <= 0)
        return std::string();
    return ellipsis +
           utf8.substr(CharacterOffset(utf8, static_cast<std::size_t>(columns - width + 1)));
}

void Put(int row, int column, const std::string& utf8, attr_t attributes)
{
    attrset(attributes);
    mvaddstr(row, column, utf8.c_str());
    attrset(A_NORMAL);
}

// A row of a list: the text padded to the width, so that a marked row is
// marked across.
void PutRow(int row, int column, int width, const std::string& utf8, attr_t attributes)
{
    std::string shown = Fitted(utf8, width);
    shown.append(static_cast<std::size_t>(std::max(0, width - Columns(shown))), ' ');
    Put(row, column, shown, attributes);
}

attr_t SelectionMark(bool focused)
{
    return focused ? A_REVERSE : A_BOLD;
}

// The views.

void DrawCategories(const BrowserState& state)
{
    const ScreenPlan& plan = state.screen;
    const int top = std::max(0, state.category - plan.categoryRows + 1);
    for (int row = 0; row < plan.categoryRows && top + row < GetCategoryCount(); ++row) {
        const int c = top + row;
        const attr_t mark =
            c == state.category ? SelectionMark(state.focus == Focus::categories) : A_NORMAL;
        PutRow(row, 0, plan.listWidth, " " + ShownText(GetCategoryName(c)), mark);
    }
}

// How many entries the filter leaves, of how many, as the filter line ends.
std::string FilterCount(const BrowserState& state)
{
    const std::string all = std::to_string(GetEntryCount(state.category));
    return " " + (state.filter.empty() ? all : std::to_string(state.entries.size()) + "/" + all) +
           " ";
}

// Where the count stands on the filter line.
int FilterCountColumn(const BrowserState& state)
{
    return state.screen.listWidth - Columns(FilterCount(state)) - 1;
}

// The typed filter as the filter line shows it: after its label where that
// fits before the count, else its end, where it is typed.
std::string ShownFilter(const BrowserState& state)
{
    const std::string labelled = filterLabel + state.filter;
    const int columns = std::max(1, FilterCountColumn(state) - 3);
    return Columns(labelled) <= columns ? labelled : Tail(state.filter, columns);
}

// The rule between the categories and the entries, which carries the typed
// filter and how many entries it leaves.
void DrawFilterLine(const BrowserState& state)
{
    const ScreenPlan& plan = state.screen;
    mvhline_set(plan.filterRow, 0, WACS_HLINE, plan.listWidth);
    const int countColumn = FilterCountColumn(state);
    const bool typing = state.focus == Focus::categories || state.focus == Focus::entries;
    if (!state.filter.empty())
        Put(plan.filterRow, 1, " " + ShownFilter(state) + " ", A_BOLD);
    else if (typing)
        Put(plan.filterRow, 1, Fitted(filterInvitation, countColumn - 1), A_DIM);
    if (countColumn > 1)
        Put(plan.filterRow, countColumn, FilterCount(state), A_NORMAL);
}

void DrawEntries(const BrowserState& state)
{
    const ScreenPlan& plan = state.screen;
    const int first = plan.filterRow + 1;
    if (state.entries.empty()) {
        PutRow(first, 0, plan.listWidth,
               state.filter.empty() ? " No entries." : " No title holds every word.", A_DIM);
        return;
    }
    for (int row = 0; row < plan.entryRows; ++row) {
        const int index = state.entryPlace.top + row;
        if (index >= static_cast<int>(state.entries.size()))
            break;
        const ListRow& entry = state.entries[static_cast<std::size_t>(index)];
        const attr_t mark = index == state.entryPlace.selected
                                ? SelectionMark(state.focus == Focus::entries)
                                : A_NORMAL;
        PutRow(first + row, 0, plan.listWidth, " " + ShownText(entry.title), mark);
    }
}

attr_t TextAttributes(const LaidOutCharacter& c, const BrowserState& state)
{
    attr_t attributes = A_NORMAL;
    if (c.marks & markBold)
        attributes |= A_BOLD;
    if (c.marks & markUnderlined)
        attributes |= A_UNDERLINE;
    if (c.link >= 0 && c.link == state.selectedLink)
        attributes |= A_REVERSE;
    return attributes;
}

// One laid-out line, drawn in runs of like characters.
void DrawTextLine(int row, const LaidOutLine& line, const BrowserState& state)
{
    const ScreenPlan& plan = state.screen;
    const std::size_t shown = std::min(line.size(), static_cast<std::size_t>(plan.textWidth));
    for (std::size_t k = 0; k < shown;) {
        const attr_t attributes = TextAttributes(line[k], state);
        std::string run;
        const std::size_t start = k;
        for (; k < shown && TextAttributes(line[k], state) == attributes; ++k)
            run += static_cast<char>(line[k].byte);
        Put(row, plan.textLeft + static_cast<int>(start), ShownText(run), attributes);
    }
}

void DrawText(const BrowserState& state)
{
    const ScreenPlan& plan = state.screen;
    const int count = static_cast<int>(state.text.size());
    for (int row = 0; row < plan.textRows && state.textTop + row < count; ++row)
        DrawTextLine(row, state.text[static_cast<std::size_t>(state.textTop + row)], state);
    // Arrows on the separator where the text goes on above or below.
    if (state.textTop > 0)
        mvadd_wch(0, plan.listWidth, WACS_UARROW);
    if (state.textTop + plan.textRows < count)
        mvadd_wch(plan.textRows - 1, plan.listWidth, WACS_DARROW);
}

void DrawResults(const BrowserState& state)
{
    const ScreenPlan& plan = state.screen;
    const std::size_t found = state.results.size();
    const std::string heading = searchLabel + state.query + " \u2014 " + std::to_string(found) +
                                (found == 1 ? " entry" : " entries");
    Put(0, plan.textLeft, Fitted(heading, plan.textWidth), A_BOLD);
    Put(1, plan.textLeft, "-----", A_NORMAL);
    const int rows = plan.textRows - 2;
    const int top = state.resultPlace.top;
    for (int row = 0; row < rows && top + row < static_cast<int>(found); ++row) {
        const int index = top + row;
        const ListRow& result = state.results[static_cast<std::size_t>(index)];
        const std::string category = ShownText(GetCategoryName(result.entry.category));
        const int titleWidth = std::max(1, plan.textWidth - Columns(category) - 2);
        std::string line = Fitted(ShownText(result.title), titleWidth);
        line.append(static_cast<std::size_t>(titleWidth - Columns(line) + 2), ' ');
        const attr_t mark = index == state.resultPlace.selected ? A_REVERSE : A_NORMAL;
        PutRow(2 + row, plan.textLeft, plan.textWidth, line + category, mark);
    }
}

// The status line: the line being typed, a message, or the keys; returns
// the column the cursor stands at while typing, or -1.
int DrawStatusLine(const BrowserState& state)
{
    const ScreenPlan& plan = state.screen;
    const std::string help = KeyHelp(state);
    PutRow(plan.statusRow, 0, plan.columns, "", A_REVERSE);
    if (state.prompt == Prompt::none) {
        const std::string& line = state.message.empty() ? help : state.message;
        Put(plan.statusRow, 0, Fitted(" " + line, plan.columns), A_REVERSE);
        return -1;
    }
    const std::string label = state.prompt == Prompt::search ? searchLabel : diceLabel;
    const int room = std::max(1, plan.columns - Columns(label) - 3);
    const std::string line = " " + label + Tail(state.promptText, room);
    Put(plan.statusRow, 0, line, A_REVERSE | A_BOLD);
    const int helpColumn = plan.columns - Columns(help) - 1;
    if (helpColumn > Columns(line) + 2)
        Put(plan.statusRow, helpColumn, help, A_REVERSE);
    return Columns(line);
}

void DrawBrowser(const BrowserState& state)
{
    const ScreenPlan& plan = state.screen;
    erase();
    if (!plan.usable) {
        const std::string tooSmall = "Too small: " + std::to_string(fewestColumns) + "\u00d7" +
                                     std::to_string(fewestRows) + " at least";
        Put(0, 0, Fitted(tooSmall, plan.columns), A_NORMAL);
        refresh();
        return;
    }
    mvvline_set(0, plan.listWidth, WACS_VLINE, plan.textRows);
    DrawCategories(state);
    DrawFilterLine(state);
    DrawEntries(state);
    if (state.reading == Reading::results)
        DrawResults(state);
    else
        DrawText(state);
    const int promptCursor = DrawStatusLine(state);
    if (promptCursor >= 0) {
        move(plan.statusRow, std::min(promptCursor, plan.columns - 1));
        curs_set(1);
    } else if (state.focus == Focus::entries || state.focus == Focus::categories) {
        const int filterEnd = 2 + Columns(ShownFilter(state));
        move(plan.filterRow, std::min(filterEnd, plan.listWidth - 1));
        curs_set(state.filter.empty() ? 0 : 1);
    } else {
        curs_set(0);
    }
    refresh();
}

// Keys.

BrowserKey Key(KeyName name)
{
    BrowserKey key;
    key.name = name;
    return key;
}

BrowserKey FunctionKey(wint_t code, const NamedKeys& named)
{
    switch (code) {
    case KEY_UP:
        return Key(KeyName::up);
    case KEY_DOWN:
        return Key(KeyName::down);
    case KEY_LEFT:
        return Key(KeyName::left);
    case KEY_RIGHT:
        return Key(KeyName::right);
    case KEY_PPAGE:
        return Key(KeyName::pageUp);
    case KEY_NPAGE:
        return Key(KeyName::pageDown);
    case KEY_HOME:
        return Key(KeyName::home);
    case KEY_END:
        return Key(KeyName::end);
    case KEY_BTAB:
        return Key(KeyName::backTab);
    case KEY_BACKSPACE:
        return Key(KeyName::backspace);
    case KEY_ENTER:
        return Key(KeyName::enter);
    default:
        break;
    }
    if (static_cast<int>(code) == named.altLeft)
        return Key(KeyName::altLeft);
    if (static_cast<int>(code) == named.altRight)
        return Key(KeyName::altRight);
    return Key(KeyName::other);
}

// An Escape on its own, or the Alt of the key that follows at once (where
// the terminal sends Alt as an Escape before the key).
BrowserKey EscapeKey()
{
    timeout(0);
    wint_t next = 0;
    const int kind = get_wch(&next);
    timeout(keyWait);
    if (kind == ERR)
        return Key(KeyName::escape);
    if (kind == KEY_CODE_YES && next == KEY_LEFT)
        return Key(KeyName::altLeft);
    if (kind == KEY_CODE_YES && next == KEY_RIGHT)
        return Key(KeyName::altRight);
    return Key(KeyName::other);
}

BrowserKey CharacterKey(wint_t c)
{
    switch (c) {
    case L'\r':
    case L'\n':
        return Key(KeyName::enter);
    case L'\t':
        return Key(KeyName::tab);
    case deleteCharacter:
    case backspaceCharacter:
        return Key(KeyName::backspace);
    case escapeCharacter:
        return EscapeKey();
    default:
        break;
    }
    if (c < 0x20 || (c >= 0x80 && c < 0xA0))
        return Key(KeyName::other);
    BrowserKey key = Key(KeyName::character);
    // Beyond the Basic Multilingual Plane, or a lone surrogate: nothing the
    // rules hold.
    AppendUtf8(key.text, c > 0xFFFF || (c >= 0xD800 && c < 0xE000) ? char32_t{0xFFFD} : c);
    return key;
}

// What a wait for a key brought.
enum class Input { key, resize, nothing };

Input ReadKey(const NamedKeys& named, BrowserKey& key)
{
    wint_t c = 0;
    const int kind = get_wch(&c);
    if (kind == ERR)
        return Input::nothing;
    if (kind == KEY_CODE_YES && c == KEY_RESIZE)
        return Input::resize;
    key = kind == KEY_CODE_YES ? FunctionKey(c, named) : CharacterKey(c);
    return Input::key;
}

} // namespace

int RunInteractive()
{
    if (GetCategoryCount() == 0) {
        Complain("these rules hold no category to browse");
        return exitNothingFound;
    }
    std::setlocale(LC_CTYPE, "");
    CursesSession session;
    if (!session.Started()) {
        const char* term = std::getenv("TERM");
        Complain(std::string("curses knows no terminal of type \"") +
                 (term != nullptr ? term : "") + "\" (TERM); the commands work without one");
        return exitUsage;
    }
    StartCurses();
    const NamedKeys named{KeyCodeOf("kLFT3"), KeyCodeOf("kRIT3")};
    SeedDiceGenerator(SeedFromClock());

    BrowserState state;
    StartBrowser(state, COLS, LINES);
    DrawBrowser(state);
    while (!state.done) {
        BrowserKey key;
        const Input input = ReadKey(named, key);
        if (input == Input::nothing)
            continue;
        if (input == Input::key)
            HandleKey(state, key);
        else
            ResizeBrowser(state, COLS, LINES);
        DrawBrowser(state);
    }
    return exitFound;
}
