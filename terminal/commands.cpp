// The terminal program's commands: see commands.h.
#include "terminal/commands.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/rules_image.h"
#include "dice/dice_engine.h"
#include "dice/dice_notation.h"
#include "pane/link_finder.h"
#include "search/search_engine.h"
#include "search/title_rows.h"
#include "terminal/entry_lookup.h"
#include "terminal/json_output.h"
#include "terminal/text_output.h"

namespace {

// How many titles a miss suggests.
constexpr std::size_t suggestionCount = 5;
// Titles under a category's heading are indented this much.
const char groupIndent[] = "  ";

// The titles one category gave.
struct TitleGroup {
    int category = 0;
    std::vector<std::string> titles; // as in the image
};

std::string Heading(int category, const OutputChoices& choices)
{
    const std::string name = ShownText(GetCategoryName(category));
    return choices.styled ? BoldText(name) : name;
}

std::vector<int> CategoriesToSearch(int category)
{
    std::vector<int> categories;
    for (int c = 0; c < GetCategoryCount(); ++c) {
        if (category < 0 || c == category)
            categories.push_back(c);
    }
    return categories;
}

// Text: under each category's heading where grouped, else one title a line.
// JSON: every group, with its category's name.
int WriteTitleGroups(const std::vector<TitleGroup>& groups, bool grouped,
                     const OutputChoices& choices, std::string& out)
{
    bool found = false;
    JsonWriter json;
    json.BeginObject().Key("categories").BeginArray();
    for (const TitleGroup& group : groups) {
        json.BeginObject().Key("name").String(ScriptText(GetCategoryName(group.category)));
        json.Key("titles").BeginArray();
        for (const std::string& title : group.titles)
            json.String(ScriptText(title));
        json.EndArray().EndObject();
        if (group.titles.empty())
            continue;
        if (grouped) {
            if (found)
                out += '\n';
            out += Heading(group.category, choices) + '\n';
        }
        for (const std::string& title : group.titles)
            out += (grouped ? groupIndent : "") + ShownText(title) + '\n';
        found = true;
    }
    json.EndArray().EndObject();
    if (choices.json)
        out = json.Text();
    return found ? exitFound : exitNothingFound;
}

std::string JoinedImageText(const std::vector<std::string>& arguments)
{
    std::string joined;
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        if (k > 0)
            joined += ' ';
        joined += ArgumentAsImageText(arguments[k]);
    }
    return joined;
}

std::string EntryName(const EntryRef& entry)
{
    return ShownText(GetEntryTitle(entry.category, entry.entry)) + " (" +
           ShownText(GetCategoryName(entry.category)) + ")";
}

void ComplainOfMissingTitle(const std::string& argument, const std::vector<EntryRef>& closest)
{
    std::string message = "no entry is titled \"" + ArgumentAsShown(argument) + "\"";
    for (std::size_t k = 0; k < closest.size(); ++k)
        message += (k == 0 ? "; the closest: " : ", ") + EntryName(closest[k]);
    Complain(message);
}

void WriteEntryText(const EntryRef& entry, bool withCategory, const OutputChoices& choices,
                    std::string& out)
{
    const char* title = GetEntryTitle(entry.category, entry.entry);
    const char* body = GetEntryBody(entry.category, entry.entry);
    if (!out.empty())
        out += '\n';
    if (withCategory)
        out += "[" + ShownText(GetCategoryName(entry.category)) + "]\n";
    std::vector<FoundLink> links;
    if (choices.styled)
        links = GetImageLinkFinder().FindLinks(entry.category, entry.entry, body);
    out += LayOutEntry(title, body, links, EntryLayout{choices.width, choices.styled});
}

void WriteEntryJson(const EntryRef& entry, JsonWriter& json)
{
    json.BeginObject();
    json.Key("category").String(ScriptText(GetCategoryName(entry.category)));
    json.Key("title").String(ScriptText(GetEntryTitle(entry.category, entry.entry)));
    json.Key("body").String(ScriptText(GetEntryBody(entry.category, entry.entry)));
    json.EndObject();
}

// The column of a byte offset, counting characters of UTF-8 from 1.
std::size_t CharacterColumn(const std::string& text, std::size_t offset)
{
    std::size_t column = 1;
    for (std::size_t k = 0; k < offset && k < text.size(); ++k)
        column += (static_cast<unsigned char>(text[k]) & 0xC0) != 0x80;
    return column;
}

void ComplainOfNotation(const std::string& text, const NotationError& error)
{
    const std::size_t column = CharacterColumn(text, error.offset);
    std::string message = "roll: " + NotationErrorText(text, error);
    // Where the text is safe to show as it is, point at the place.
    std::string shown = ArgumentAsShown(text);
    if (shown == text)
        message += ":\n  " + text + "\n  " + std::string(column - 1, ' ') + "^";
    Complain(message);
}

// The total a result line ends with.
long long LineTotal(const char* line)
{
    const char* equals = std::strrchr(line, '=');
    return equals != nullptr ? std::strtoll(equals + 1, nullptr, 10) : 0;
}

} // namespace

void Complain(const std::string& message)
{
    const std::string line = "vellum: " + message + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

bool ResolveCategory(const std::string& name, int& category)
{
    category = -1;
    if (name.empty())
        return true;
    category = FindCategoryNamed(name);
    if (category >= 0)
        return true;
    std::string message = "no category is named \"" + ArgumentAsShown(name) + "\"; the categories:";
    for (int c = 0; c < GetCategoryCount(); ++c)
        message += (c == 0 ? " " : ", ") + ShownText(GetCategoryName(c));
    Complain(message);
    return false;
}

int ListCategories(const OutputChoices& choices, std::string& out)
{
    JsonWriter json;
    json.BeginObject().Key("categories").BeginArray();
    for (int c = 0; c < GetCategoryCount(); ++c) {
        out += ShownText(GetCategoryName(c)) + '\n';
        json.BeginObject().Key("name").String(ScriptText(GetCategoryName(c)));
        json.Key("entries").Number(GetEntryCount(c)).EndObject();
    }
    json.EndArray().EndObject();
    if (choices.json)
        out = json.Text();
    return GetCategoryCount() > 0 ? exitFound : exitNothingFound;
}

int ListTitles(int category, bool countOnly, const OutputChoices& choices, std::string& out)
{
    const std::vector<int> categories = CategoriesToSearch(category);
    if (!countOnly) {
        std::vector<TitleGroup> groups;
        for (const int c : categories) {
            groups.push_back(TitleGroup{c, {}});
            for (int e = 0; e < GetEntryCount(c); ++e)
                groups.back().titles.emplace_back(GetEntryTitle(c, e));
        }
        return WriteTitleGroups(groups, category < 0, choices, out);
    }
    JsonWriter json;
    json.BeginObject().Key("categories").BeginArray();
    int total = 0;
    for (const int c : categories) {
        total += GetEntryCount(c);
        json.BeginObject().Key("name").String(ScriptText(GetCategoryName(c)));
        json.Key("count").Number(GetEntryCount(c)).EndObject();
        if (category >= 0) {
            out += std::to_string(GetEntryCount(c)) + '\n';
        } else {
            char count[16];
            std::snprintf(count, sizeof count, "%5d  ", GetEntryCount(c));
            out += count + ShownText(GetCategoryName(c)) + '\n';
        }
    }
    json.EndArray().EndObject();
    if (choices.json)
        out = json.Text();
    return total > 0 ? exitFound : exitNothingFound;
}

int ShowEntries(const std::vector<std::string>& titles, int category, const OutputChoices& choices,
                std::string& out)
{
    bool missing = false;
    JsonWriter json;
    json.BeginObject().Key("entries").BeginArray();
    std::vector<std::pair<std::string, std::vector<EntryRef>>> misses;
    for (const std::string& argument : titles) {
        const std::string title = ArgumentAsImageText(argument);
        const std::vector<EntryRef> found = FindEntriesTitled(title, category);
        for (const EntryRef& entry : found) {
            WriteEntryText(entry, found.size() > 1, choices, out);
            WriteEntryJson(entry, json);
        }
        if (found.empty()) {
            missing = true;
            misses.emplace_back(argument, ClosestTitles(title, category, suggestionCount));
            ComplainOfMissingTitle(argument, misses.back().second);
        }
    }
    json.EndArray().Key("missing").BeginArray();
    for (const auto& miss : misses) {
        json.BeginObject().Key("title").String(ArgumentAsShown(miss.first));
        json.Key("closest").BeginArray();
        for (const EntryRef& entry : miss.second) {
            json.BeginObject().Key("category").String(ScriptText(GetCategoryName(entry.category)));
            json.Key("title").String(ScriptText(GetEntryTitle(entry.category, entry.entry)));
            json.EndObject();
        }
        json.EndArray().EndObject();
    }
    json.EndArray().EndObject();
    if (choices.json)
        out = json.Text();
    return missing ? exitNothingFound : exitFound;
}

int FindEntries(const std::vector<std::string>& words, int category, const OutputChoices& choices,
                std::string& out)
{
    const std::string query = JoinedImageText(words);
    std::vector<TitleGroup> groups;
    for (const int c : CategoriesToSearch(category))
        groups.push_back(TitleGroup{c, SearchTitles(c, query)});
    return WriteTitleGroups(groups, category < 0, choices, out);
}

int FilterEntries(const std::vector<std::string>& words, int category, bool bodies,
                  const OutputChoices& choices, std::string& out)
{
    const std::string text = JoinedImageText(words);
    std::vector<TitleGroup> groups;
    for (const int c : CategoriesToSearch(category))
        groups.push_back(TitleGroup{c, TypeAheadTitles(c, text, bodies)});
    return WriteTitleGroups(groups, category < 0, choices, out);
}

std::vector<std::string> SearchTitles(int category, const std::string& query)
{
    TitleRows rows(category);
    ApplyQuery(rows, query.data(), static_cast<int>(query.size()));
    return rows.Titles();
}

std::vector<std::string> TypeAheadTitles(int category, const std::string& text, bool bodies)
{
    TitleRows rows(category, bodies);
    ApplyTypedWords(rows, text.data(), static_cast<int>(text.size()));
    return rows.Titles();
}

std::string NotationErrorText(const std::string& text, const NotationError& error)
{
    return error.message + ", at character " + std::to_string(CharacterColumn(text, error.offset));
}

int RollNotation(const std::vector<std::string>& expressions, std::uint32_t seed,
                 const OutputChoices& choices, std::string& out)
{
    std::string text;
    for (std::size_t k = 0; k < expressions.size(); ++k)
        text += (k > 0 ? " " : "") + expressions[k];
    std::vector<NotationRoll> rolls;
    NotationError error;
    if (!ParseDiceNotation(text, rolls, error)) {
        ComplainOfNotation(text, error);
        return exitUsage;
    }
    SeedDiceGenerator(seed);
    JsonWriter json;
    json.BeginObject().Key("seed").Number(seed).Key("rolls").BeginArray();
    for (const NotationRoll& roll : rolls) {
        json.BeginObject().Key("roll").String(text.substr(roll.begin, roll.length));
        std::vector<long long> totals;
        json.Key("lines").BeginArray();
        RollDice(roll.request, [&](const char* line) {
            out += line;
            out += '\n';
            if (line[0] != '\0') {
                json.String(line);
                totals.push_back(LineTotal(line));
            }
        });
        json.EndArray().Key("totals").BeginArray();
        for (const long long total : totals)
            json.Number(total);
        json.EndArray().EndObject();
    }
    json.EndArray().EndObject();
    if (choices.json)
        out = json.Text();
    return exitFound;
}

std::uint32_t SeedFromClock()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    const auto bits = static_cast<unsigned long long>(ticks);
    return static_cast<std::uint32_t>(bits ^ (bits >> 32));
}
