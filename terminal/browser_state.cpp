// The interactive browser's state and keys: see browser_state.h.
#include "terminal/browser_state.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "data/rules_image.h"
#include "dice/dice_notation.h"
#include "terminal/commands.h"
#include "terminal/entry_lookup.h"

namespace {

// Typed lines hold at most this many characters, as the programs' fields do.
constexpr std::size_t typedTextLimit = 250;
// Past either end of any list.
constexpr int farAway = INT_MAX / 4;
// The left column's share of the screen (in fortieths) and its bounds.
constexpr int listShare = 13;
constexpr int narrowestList = 18;
constexpr int widestList = 32;
// Rows above the results: the heading and its rule.
constexpr int resultHeadingRows = 2;

void EraseLastCharacter(std::string& utf8)
{
    const std::size_t count = CharacterCount(utf8);
    if (count > 0)
        utf8.erase(CharacterOffset(utf8, count - 1));
}

void AppendTyped(std::string& utf8, const std::string& character)
{
    if (CharacterCount(utf8) < typedTextLimit)
        utf8 += character;
}

int RowCount(const std::vector<ListRow>& rows)
{
    return static_cast<int>(rows.size());
}

// Keeps the selected row within the list and on the screen.
void KeepInView(ListPlace& place, int count, int visible)
{
    place.selected = std::max(0, std::min(place.selected, count - 1));
    visible = std::max(1, visible);
    if (place.selected < place.top)
        place.top = place.selected;
    if (place.selected >= place.top + visible)
        place.top = place.selected - visible + 1;
    place.top = std::max(0, std::min(place.top, count - visible));
}

int ResultRows(const BrowserState& state)
{
    return state.screen.textRows - resultHeadingRows;
}

int LastTextTop(const BrowserState& state)
{
    return std::max(0, static_cast<int>(state.text.size()) - state.screen.textRows);
}

LaidOutLine PlainLine(const std::string& ascii, unsigned char marks)
{
    LaidOutLine line;
    for (const char c : ascii)
        line.push_back(LaidOutCharacter{static_cast<unsigned char>(c), marks, -1});
    return line;
}

bool IsEntry(EntryRef entry)
{
    return entry.category >= 0 && entry.category < GetCategoryCount() && entry.entry >= 0 &&
           entry.entry < GetEntryCount(entry.category);
}

// The entry list of the category as the filter leaves it. A filtered row
// opens the first entry of its title, as the programs' filtered lists do.
void FillEntries(BrowserState& state)
{
    state.entries.clear();
    const int c = state.category;
    if (state.filter.empty()) {
        for (int e = 0; e < GetEntryCount(c); ++e)
            state.entries.push_back(ListRow{GetEntryTitle(c, e), EntryRef{c, e}});
    } else {
        for (std::string& title : TypeAheadTitles(c, ArgumentAsImageText(state.filter), false)) {
            const int entry = FindEntryByTitle(c, title.c_str());
            state.entries.push_back(ListRow{std::move(title), EntryRef{c, entry}});
        }
    }
    state.entryPlace = ListPlace{};
}

void ChangeCategory(BrowserState& state, int category)
{
    state.category = category;
    state.filter.clear();
    FillEntries(state);
}

// How showing an entry meets the way back: it is visited; it is a preview
// of the filter, visited only once the user reads it or leaves it for
// another entry (so that typing leaves no trail); or it was reached along
// the way back and forward.
enum class Visit { now, later, walked };

void RecordShown(BrowserState& state)
{
    if (!state.shownRecorded && IsEntry(state.shown))
        state.history.Visit(state.shown);
    state.shownRecorded = true;
}

void ShowEntry(BrowserState& state, EntryRef entry, Visit visit)
{
    state.shown = entry;
    state.reading = Reading::entry;
    state.links = GetImageLinkFinder().FindLinks(entry.category, entry.entry,
                                                 GetEntryBody(entry.category, entry.entry));
    state.selectedLink = -1;
    state.textTop = 0;
    ReadShownEntry(state);
    if (visit == Visit::now)
        state.history.Visit(entry);
    state.shownRecorded = visit != Visit::later;
}

void ShowSelectedRow(BrowserState& state, Visit visit)
{
    if (!state.entries.empty())
        ShowEntry(state, state.entries[static_cast<std::size_t>(state.entryPlace.selected)].entry,
                  visit);
}

void Refilter(BrowserState& state)
{
    FillEntries(state);
    ShowSelectedRow(state, Visit::later);
}

void ClearFilter(BrowserState& state)
{
    state.filter.clear();
    Refilter(state);
}

void OpenEntryAt(BrowserState& state, EntryRef target, Visit visit)
{
    if (!IsEntry(target))
        return;
    ChangeCategory(state, target.category);
    state.entryPlace.selected = target.entry;
    KeepInView(state.entryPlace, RowCount(state.entries), state.screen.entryRows);
    ShowEntry(state, target, visit);
    state.focus = Focus::text;
}

// From the lists to the text: the entry shown is read.
void ReadText(BrowserState& state)
{
    RecordShown(state);
    state.focus = Focus::text;
}

// The first line that shows a character of the link, or -1.
int LineOfLink(const BrowserState& state, int link)
{
    for (std::size_t l = 0; l < state.text.size(); ++l) {
        for (const LaidOutCharacter& c : state.text[l]) {
            if (c.link == link)
                return static_cast<int>(l);
        }
    }
    return -1;
}

// Scrolls the selected link into view, where it is not.
void ScrollToSelectedLink(BrowserState& state)
{
    const int line = LineOfLink(state, state.selectedLink);
    if (line >= 0 && (line < state.textTop || line >= state.textTop + state.screen.textRows))
        state.textTop = std::min(line, LastTextTop(state));
}

// Back to the shown entry from the results or the dice.
void CloseSide(BrowserState& state, Focus focus)
{
    state.reading = Reading::entry;
    state.selectedLink = -1;
    state.textTop = 0;
    ReadShownEntry(state);
    state.focus = focus;
}

void Quit(BrowserState& state)
{
    state.done = true;
}

int PageOf(const BrowserState& state)
{
    switch (state.focus) {
    case Focus::categories:
        return state.screen.categoryRows;
    case Focus::entries:
        return state.screen.entryRows;
    case Focus::results:
        return ResultRows(state);
    case Focus::text:
        break;
    }
    return std::max(1, state.screen.textRows - 1);
}

// Up, Down, Page Up, Page Down, Home and End: the rows or lines they move by,
// or 0 for another key.
int MovementOf(const BrowserState& state, KeyName key)
{
    switch (key) {
    case KeyName::up:
        return -1;
    case KeyName::down:
        return 1;
    case KeyName::pageUp:
        return -PageOf(state);
    case KeyName::pageDown:
        return PageOf(state);
    case KeyName::home:
        return -farAway;
    case KeyName::end:
        return farAway;
    default:
        return 0;
    }
}

void HandlePromptKey(BrowserState& state, const BrowserKey& key)
{
    switch (key.name) {
    case KeyName::character:
        AppendTyped(state.promptText, key.text);
        break;
    case KeyName::backspace:
        EraseLastCharacter(state.promptText);
        break;
    case KeyName::enter:
        SubmitPrompt(state);
        break;
    case KeyName::escape:
        state.prompt = Prompt::none;
        break;
    default:
        break;
    }
}

// The category list and the entry list: what is typed goes to the filter.
void HandleListKey(BrowserState& state, const BrowserKey& key)
{
    const bool onEntries = state.focus == Focus::entries;
    switch (key.name) {
    case KeyName::character:
        if (key.text == "/")
            OpenPrompt(state, Prompt::search);
        else
            TypeFilter(state, key.text);
        break;
    case KeyName::backspace:
        if (state.filter.empty())
            GoBack(state);
        else
            EraseFilter(state);
        break;
    case KeyName::escape:
        if (state.filter.empty())
            Quit(state);
        else
            ClearFilter(state);
        break;
    case KeyName::tab:
    case KeyName::backTab:
        SelectNextLink(state, key.name == KeyName::tab ? 1 : -1);
        break;
    case KeyName::left:
        state.focus = Focus::categories;
        break;
    case KeyName::right:
    case KeyName::enter:
        if (onEntries)
            ReadText(state);
        else
            state.focus = Focus::entries;
        break;
    default:
        MoveSelection(state, MovementOf(state, key.name));
        break;
    }
}

// The letters that act wherever nothing is typed.
void HandleCommandCharacter(BrowserState& state, const std::string& character)
{
    if (character == "/")
        OpenPrompt(state, Prompt::search);
    else if (character == "r")
        OpenPrompt(state, Prompt::dice);
    else if (character == "q")
        Quit(state);
    else if (character == " ")
        ScrollText(state, PageOf(state));
}

void HandleTextKey(BrowserState& state, const BrowserKey& key)
{
    const bool onEntry = state.reading == Reading::entry;
    switch (key.name) {
    case KeyName::character:
        HandleCommandCharacter(state, key.text);
        break;
    case KeyName::tab:
    case KeyName::backTab:
        SelectNextLink(state, key.name == KeyName::tab ? 1 : -1);
        break;
    case KeyName::enter:
        FollowSelectedLink(state);
        break;
    case KeyName::backspace:
        if (onEntry)
            GoBack(state);
        else
            CloseSide(state, Focus::text);
        break;
    case KeyName::escape:
        if (onEntry)
            Quit(state);
        else
            CloseSide(state, Focus::text);
        break;
    case KeyName::left:
        if (!onEntry)
            CloseSide(state, Focus::entries);
        state.focus = Focus::entries;
        break;
    default:
        ScrollText(state, MovementOf(state, key.name));
        break;
    }
}

void HandleResultsKey(BrowserState& state, const BrowserKey& key)
{
    switch (key.name) {
    case KeyName::character:
        HandleCommandCharacter(state, key.text);
        break;
    case KeyName::enter:
        OpenSelectedResult(state);
        break;
    case KeyName::escape:
    case KeyName::backspace:
        CloseSide(state, Focus::text);
        break;
    case KeyName::left:
        CloseSide(state, Focus::entries);
        break;
    default:
        MoveSelection(state, MovementOf(state, key.name));
        break;
    }
}

} // namespace

ScreenPlan PlanScreen(int columns, int rows, int categoryCount)
{
    ScreenPlan plan;
    plan.columns = columns;
    plan.rows = rows;
    plan.usable = columns >= fewestColumns && rows >= fewestRows;
    plan.listWidth = std::max(narrowestList, std::min(widestList, columns * listShare / 40));
    plan.statusRow = rows - 1;
    plan.categoryRows = std::max(1, std::min(categoryCount, (rows - 1) / 3));
    plan.filterRow = plan.categoryRows;
    plan.entryRows = std::max(1, plan.statusRow - plan.filterRow - 1);
    plan.textLeft = plan.listWidth + 2;
    plan.textWidth = std::max(1, columns - plan.textLeft);
    plan.textRows = std::max(1, rows - 1);
    return plan;
}

void StartBrowser(BrowserState& state, int columns, int rows)
{
    state.screen = PlanScreen(columns, rows, GetCategoryCount());
    if (GetCategoryCount() > 0)
        SelectCategory(state, 0);
}

void ResizeBrowser(BrowserState& state, int columns, int rows)
{
    state.screen = PlanScreen(columns, rows, GetCategoryCount());
    if (state.reading == Reading::entry && IsEntry(state.shown))
        ReadShownEntry(state);
    KeepInView(state.entryPlace, RowCount(state.entries), state.screen.entryRows);
    KeepInView(state.resultPlace, RowCount(state.results), ResultRows(state));
    state.textTop = std::min(state.textTop, LastTextTop(state));
    ScrollToSelectedLink(state);
}

void HandleKey(BrowserState& state, const BrowserKey& key)
{
    state.message.clear();
    if (state.prompt != Prompt::none) {
        HandlePromptKey(state, key);
        return;
    }
    if (key.name == KeyName::altLeft) {
        GoBack(state);
        return;
    }
    if (key.name == KeyName::altRight) {
        GoForward(state);
        return;
    }
    switch (state.focus) {
    case Focus::categories:
    case Focus::entries:
        HandleListKey(state, key);
        break;
    case Focus::text:
        HandleTextKey(state, key);
        break;
    case Focus::results:
        HandleResultsKey(state, key);
        break;
    }
}

void SelectCategory(BrowserState& state, int category)
{
    if (category < 0 || category >= GetCategoryCount())
        return;
    ChangeCategory(state, category);
    ShowSelectedRow(state, Visit::now);
}

void TypeFilter(BrowserState& state, const std::string& character)
{
    state.focus = Focus::entries;
    AppendTyped(state.filter, character);
    Refilter(state);
}

void EraseFilter(BrowserState& state)
{
    state.focus = Focus::entries;
    EraseLastCharacter(state.filter);
    Refilter(state);
}

void MoveSelection(BrowserState& state, int rows)
{
    if (rows == 0)
        return;
    switch (state.focus) {
    case Focus::categories:
        SelectCategory(state, std::max(0, std::min(GetCategoryCount() - 1, state.category + rows)));
        break;
    case Focus::entries:
        state.entryPlace.selected += rows;
        KeepInView(state.entryPlace, RowCount(state.entries), state.screen.entryRows);
        ShowSelectedRow(state, Visit::now);
        break;
    case Focus::results:
        state.resultPlace.selected += rows;
        KeepInView(state.resultPlace, RowCount(state.results), ResultRows(state));
        break;
    case Focus::text:
        ScrollText(state, rows);
        break;
    }
}

void ScrollText(BrowserState& state, int lines)
{
    state.textTop = std::max(0, std::min(LastTextTop(state), state.textTop + lines));
}

void SelectNextLink(BrowserState& state, int step)
{
    if (state.reading != Reading::entry)
        return;
    ReadText(state);
    const int count = static_cast<int>(state.links.size());
    if (count == 0) {
        state.message = "This entry names no other entry.";
        return;
    }
    if (state.selectedLink < 0)
        state.selectedLink = step > 0 ? 0 : count - 1;
    else
        state.selectedLink = (state.selectedLink + step + count) % count;
    ScrollToSelectedLink(state);
}

void FollowSelectedLink(BrowserState& state)
{
    if (state.reading == Reading::entry && state.selectedLink >= 0 &&
        state.selectedLink < static_cast<int>(state.links.size()))
        OpenEntry(state, state.links[static_cast<std::size_t>(state.selectedLink)].target);
}

void OpenEntry(BrowserState& state, EntryRef target)
{
    RecordShown(state);
    OpenEntryAt(state, target, Visit::now);
}

void GoBack(BrowserState& state)
{
    RecordShown(state);
    if (state.history.CanGoBack())
        OpenEntryAt(state, state.history.Back(), Visit::walked);
}

void GoForward(BrowserState& state)
{
    RecordShown(state);
    if (state.history.CanGoForward())
        OpenEntryAt(state, state.history.Forward(), Visit::walked);
}

void OpenPrompt(BrowserState& state, Prompt prompt)
{
    state.prompt = prompt;
    state.promptText.clear();
}

void SubmitPrompt(BrowserState& state)
{
    const Prompt prompt = state.prompt;
    state.prompt = Prompt::none;
    // An empty line asks for the last search, or the last roll, again.
    if (prompt == Prompt::search)
        RunSearch(state, state.promptText.empty() ? state.query : state.promptText);
    else if (prompt == Prompt::dice)
        RollDiceLine(state, state.promptText.empty() ? state.roll : state.promptText);
}

void RunSearch(BrowserState& state, const std::string& query)
{
    if (query.find_first_not_of(' ') == std::string::npos)
        return;
    state.query = query;
    const std::string imageQuery = ArgumentAsImageText(query);
    std::vector<ListRow> results;
    for (int c = 0; c < GetCategoryCount(); ++c) {
        for (std::string& title : SearchTitles(c, imageQuery)) {
            const int entry = FindEntryByTitle(c, title.c_str());
            results.push_back(ListRow{std::move(title), EntryRef{c, entry}});
        }
    }
    if (results.empty()) {
        state.message = "No entry holds every word of \"" + query + "\".";
        return;
    }
    state.results = std::move(results);
    state.resultPlace = ListPlace{};
    state.reading = Reading::results;
    state.focus = Focus::results;
}

void OpenSelectedResult(BrowserState& state)
{
    if (!state.results.empty())
        OpenEntry(state, state.results[static_cast<std::size_t>(state.resultPlace.selected)].entry);
}

void RollDiceLine(BrowserState& state, const std::string& notation)
{
    if (notation.find_first_not_of(' ') == std::string::npos)
        return;
    std::vector<NotationRoll> rolls;
    NotationError error;
    if (!ParseDiceNotation(notation, rolls, error)) {
        state.message = "Roll: " + NotationErrorText(notation, error) + ".";
        return;
    }
    state.roll = notation;
    state.text.clear();
    state.text.push_back(PlainLine(ArgumentAsShown(notation), markBold));
    state.text.push_back(PlainLine("-----", markPlain));
    for (const NotationRoll& roll : rolls)
        RollDice(roll.request,
                 [&state](const char* line) { state.text.push_back(PlainLine(line, markPlain)); });
    state.reading = Reading::dice;
    state.focus = Focus::text;
    state.selectedLink = -1;
    state.textTop = 0;
}

void ReadShownEntry(BrowserState& state)
{
    const EntryRef entry = state.shown;
    if (!IsEntry(entry))
        return;
    state.text = LayOutEntryLines(GetEntryTitle(entry.category, entry.entry),
                                  GetEntryBody(entry.category, entry.entry), state.links,
                                  EntryLayout{state.screen.textWidth, true});
    state.textTop = std::min(state.textTop, LastTextTop(state));
}

std::string KeyHelp(const BrowserState& state)
{
    if (state.prompt == Prompt::search)
        return "Enter search (-word: without)  Esc cancel";
    if (state.prompt == Prompt::dice)
        return "Enter roll (d20, 3d6+2, 4d6-1 x6)  Esc cancel";
    switch (state.focus) {
    case Focus::categories:
        return "\u2191\u2193 category  \u2192 entries  type: filter  / search  Alt+\u2190 back  "
               "Esc quit";
    case Focus::entries:
        return "type: filter  \u2191\u2193 entry  \u2190 categories  Enter read  Tab names  "
               "/ search  Esc quit";
    case Focus::results:
        return "\u2191\u2193 result  Enter open  Esc close  / search  r roll  q quit";
    case Focus::text:
        break;
    }
    if (state.reading == Reading::dice)
        return "\u2191\u2193 scroll  r roll  Esc close  \u2190 entries  / search  q quit";
    return "Tab name  Enter follow  Bksp back  \u2191\u2193 scroll  \u2190 list  / search  r roll  "
           "q quit";
}
