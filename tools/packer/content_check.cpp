// The content checker: category targets, the field layout of each category,
// cross references between entries, unique titles, paragraphs copied from
// one entry into another, and the one wording of each creature type's traits.
#include "tools/packer/content_check.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <unordered_map>

#include "tools/packer/cp1252.h"

namespace {

// Windows-1252 forms of the typographic characters the layouts use.
const std::string_view emDash = "\x97";
const char enDash = '\x96';

// A paragraph this long that occurs whole in another entry was copied.
const std::size_t copiedParagraphWords = 20;

// "Undead Traits: ..." holds the traits of a creature type.
const std::string_view traitsSuffix = " Traits";

// ---------------------------------------------------------------- text

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Folds A to Z only, as the programs' type-ahead and search do.
std::string Folded(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded) {
        if (IsUpper(c))
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

std::string Utf8(std::string_view cp1252)
{
    std::string utf8;
    std::string error;
    return ConvertCp1252ToUtf8(cp1252, utf8, error) ? utf8 : std::string(cp1252);
}

std::string Quoted(std::string_view cp1252)
{
    return "'" + Utf8(cp1252) + "'";
}

// Splits at a separator outside parentheses; pieces are trimmed, empty ones
// dropped.
std::vector<std::string_view> SplitList(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : separator;
        if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        else if (c == separator && (depth == 0 || i == text.size())) {
            const std::string_view piece = Trim(text.substr(start, i - start));
            if (!piece.empty())
                pieces.push_back(piece);
            start = i + 1;
        }
    }
    return pieces;
}

// "Weapon Focus (bite)" -> "Weapon Focus".
std::string_view BeforeParenthesis(std::string_view name)
{
    const std::size_t open = name.find('(');
    return open == std::string_view::npos ? name : Trim(name.substr(0, open));
}

std::string WithoutParentheses(std::string_view text)
{
    std::string out;
    int depth = 0;
    for (const char c : text) {
        if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        else if (depth == 0)
            out += c;
    }
    return out;
}

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}

// A modifier or figure: "+4", "-2", "–1", "60", "2d6+3".
bool IsFigure(std::string_view word)
{
    if (!word.empty() && (word[0] == '+' || word[0] == '-' || word[0] == enDash))
        word.remove_prefix(1);
    return !word.empty() && IsDigit(word[0]);
}

// ---------------------------------------------------------------- entries

struct BodyLine {
    std::string_view text;
    int line = 0;
};

// Body lines follow the title line one for one: escapes drop a character,
// never a line.
std::vector<BodyLine> LinesOf(const SourceEntry& entry)
{
    std::vector<BodyLine> lines;
    if (entry.body.empty())
        return lines;
    std::string_view body = entry.body;
    int number = entry.line + 1;
    while (true) {
        const std::size_t end = body.find("\r\n");
        lines.push_back(BodyLine{body.substr(0, end), number++});
        if (end == std::string_view::npos)
            break;
        body.remove_prefix(end + 2);
    }
    return lines;
}

// "Label:<tab>value" (a field) or "Label: text" (a labelled paragraph).
struct Labelled {
    std::string_view label;
    std::string_view value;
    char separator = 0;  // tab, blank, or 0 for a bare "Label:"
};

bool ReadLabelled(std::string_view text, Labelled& out)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || IsBlank(text[0]))
        return false;
    if (colon + 1 < text.size() && !IsBlank(text[colon + 1]))
        return false;
    out.label = text.substr(0, colon);
    out.separator = colon + 1 < text.size() ? text[colon + 1] : 0;
    out.value = Trim(text.substr(colon + 1));
    return true;
}

// One labelled line of a layout; fields take a tab, paragraphs a blank.
struct LabelRule {
    std::string_view label;
    bool required = true;
};

const std::vector<LabelRule> statisticsRules = {
    {"Size/Type"},
    {"Hit Dice"},
    {"Initiative"},
    {"Speed"},
    {"Armor Class"},
    {"Base Attack/Grapple"},
    {"Attack"},
    {"Full Attack"},
    {"Space/Reach"},
    {"Special Attacks"},
    {"Special Qualities"},
    {"Saves"},
    {"Abilities"},
    {"Skills"},
    {"Feats"},
    {"Environment"},
    {"Organization"},
    {"Challenge Rating"},
    {"Treasure"},
    {"Alignment"},
    {"Advancement"},
    {"Level Adjustment"},
};

const std::vector<LabelRule> spellFieldRules = {
    {"Level"},         {"Components"},    {"Casting Time"},     {"Range"},
    {"Target", false}, {"Effect", false}, {"Area", false},      {"Target or Area", false},
    {"Duration"},      {"Saving Throw"},  {"Spell Resistance"},
};

const std::vector<LabelRule> skillFieldRules = {
    {"Key Ability"}, {"Trained Only"}, {"Armor Check Penalty"}};

const std::vector<LabelRule> skillParagraphRules = {{"Check"},   {"Action"},  {"Try Again"},
                                                    {"Special"}, {"Synergy"}, {"Untrained"}};

const std::vector<LabelRule> featParagraphRules = {
    {"Benefit"}, {"Normal", false}, {"Special", false}};

const std::vector<LabelRule> specialAbilityParagraphRules = {{"How It Works"}, {"Stacking"}};

const std::vector<LabelRule> templateParagraphRules = {
    {"Size and Type"}, {"Hit Dice"},         {"Speed"},
    {"Armor Class"},   {"Attack"},           {"Full Attack"},
    {"Damage"},        {"Special Attacks"},  {"Special Qualities"},
    {"Abilities"},     {"Skills"},           {"Feats"},
    {"Environment"},   {"Challenge Rating"}, {"Alignment"},
    {"Advancement"},   {"Level Adjustment"},
};

const std::set<std::string_view> spellSchools = {"Abjuration",  "Conjuration",   "Divination",
                                                 "Enchantment", "Evocation",     "Illusion",
                                                 "Necromancy",  "Transmutation", "Universal"};

const std::set<std::string_view> featTypes = {"General", "Fighter Bonus", "Item Creation",
                                              "Metamagic", "Monster"};

const std::set<std::string_view> abilityAbbreviations = {"Str", "Dex", "Con", "Int", "Wis", "Cha"};

// Capitalised words before "check" that name no skill.
const std::set<std::string_view> checksThatAreNoSkills = {
    "Strength",   "Dexterity", "Constitution", "Intelligence", "Wisdom", "Charisma",
    "Str",        "Dex",       "Con",          "Int",          "Wis",    "Cha",
    "Initiative", "Grapple",   "Caster",       "Level"};

// Capitalised words that open a sentence rather than a skill's name.
const std::set<std::string_view> sentenceOpeners = {
    "A",    "An",    "The",  "Your", "Its",  "His",     "Her",  "Their", "Any",   "All",
    "Each", "Every", "If",   "On",   "In",   "For",     "With", "When",  "While", "To",
    "And",  "Or",    "Both", "Some", "Most", "Opposed", "Such", "This",  "That",  "These"};

struct SpellClass {
    std::string_view name;
    int lowest;
    int highest;
};

const SpellClass spellClasses[] = {{"Mage", 0, 9},  {"Bard", 0, 6},    {"Priest", 0, 9},
                                   {"Druid", 0, 9}, {"Paladin", 1, 4}, {"Ranger", 1, 4}};

enum class Layout { none, spell, skill, feat, specialAbility, creature, creatureTemplate };

Layout LayoutFor(std::string_view folder)
{
    if (folder == "spells")
        return Layout::spell;
    if (folder == "skills")
        return Layout::skill;
    if (folder == "feats")
        return Layout::feat;
    if (folder == "special-abilities")
        return Layout::specialAbility;
    if (folder == "monsters" || folder == "animals-vermin")
        return Layout::creature;
    if (folder == "templates")
        return Layout::creatureTemplate;
    return Layout::none;
}

// The titles of a category that other entries name.
struct TitleIndex {
    std::string name;  // UTF-8
    std::string folder;
    bool present = false;
    bool complete = false;
    std::set<std::string> titles;
    std::set<std::string> folded;
};

// A name resolves by its exact title or by the part before a parenthesised
// choice ("Weapon Focus (bite)"); in prose, a bare name may also stand for
// the family of titles that carry a choice ("Knowledge checks").
bool Resolves(const TitleIndex& index, std::string_view name, bool familyAllowed = false)
{
    const std::string full(name);
    if (index.titles.count(full) > 0)
        return true;
    const std::string_view base = BeforeParenthesis(name);
    if (base.size() != name.size())
        return !base.empty() && index.titles.count(std::string(base)) > 0;
    if (!familyAllowed)
        return false;
    const std::string family = full + " (";
    const auto next = index.titles.lower_bound(family);
    return next != index.titles.end() && StartsWith(*next, family);
}

// The run of a name that Resolves found to be a title: the whole name, or the
// part before its choice. Empty for a family, which names no one title.
std::string_view TitlePart(const TitleIndex& index, std::string_view name)
{
    if (index.titles.count(std::string(name)) > 0)
        return name;
    const std::string_view base = BeforeParenthesis(name);
    return base.size() != name.size() && index.titles.count(std::string(base)) > 0
               ? base
               : std::string_view();
}

std::size_t RuleOf(const std::vector<LabelRule>& rules, std::string_view label)
{
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (rules[i].label == label)
            return i;
    }
    return rules.size();
}

std::size_t BlockEnd(const std::vector<BodyLine>& lines, std::size_t begin)
{
    std::size_t end = begin;
    while (end < lines.size() && !lines[end].text.empty())
        ++end;
    return end;
}

std::size_t FindLine(const std::vector<BodyLine>& lines, std::size_t begin, std::string_view text)
{
    for (std::size_t i = begin; i < lines.size(); ++i) {
        if (lines[i].text == text)
            return i;
    }
    return lines.size();
}

// Whether a line opens with a label of the rules (a paragraph that
// should not stand where free text belongs).
bool OpensWithLabel(std::string_view text, const std::vector<LabelRule>& rules)
{
    Labelled labelled;
    return ReadLabelled(text, labelled) && RuleOf(rules, labelled.label) < rules.size();
}

// "Hide +6 (+10 in forests)" -> "Hide"; the item itself when no modifier follows.
std::string_view BeforeModifier(std::string_view item)
{
    int depth = 0;
    for (std::size_t i = 1; i < item.size(); ++i) {
        const char c = item[i];
        if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        else if (depth == 0 && item[i - 1] == ' ' && IsFigure(item.substr(i)) && !IsDigit(c))
            return Trim(item.substr(0, i));
    }
    return item;
}

// "damage reduction 10/magic" -> "damage reduction"; "poison (Fort DC 14)" -> "poison".
std::string SpecialName(std::string_view item)
{
    const std::string plain = WithoutParentheses(item);
    std::string name;
    for (const std::string_view word : Words(plain)) {
        if (IsFigure(word))
            break;
        name += (name.empty() ? "" : " ") + std::string(word);
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ','))
        name.pop_back();
    return name;
}

// The run at the start of an item that a name taken from it spells. Where a
// parenthesis or a second blank inside the name breaks the run, no run of the
// line spells it and the name stands as taken.
std::string WrittenAs(std::string_view item, std::string_view name)
{
    return std::string(item.substr(0, name.size()) == name ? item.substr(0, name.size()) : name);
}

// "Large Dragon (Fire, Extraplanar)" -> {"Dragon", "Fire", "Extraplanar"}:
// the type, then its subtypes; the size comes first and is left out.
std::vector<std::string_view> TypesOf(std::string_view sizeType)
{
    std::vector<std::string_view> types;
    const std::size_t blank = sizeType.find(' ');
    if (blank == std::string_view::npos)
        return types;
    const std::string_view rest = sizeType.substr(blank + 1);
    const std::size_t open = rest.find('(');
    types.push_back(Trim(rest.substr(0, open)));
    if (open != std::string_view::npos) {
        const std::size_t close = rest.find(')', open);
        for (const std::string_view subtype :
             SplitList(rest.substr(open + 1, close - open - 1), ','))
            types.push_back(subtype);
    }
    return types;
}

// The number, from 1, of the first word in which two texts part.
std::size_t FirstDifferingWord(std::string_view a, std::string_view b)
{
    const std::vector<std::string_view> wordsA = Words(a);
    const std::vector<std::string_view> wordsB = Words(b);
    std::size_t i = 0;
    while (i < wordsA.size() && i < wordsB.size() && wordsA[i] == wordsB[i])
        ++i;
    return i + 1;
}

// Every word outside parentheses capitalised, but for joining words.
bool IsTitleLike(std::string_view item)
{
    const std::string plain = WithoutParentheses(item);
    const std::vector<std::string_view> words = Words(plain);
    if (words.empty() || !IsUpper(words[0][0]))
        return false;
    for (const std::string_view word : words) {
        if (!IsUpper(word[0]) && word != "of" && word != "and" && word != "the" && word != "to")
            return false;
    }
    return true;
}

bool IsNameWord(std::string_view word)
{
    return !word.empty() && (IsUpper(word[0]) || word[0] == '(');
}

bool IsJoiningWord(std::string_view word)
{
    return word == "of" || word == "the";
}

// The capitalised phrase that starts at begin, up to punctuation.
std::string_view PhraseAfter(std::string_view text, std::size_t begin)
{
    std::size_t end = begin;
    std::size_t i = begin;
    int depth = 0;
    while (i < text.size()) {
        std::size_t wordEnd = i;
        while (wordEnd < text.size() && (depth > 0 || text[wordEnd] != ' ')) {
            if (text[wordEnd] == '(')
                ++depth;
            else if (text[wordEnd] == ')' && depth > 0)
                --depth;
            ++wordEnd;
        }
        std::string_view word = text.substr(i, wordEnd - i);
        const bool joining = IsJoiningWord(word);
        if (!joining && !IsNameWord(word))
            break;
        const bool stops =
            !word.empty() && std::string_view(",.;:").find(word.back()) != std::string_view::npos;
        if (stops)
            word.remove_suffix(1);
        if (!joining)
            end = i + word.size();
        if (stops || wordEnd >= text.size())
            break;
        i = wordEnd + 1;
    }
    return text.substr(begin, end - begin);
}

// The capitalised phrase that ends at end, back to punctuation.
std::string_view PhraseBefore(std::string_view text, std::size_t end)
{
    std::size_t begin = end;
    std::size_t i = end;
    while (i > 0) {
        std::size_t wordBegin = i;
        if (text[i - 1] == ')') {
            const std::size_t open = text.rfind('(', i - 1);
            if (open == std::string_view::npos)
                break;
            wordBegin = open;
        }
        while (wordBegin > 0 && text[wordBegin - 1] != ' ')
            --wordBegin;
        const std::string_view word = text.substr(wordBegin, i - wordBegin);
        if (word.empty() || std::string_view(",.;:").find(word.back()) != std::string_view::npos)
            break;
        if (IsNameWord(word))
            begin = wordBegin;
        else if (!IsJoiningWord(word) || begin == end)
            break;
        if (wordBegin == 0)
            break;
        i = wordBegin - 1;
    }
    return text.substr(begin, end - begin);
}

std::size_t WindowHash(const std::vector<std::string_view>& words, std::size_t start)
{
    std::size_t hash = 0;
    for (std::size_t i = start; i < start + copiedParagraphWords; ++i)
        hash = hash * 1000003u ^ std::hash<std::string_view>()(words[i]);
    return hash;
}

// The spells of a paragraph "Spell-Like Abilities: At will—Ember Dart, Far
// Step (self only); 3/day—Fireburst. Caster level 9th.", each with its
// parenthesised note: the list ends at the first full stop outside
// parentheses.
std::vector<std::string_view> SpellLikeAbilityItems(std::string_view paragraph)
{
    std::string_view text = paragraph.substr(std::string_view("Spell-Like Abilities: ").size());
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(')
            ++depth;
        else if (text[i] == ')' && depth > 0)
            --depth;
        else if (depth == 0 && text[i] == '.' && (i + 1 == text.size() || text[i + 1] == ' ')) {
            text = text.substr(0, i);
            break;
        }
    }
    std::vector<std::string_view> items;
    for (const std::string_view group : SplitList(text, ';')) {
        const std::size_t dash = group.rfind(emDash);
        if (dash == std::string_view::npos)
            continue;
        for (const std::string_view item : SplitList(group.substr(dash + emDash.size()), ',')) {
            if (!BeforeParenthesis(item).empty())
                items.push_back(item);
        }
    }
    return items;
}

// The phrases of a synergy paragraph that name skills: "ranks in Jump",
// "on Balance checks", "on Hide, Move Silently and Spot checks". A phrase
// may open with a word of its sentence ("Your Jump checks").
std::vector<std::string_view> SynergySkillNames(std::string_view text)
{
    std::vector<std::string_view> names;
    const std::string_view ranksIn = "ranks in ";
    for (std::size_t at = text.find(ranksIn); at != std::string_view::npos;
         at = text.find(ranksIn, at + 1)) {
        const std::string_view name = PhraseAfter(text, at + ranksIn.size());
        if (!name.empty())
            names.push_back(name);
    }
    for (std::size_t at = text.find(" check"); at != std::string_view::npos;
         at = text.find(" check", at + 1)) {
        std::size_t end = at;
        while (true) {
            const std::string_view name = PhraseBefore(text, end);
            if (name.empty())
                break;
            names.push_back(name);
            const std::size_t start = static_cast<std::size_t>(name.data() - text.data());
            std::size_t joint = 0;
            for (const std::string_view each : {", and ", ", or ", ", ", " and ", " or "}) {
                if (start >= each.size() && text.substr(start - each.size(), each.size()) == each) {
                    joint = each.size();
                    break;
                }
            }
            if (joint == 0)
                break;
            end = start - joint;
        }
    }
    return names;
}

// In order of file and line, each finding once (a name may recur on a line).
void SortFindings(std::vector<CheckFinding>& findings)
{
    std::stable_sort(findings.begin(), findings.end(),
                     [](const CheckFinding& a, const CheckFinding& b) {
                         return a.file != b.file ? a.file < b.file : a.line < b.line;
                     });
    const auto same = [](const CheckFinding& a, const CheckFinding& b) {
        return a.file == b.file && a.line == b.line && a.text == b.text;
    };
    findings.erase(std::unique(findings.begin(), findings.end(), same), findings.end());
}

struct Checker {
    Checker(const std::vector<SourceCategory>& allCategories,
            const std::vector<CategoryTarget>& allTargets,
            const std::vector<CreatureTraits>& allTraits)
        : categories(allCategories), targets(allTargets)
    {
        for (const CreatureTraits& each : allTraits)
            traitsByType.emplace(each.type, &each);
    }

    const std::vector<SourceCategory>& categories;
    const std::vector<CategoryTarget>& targets;
    std::map<std::string, const CreatureTraits*, std::less<>> traitsByType;
    ContentReport report;
    TitleIndex spells;
    TitleIndex skills;
    TitleIndex feats;
    TitleIndex specialAbilities;
    TitleIndex monsters;
    TitleIndex animals;

    // Where the entry being checked comes from.
    const SourceEntry* entry = nullptr;
    std::string_view entryFolder;

    void Add(const std::string& file, int line, std::string text, bool failure)
    {
        report.findings.push_back(CheckFinding{file, line, std::move(text), failure});
    }
    void Fail(int line, std::string text) { Add(entry->file, line, std::move(text), true); }
    void Note(int line, std::string text) { Add(entry->file, line, std::move(text), false); }

    // ------------------------------------------------------------ labels

    // Checks labelled lines found in a layout: the required ones present,
    // all of them in order and once. A missing label is reported at the
    // label that came where it belonged, or at endLine.
    void CheckLabelOrder(const std::vector<LabelRule>& rules,
                         const std::vector<std::pair<std::size_t, int>>& found, int endLine)
    {
        std::size_t next = 0;
        for (const auto& [rule, line] : found) {
            if (rule < next) {
                Fail(line, "'" + std::string(rules[rule].label) + ":' is out of order or repeated");
                continue;
            }
            for (std::size_t j = next; j < rule; ++j) {
                if (rules[j].required)
                    Fail(line, "missing '" + std::string(rules[j].label) + ":' before '" +
                                   std::string(rules[rule].label) + ":'");
            }
            next = rule + 1;
        }
        for (std::size_t j = next; j < rules.size(); ++j) {
            if (rules[j].required)
                Fail(endLine, "missing '" + std::string(rules[j].label) + ":'");
        }
    }

    // A block of fields, one per line, every line a known label, a tab and a
    // value. Returns the labels and values found, by rule.
    std::map<std::size_t, BodyLine> CheckFieldBlock(const std::vector<BodyLine>& lines,
                                                    std::size_t begin, std::size_t end,
                                                    const std::vector<LabelRule>& rules,
                                                    const std::string& blockName)
    {
        std::map<std::size_t, BodyLine> values;
        std::vector<std::pair<std::size_t, int>> found;
        for (std::size_t i = begin; i < end; ++i) {
            Labelled field;
            if (!ReadLabelled(lines[i].text, field)) {
                Fail(lines[i].line, "expected 'Label:<tab>value' in " + blockName);
                continue;
            }
            const std::size_t rule = RuleOf(rules, field.label);
            if (rule == rules.size()) {
                Fail(lines[i].line, "unknown label " + Quoted(std::string(field.label) + ":") +
                                        " in " + blockName);
                continue;
            }
            if (field.separator != '\t')
                Fail(lines[i].line,
                     "'" + std::string(field.label) + ":' takes a tab before its value");
            else if (field.value.empty())
                Fail(lines[i].line, "'" + std::string(field.label) + ":' has no value (write " +
                                        Utf8(emDash) + " for none)");
            found.emplace_back(rule, lines[i].line);
            values.emplace(rule, BodyLine{field.value, lines[i].line});
        }
        CheckLabelOrder(rules, found, end > begin ? lines[end - 1].line : entry->line);
        return values;
    }

    // Labelled paragraphs among other lines: lines that start with one of the
    // rules' labels and a colon count, other lines are free text.
    void CheckParagraphLabels(const std::vector<BodyLine>& lines, std::size_t begin,
                              std::size_t end, const std::vector<LabelRule>& rules)
    {
        std::vector<std::pair<std::size_t, int>> found;
        for (std::size_t i = begin; i < end; ++i) {
            Labelled paragraph;
            if (!ReadLabelled(lines[i].text, paragraph))
                continue;
            const std::size_t rule = RuleOf(rules, paragraph.label);
            if (rule == rules.size())
                continue;
            if (paragraph.separator != ' ')
                Fail(lines[i].line,
                     "'" + std::string(paragraph.label) + ":' takes a blank before its text");
            else if (paragraph.value.empty())
                Fail(lines[i].line, "'" + std::string(paragraph.label) + ":' has no text");
            found.emplace_back(rule, lines[i].line);
        }
        const int endLine = end > begin ? lines[end - 1].line : entry->line;
        CheckLabelOrder(rules, found, endLine);
    }

    void CheckOpeningParagraph(const std::vector<BodyLine>& lines,
                               const std::vector<LabelRule>& rules, const char* what)
    {
        if (lines.empty() || lines[0].text.empty() || OpensWithLabel(lines[0].text, rules))
            Fail(lines.empty() ? entry->line : lines[0].line,
                 std::string("the entry must open with ") + what);
    }

    // ------------------------------------------------------------ layouts

    void CheckSpell(const std::vector<BodyLine>& lines)
    {
        if (lines.empty()) {
            Fail(entry->line, "no school line");
            return;
        }
        const std::string_view school = lines[0].text.substr(0, lines[0].text.find_first_of(" (["));
        if (spellSchools.count(school) == 0)
            Fail(lines[0].line, "first line must name the school; " + Quoted(school) + " is none");
        const std::size_t end = BlockEnd(lines, 1);
        const auto fields = CheckFieldBlock(lines, 1, end, spellFieldRules, "the spell's fields");
        const auto level = fields.find(0);
        if (level != fields.end())
            CheckSpellLevels(level->second);
        const bool described =
            std::any_of(lines.begin() + static_cast<std::ptrdiff_t>(end), lines.end(),
                        [](const BodyLine& l) { return !l.text.empty(); });
        if (!described)
            Fail(lines[end - 1].line, "no description after the fields");
        CheckSummonedCreatures(lines, end);
    }

    // A summoning spell lists the creatures it calls in a table of two rows:
    // "Spell<tab>Creatures", then its own title, a tab and the exact titles
    // of creatures of the rules, separated by commas.
    void CheckSummonedCreatures(const std::vector<BodyLine>& lines, std::size_t from)
    {
        for (std::size_t i = from; i < lines.size(); ++i) {
            if (lines[i].text != "Spell\tCreatures")
                continue;
            const BodyLine row = i + 1 < lines.size() ? lines[i + 1] : BodyLine{"", lines[i].line};
            const std::size_t tab = row.text.find('\t');
            if (tab == std::string_view::npos || row.text.substr(0, tab) != entry->title) {
                Fail(row.line, "Creatures: the row after the list's header must be the spell's title, a "
                               "tab and the creatures");
                continue;
            }
            for (const std::string_view name : SplitList(row.text.substr(tab + 1), ','))
                CheckCreatureName(row.line, name);
        }
    }

    void CheckCreatureName(int line, std::string_view name)
    {
        const std::string title(name);
        if (monsters.titles.count(title) > 0)
            Resolved(line, name, monsters);
        else if (animals.titles.count(title) > 0)
            Resolved(line, name, animals);
        else
            Unresolved(line, "Creatures", name, monsters, "the title of a monster or an animal");
    }

    void CheckSpellLevels(const BodyLine& level)
    {
        for (const std::string_view item : SplitList(level.text, ',')) {
            const std::size_t blank = item.rfind(' ');
            const std::string_view name =
                item.substr(0, blank == std::string_view::npos ? 0 : blank);
            const std::string_view number =
                blank == std::string_view::npos ? item : item.substr(blank + 1);
            const SpellClass* known = nullptr;
            for (const SpellClass& spellClass : spellClasses) {
                if (spellClass.name == name)
                    known = &spellClass;
            }
            if (!known || number.size() != 1 || !IsDigit(number[0])) {
                Fail(level.line, "Level: " + Quoted(item) + " is not a class and a level");
                continue;
            }
            const int value = number[0] - '0';
            if (value < known->lowest || value > known->highest)
                Fail(level.line, "Level: " + Quoted(item) + " is outside " + std::string(name) +
                                     " levels " + std::to_string(known->lowest) + "\xE2\x80\x93" +
                                     std::to_string(known->highest));
        }
    }

    void CheckSkill(const std::vector<BodyLine>& lines)
    {
        const std::size_t end = BlockEnd(lines, 0);
        const auto fields = CheckFieldBlock(lines, 0, end, skillFieldRules, "the skill's fields");
        CheckChoice(
            fields, 0,
            {"Strength", "Dexterity", "Constitution", "Intelligence", "Wisdom", "Charisma", "None"},
            false);
        CheckChoice(fields, 1, {"Yes", "No"}, false);
        CheckChoice(fields, 2, {"Yes", "No"}, true);
        CheckParagraphLabels(lines, end, lines.size(), skillParagraphRules);
        for (std::size_t i = end; i < lines.size(); ++i) {
            if (StartsWith(lines[i].text, "Synergy: "))
                CheckSynergy(lines[i]);
        }
    }

    // A field whose value is one of a few words, or, with a note allowed,
    // one of them and a parenthesised note.
    void CheckChoice(const std::map<std::size_t, BodyLine>& fields, std::size_t rule,
                     const std::vector<std::string_view>& choices, bool noteAllowed)
    {
        const auto field = fields.find(rule);
        if (field == fields.end() || field->second.text.empty())
            return;
        const std::string_view value =
            noteAllowed ? BeforeParenthesis(field->second.text) : field->second.text;
        if (std::find(choices.begin(), choices.end(), value) != choices.end())
            return;
        std::string allowed;
        for (const std::string_view choice : choices)
            allowed += (allowed.empty() ? "" : ", ") + std::string(choice);
        Fail(field->second.line, "'" + std::string(skillFieldRules[rule].label) + ":' holds " +
                                     Quoted(field->second.text) + "; expected one of " + allowed);
    }

    void CheckFeat(const std::vector<BodyLine>& lines)
    {
        if (lines.empty() || !StartsWith(lines[0].text, "[") || !EndsWith(lines[0].text, "]")) {
            Fail(lines.empty() ? entry->line : lines[0].line,
                 "first line must give the feat's types in brackets");
        } else {
            const std::string_view types = lines[0].text.substr(1, lines[0].text.size() - 2);
            const auto list = SplitList(types, ',');
            if (list.empty())
                Fail(lines[0].line, "no feat type in the brackets");
            for (const std::string_view type : list) {
                if (featTypes.count(type) == 0)
                    Fail(lines[0].line, "unknown feat type " + Quoted(type));
            }
        }
        Labelled prerequisites;
        std::size_t paragraphs = 2;
        if (lines.size() < 2 || !ReadLabelled(lines[1].text, prerequisites) ||
            prerequisites.label != "Prerequisites") {
            Fail(lines.size() < 2 ? entry->line : lines[1].line,
                 "second line must be 'Prerequisites:<tab>\xE2\x80\xA6' (" + Utf8(emDash) +
                     " for none)");
            paragraphs = 1;
        } else if (prerequisites.separator != '\t' || prerequisites.value.empty()) {
            Fail(lines[1].line,
                 "'Prerequisites:' takes a tab and a value (" + Utf8(emDash) + " for none)");
        } else {
            CheckPrerequisites(BodyLine{prerequisites.value, lines[1].line});
        }
        CheckParagraphLabels(lines, std::min(paragraphs, lines.size()), lines.size(),
                             featParagraphRules);
    }

    void CheckSpecialAbility(const std::vector<BodyLine>& lines)
    {
        CheckOpeningParagraph(lines, specialAbilityParagraphRules, "a definition paragraph");
        CheckParagraphLabels(lines, 0, lines.size(), specialAbilityParagraphRules);
    }

    void CheckCreature(const std::vector<BodyLine>& lines, std::size_t begin)
    {
        const std::size_t end = BlockEnd(lines, begin);
        if (end == begin) {
            Fail(begin < lines.size() ? lines[begin].line : entry->line, "no statistics block");
            return;
        }
        const auto fields =
            CheckFieldBlock(lines, begin, end, statisticsRules, "the statistics block");
        if (FindLine(lines, end, "Combat") == lines.size())
            Fail(lines[end - 1].line, "no 'Combat' line after the description");

        std::set<std::string> described;
        for (std::size_t i = end; i < lines.size(); ++i) {
            Labelled paragraph;
            if (ReadLabelled(lines[i].text, paragraph) && paragraph.separator == ' ') {
                described.insert(Folded(paragraph.label));
                if (StartsWith(paragraph.value, "See the Special Abilities entry")) {
                    if (specialAbilities.titles.count(std::string(paragraph.label)) == 0)
                        Unresolved(lines[i].line, std::string(paragraph.label), paragraph.label,
                                   specialAbilities, "a special ability");
                    else
                        Resolved(lines[i].line, paragraph.label, specialAbilities);
                }
            }
            if (StartsWith(lines[i].text, "Spell-Like Abilities: "))
                CheckSpellLikeAbilities(lines[i]);
        }
        const auto field = [&](std::string_view label) {
            const auto found = fields.find(RuleOf(statisticsRules, label));
            return found == fields.end() ? BodyLine{} : found->second;
        };
        CheckCreatureSkills(field("Skills"));
        CheckCreatureFeats(field("Feats"));
        CheckSpecialList("Special Attacks", field("Special Attacks"), described);
        CheckSpecialList("Special Qualities", field("Special Qualities"), described);
        CheckCreatureTraits(lines, end, field("Size/Type"));
    }

    // ------------------------------------------------------------ traits

    // The wording of a type's traits, or none for a type that has none.
    const CreatureTraits* TraitsOf(std::string_view type) const
    {
        const auto found = traitsByType.find(type);
        return found == traitsByType.end() ? nullptr : found->second;
    }

    // A type's traits are the same for all its creatures, so they are worded
    // once, in creature-traits.txt: every "<Type> Traits:" paragraph holds
    // that wording word for word, and every creature of the type (or
    // subtype) carries it. A people's own traits, named after a subtype of
    // the creature ("Vess Traits" of a Humanoid (Vess)), are the entry's to
    // word.
    void CheckCreatureTraits(const std::vector<BodyLine>& lines, std::size_t begin,
                             const BodyLine& sizeType)
    {
        const std::vector<std::string_view> types = TypesOf(sizeType.text);
        const auto isOwn = [&](std::string_view type) {
            return std::find(types.begin(), types.end(), type) != types.end();
        };
        std::set<std::string_view> carried;
        for (std::size_t i = begin; i < lines.size(); ++i) {
            Labelled paragraph;
            if (!ReadLabelled(lines[i].text, paragraph) || paragraph.separator != ' ' ||
                paragraph.label.size() <= traitsSuffix.size() ||
                !EndsWith(paragraph.label, traitsSuffix))
                continue;
            const std::string_view type =
                paragraph.label.substr(0, paragraph.label.size() - traitsSuffix.size());
            const std::string label = Quoted(std::string(paragraph.label) + ":");
            const CreatureTraits* traits = TraitsOf(type);
            if (!traits) {
                if (!isOwn(type) || type == types.front())
                    Fail(lines[i].line, label +
                                            " names neither a type worded in creature-traits.txt "
                                            "nor a subtype of this creature");
                continue;
            }
            carried.insert(type);
            if (!isOwn(type))
                Fail(lines[i].line,
                     label + " on a creature whose Size/Type names no " + Utf8(type));
            else if (paragraph.value != traits->wording)
                Fail(lines[i].line,
                     label + " differs from its wording at " + traits->file + ":" +
                         std::to_string(traits->line) + " (first at word " +
                         std::to_string(FirstDifferingWord(paragraph.value, traits->wording)) +
                         ")");
        }
        for (const std::string_view type : types) {
            const CreatureTraits* traits = TraitsOf(type);
            if (traits && carried.count(type) == 0)
                Fail(sizeType.line, "no " + Quoted(std::string(type) + " Traits:") +
                                        " paragraph, which every " + Utf8(type) + " carries (" +
                                        traits->file + ":" + std::to_string(traits->line) + ")");
        }
    }

    // A paragraph that holds its type's one wording recurs by design.
    bool IsWordedTraits(std::string_view text) const
    {
        Labelled paragraph;
        if (!ReadLabelled(text, paragraph) || !EndsWith(paragraph.label, traitsSuffix))
            return false;
        const CreatureTraits* traits =
            TraitsOf(paragraph.label.substr(0, paragraph.label.size() - traitsSuffix.size()));
        return traits && paragraph.separator == ' ' && paragraph.value == traits->wording;
    }

    void CheckTemplate(const std::vector<BodyLine>& lines)
    {
        CheckOpeningParagraph(lines, templateParagraphRules, "a paragraph on what the template is");
        const std::string& title = entry->title;
        const std::string article =
            !title.empty() &&
                    std::string_view("AEIOUaeiou").find(title[0]) != std::string_view::npos
                ? "an "
                : "a ";
        const std::string creating = "Creating " + article + title + " Creature";
        std::size_t heading = FindLine(lines, 0, creating);
        if (heading == lines.size())
            heading = FindLine(lines, 0,
                               "Creating " + std::string(article == "a " ? "an " : "a ") + title +
                                   " Creature");
        if (heading == lines.size()) {
            Fail(entry->line, "no heading " + Quoted(creating));
            return;
        }
        const std::size_t fieldsEnd = BlockEnd(lines, heading + 1);
        CheckParagraphLabels(lines, heading + 1, fieldsEnd, templateParagraphRules);
        const std::string sampleHeading = "Sample " + title + " Creature";
        const std::size_t sample = FindLine(lines, fieldsEnd, sampleHeading);
        if (sample == lines.size()) {
            Fail(lines[fieldsEnd - 1].line,
                 "no heading " + Quoted(sampleHeading) + " after the fields");
            return;
        }
        Labelled labelled;
        if (sample + 1 >= lines.size() || lines[sample + 1].text.empty() ||
            ReadLabelled(lines[sample + 1].text, labelled)) {
            Fail(lines[sample].line, "the sample creature's name must follow on its own line");
            return;
        }
        CheckCreature(lines, sample + 2);
    }

    // ------------------------------------------------------------ references

    void Unresolved(int line, const std::string& field, std::string_view name,
                    const TitleIndex& index, const char* what)
    {
        if (index.complete)
            Fail(line, field + ": " + Quoted(name) + " is not " + what);
        else
            Note(line, field + ": " + Quoted(name) + " is not " + what + " yet (" + index.name +
                           " is incomplete)");
    }

    // Keeps a name, a run of the line, that resolved to a title of the index.
    // Not kept: a special attack or quality that only its own paragraph in
    // the entry describes, and a synergy's bare name that stands for a family
    // of titles ("Knowledge checks"); neither names a title.
    void Resolved(int line, std::string_view name, const TitleIndex& index)
    {
        report.references.push_back(ResolvedReference{entry->file, line, entry->title,
                                                      std::string(entryFolder), std::string(name),
                                                      index.folder});
    }

    void CheckCreatureSkills(const BodyLine& field)
    {
        if (field.line == 0 || field.text == emDash)
            return;
        for (const std::string_view item : SplitList(field.text, ',')) {
            const std::string_view name = BeforeModifier(item);
            if (name.size() == item.size() || name.empty()) {
                Fail(field.line, "Skills: " + Quoted(item) + " is not a skill and a modifier");
                continue;
            }
            if (!Resolves(skills, name))
                Unresolved(field.line, "Skills", name, skills, "a skill");
            else
                Resolved(field.line, TitlePart(skills, name), skills);
        }
    }

    void CheckCreatureFeats(const BodyLine& field)
    {
        if (field.line == 0 || field.text == emDash)
            return;
        for (const std::string_view name : SplitList(field.text, ',')) {
            if (!Resolves(feats, name))
                Unresolved(field.line, "Feats", name, feats, "a feat");
            else
                Resolved(field.line, TitlePart(feats, name), feats);
        }
    }

    // Each special attack or quality is a special ability (named in lower
    // case with its figures after it), a spell, or described by its own
    // paragraph in the entry. "immunity to ..." and "resistance to ..."
    // stand for Immunities and Energy Resistance; the items after them that
    // resolve to nothing continue their list ("immunity to sleep,
    // paralysis").
    void CheckSpecialList(const std::string& label, const BodyLine& field,
                          const std::set<std::string>& described)
    {
        if (field.line == 0 || field.text == emDash)
            return;
        bool continuing = false;
        for (const std::string_view item : SplitList(field.text, ',')) {
            const std::string name = SpecialName(item);
            if (name.empty())
                continue;
            const std::string folded = Folded(name);
            std::string stands;
            if (StartsWith(folded, "immunity to ") || StartsWith(folded, "immune to "))
                stands = "immunities";
            else if (StartsWith(folded, "resistance to "))
                stands = "energy resistance";
            if (!stands.empty()) {
                continuing = true;
                const bool titled = specialAbilities.folded.count(stands) > 0;
                if (!titled && described.count(folded) == 0)
                    Unresolved(field.line, label,
                               stands == "immunities" ? "Immunities" : "Energy Resistance",
                               specialAbilities, "a special ability");
                else if (titled)
                    Resolved(field.line, WrittenAs(item, name.substr(0, folded.find(" to") + 3)),
                             specialAbilities);
                continue;
            }
            const TitleIndex* index = specialAbilities.folded.count(folded) > 0 ? &specialAbilities
                                      : spells.folded.count(folded) > 0         ? &spells
                                                                                : nullptr;
            if (index || described.count(folded) > 0) {
                continuing = false;
                if (index)
                    Resolved(field.line, WrittenAs(item, name), *index);
                continue;
            }
            if (continuing)
                continue;
            if (specialAbilities.complete)
                Fail(field.line,
                     label + ": " + Quoted(name) +
                         " is neither a special ability nor described in this entry by a " +
                         Quoted(name + ":") + " paragraph");
            else
                Note(field.line,
                     label + ": " + Quoted(name) +
                         " is not a special ability yet and not described in this entry (" +
                         specialAbilities.name + " is incomplete)");
        }
    }

    void CheckSpellLikeAbilities(const BodyLine& paragraph)
    {
        for (const std::string_view item : SpellLikeAbilityItems(paragraph.text)) {
            const std::string_view name = BeforeParenthesis(item);
            if (spells.titles.count(std::string(name)) == 0)
                Unresolved(paragraph.line, "Spell-Like Abilities", name, spells, "a spell");
            else  // "Unravel Magic (Greater)" is a spell of its own, not a note
                Resolved(paragraph.line, TitlePart(spells, item), spells);
        }
    }

    // Ability scores and conditions in lower case pass; "Ride 1 rank" names
    // a skill; a capitalised name names a feat, skill or special ability.
    void CheckPrerequisites(const BodyLine& field)
    {
        if (field.text == emDash)
            return;
        for (std::string_view item : SplitList(field.text, ',')) {
            while (!item.empty() && item.back() == '.')
                item.remove_suffix(1);
            const std::vector<std::string_view> words = Words(item);
            if (words.size() == 2 && abilityAbbreviations.count(words[0]) > 0 && IsFigure(words[1]))
                continue;
            if (words.size() >= 3 && IsFigure(words[words.size() - 2]) &&
                (words.back() == "rank" || words.back() == "ranks")) {
                const std::string_view skill = Trim(item.substr(
                    0, static_cast<std::size_t>(words[words.size() - 2].data() - item.data())));
                if (!Resolves(skills, skill))
                    Unresolved(field.line, "Prerequisites", skill, skills, "a skill");
                else
                    Resolved(field.line, TitlePart(skills, skill), skills);
                continue;
            }
            if (!IsTitleLike(item))
                continue;
            const TitleIndex* resolved = nullptr;
            for (const TitleIndex* index : {&feats, &skills, &specialAbilities}) {
                if (!resolved && Resolves(*index, item))
                    resolved = index;
            }
            if (resolved) {
                Resolved(field.line, TitlePart(*resolved, item), *resolved);
                continue;
            }
            const bool complete = feats.complete && skills.complete && specialAbilities.complete;
            if (complete)
                Fail(field.line,
                     "Prerequisites: " + Quoted(item) + " is not a feat, skill or special ability");
            else
                Note(field.line, "Prerequisites: " + Quoted(item) +
                                     " is not a feat, skill or special ability yet");
        }
    }

    void CheckSynergy(const BodyLine& paragraph)
    {
        for (const std::string_view name : SynergySkillNames(paragraph.text))
            CheckSynergyName(paragraph.line, name);
    }

    void CheckSynergyName(int line, std::string_view phrase)
    {
        std::vector<std::string_view> words = Words(phrase);
        // A sentence may open with the skill's name or with another word.
        for (std::size_t first = 0; first < words.size(); ++first) {
            const std::string_view tail =
                phrase.substr(static_cast<std::size_t>(words[first].data() - phrase.data()));
            if (Resolves(skills, tail, true)) {
                const std::string_view title = TitlePart(skills, tail);
                if (!title.empty())
                    Resolved(line, title, skills);
                return;
            }
        }
        while (words.size() > 1 && sentenceOpeners.count(words[0]) > 0)
            words.erase(words.begin());
        const std::string_view name =
            phrase.substr(static_cast<std::size_t>(words[0].data() - phrase.data()));
        if (checksThatAreNoSkills.count(words[0]) > 0 || sentenceOpeners.count(name) > 0)
            return;
        Unresolved(line, "Synergy", name, skills, "a skill");
    }

    // ------------------------------------------------------------ categories

    void IndexTitles(TitleIndex& index, std::string_view folder)
    {
        for (const SourceCategory& category : categories) {
            if (category.folder != folder)
                continue;
            index.present = true;
            index.name = Utf8(category.name);
            index.folder = category.folder;
            for (const SourceEntry& each : category.entries) {
                index.titles.insert(each.title);
                index.folded.insert(Folded(each.title));
            }
        }
        for (const CategoryTarget& target : targets) {
            if (target.folder == folder)
                index.complete = target.complete;
        }
        if (!index.present)
            index.name = std::string(folder);
        index.complete = index.complete && index.present;
    }

    const CategoryTarget* TargetOf(const std::string& folder) const
    {
        for (const CategoryTarget& target : targets) {
            if (target.folder == folder)
                return &target;
        }
        return nullptr;
    }

    void CheckCounts()
    {
        const std::string targetsFile = targets.empty() ? "targets.txt" : targets.front().file;
        for (const SourceCategory& category : categories) {
            const int count = static_cast<int>(category.entries.size());
            report.entries += count;
            const CategoryTarget* target = TargetOf(category.folder);
            if (!target) {
                Add(targetsFile, 0,
                    "no target for the category in folder " + Quoted(category.folder), true);
                report.progress.push_back(CategoryProgress{Utf8(category.name), count, 0, false});
                continue;
            }
            report.progress.push_back(
                CategoryProgress{Utf8(category.name), count, target->target, target->complete});
            if (count > target->target)
                Add(target->file, target->line,
                    Utf8(category.name) + " holds " + std::to_string(count) +
                        " entries, more than its target of " + std::to_string(target->target),
                    true);
            else if (target->complete && count < target->target)
                Add(target->file, target->line,
                    Utf8(category.name) + " is marked complete but holds " + std::to_string(count) +
                        " of its " + std::to_string(target->target) + " entries",
                    true);
        }
        for (const CategoryTarget& target : targets) {
            const bool found =
                std::any_of(categories.begin(), categories.end(),
                            [&](const SourceCategory& c) { return c.folder == target.folder; });
            if (!found)
                Add(target.file, target.line, "no category has the folder " + Quoted(target.folder),
                    true);
        }
    }

    void CheckDuplicateTitles(const SourceCategory& category)
    {
        const CategoryTarget* target = TargetOf(category.folder);
        const std::string pair = target ? target->pairTitle : std::string();
        std::map<std::string, std::vector<const SourceEntry*>> byTitle;
        for (const SourceEntry& each : category.entries)
            byTitle[Folded(each.title)].push_back(&each);
        for (const auto& [folded, entries] : byTitle) {
            const bool isPair = !pair.empty() && entries.size() >= 2 && entries[0]->title == pair &&
                                entries[1]->title == pair;
            for (std::size_t i = isPair ? 2 : 1; i < entries.size(); ++i)
                Add(entries[i]->file, entries[i]->line,
                    "title " + Quoted(entries[i]->title) + " is already used at " +
                        entries[0]->file + ":" + std::to_string(entries[0]->line),
                    true);
        }
        if (!pair.empty()) {
            const auto found = byTitle.find(Folded(pair));
            const std::size_t count = found == byTitle.end() ? 0 : found->second.size();
            if (count < 2)
                Add(target->file, target->line,
                    "expected two entries titled " + Quoted(pair) + ", found " +
                        std::to_string(count),
                    target->complete);
        }
    }

    void CheckEntries(const SourceCategory& category)
    {
        const Layout layout = LayoutFor(category.folder);
        if (layout == Layout::none) {
            const CategoryTarget* target = TargetOf(category.folder);
            if (target)
                Add(target->file, target->line,
                    "no field layout for the folder " + Quoted(category.folder), true);
            return;
        }
        entryFolder = category.folder;
        for (const SourceEntry& each : category.entries) {
            entry = &each;
            const std::vector<BodyLine> lines = LinesOf(each);
            CheckTableTabs(lines);
            switch (layout) {
            case Layout::spell:
                CheckSpell(lines);
                break;
            case Layout::skill:
                CheckSkill(lines);
                break;
            case Layout::feat:
                CheckFeat(lines);
                break;
            case Layout::specialAbility:
                CheckSpecialAbility(lines);
                break;
            case Layout::creature:
                CheckCreature(lines, 0);
                break;
            case Layout::creatureTemplate:
                CheckTemplate(lines);
                break;
            case Layout::none:
                break;
            }
        }
        entry = nullptr;
    }

    // ------------------------------------------------------------ tables

    // "Label:<tab>" alone: the field layouts report the missing value.
    static bool IsEmptyField(std::string_view text)
    {
        return text.size() >= 2 && text.substr(text.size() - 2) == ":\t" &&
               text.find('\t') == text.size() - 1;
    }

    // The reading view lines up a table's columns itself, one tab between
    // two cells: a tab that only pads (two in a row, or one at either end of
    // a line) would make an empty cell and push the row out of line.
    void CheckTableTabs(const std::vector<BodyLine>& lines)
    {
        for (const BodyLine& line : lines) {
            const std::string_view text = line.text;
            if (text.find("\t\t") != std::string_view::npos)
                Fail(line.line, "two tabs in a row; write one tab between two cells");
            else if (!text.empty() && (text.back() == '\t' || text.front() == '\t') &&
                     !IsEmptyField(text))
                Fail(line.line, "a tab at the end or start of a line; tabs go between two cells");
        }
    }

    // ------------------------------------------------------------ copies

    struct Paragraph {
        const SourceEntry* entry;
        int line;
        std::vector<std::string_view> words;
    };

    // Finds every paragraph of copiedParagraphWords words or more that occurs
    // whole, word for word, inside a paragraph of another entry.
    void CheckCopiedParagraphs()
    {
        std::vector<Paragraph> paragraphs;
        for (const SourceCategory& category : categories) {
            for (const SourceEntry& each : category.entries) {
                for (const BodyLine& line : LinesOf(each)) {
                    std::vector<std::string_view> words = Words(line.text);
                    if (words.size() >= copiedParagraphWords && !IsWordedTraits(line.text))
                        paragraphs.push_back(Paragraph{&each, line.line, std::move(words)});
                }
            }
        }
        std::unordered_map<std::size_t, std::vector<std::pair<std::size_t, std::size_t>>> windows;
        for (std::size_t p = 0; p < paragraphs.size(); ++p) {
            for (std::size_t start = 0; start + copiedParagraphWords <= paragraphs[p].words.size();
                 ++start)
                windows[WindowHash(paragraphs[p].words, start)].emplace_back(p, start);
        }
        for (std::size_t p = 0; p < paragraphs.size(); ++p) {
            const Paragraph& copy = paragraphs[p];
            std::string places;
            bool reportedEarlier = false;
            std::set<std::size_t> seen;
            for (const auto& [q, start] : windows[WindowHash(copy.words, 0)]) {
                const Paragraph& other = paragraphs[q];
                if (other.entry == copy.entry || seen.count(q) > 0 ||
                    other.words.size() - start < copy.words.size() ||
                    !std::equal(copy.words.begin(), copy.words.end(),
                                other.words.begin() + static_cast<std::ptrdiff_t>(start)))
                    continue;
                seen.insert(q);
                // Equal paragraphs are one finding, reported at the first of them.
                if (other.words.size() == copy.words.size() && q < p)
                    reportedEarlier = true;
                places += (places.empty() ? "" : ", ") + Quoted(other.entry->title) + " (" +
                          other.entry->file + ":" + std::to_string(other.line) + ")";
            }
            if (!places.empty() && !reportedEarlier)
                Add(copy.entry->file, copy.line,
                    "paragraph of " + std::to_string(copy.words.size()) + " words also occurs in " +
                        places,
                    true);
        }
    }

    ContentReport Run()
    {
        IndexTitles(spells, "spells");
        IndexTitles(skills, "skills");
        IndexTitles(feats, "feats");
        IndexTitles(specialAbilities, "special-abilities");
        IndexTitles(monsters, "monsters");
        IndexTitles(animals, "animals-vermin");
        CheckCounts();
        for (const SourceCategory& category : categories) {
            CheckDuplicateTitles(category);
            CheckEntries(category);
        }
        CheckCopiedParagraphs();
        SortFindings(report.findings);
        return report;
    }
};

// "file:line: problem" as the packer writes it; the file stands alone when
// no line number follows it.
CheckFinding FindingFromPackerError(const std::string& error)
{
    CheckFinding finding;
    for (std::size_t colon = error.find(':'); colon != std::string::npos;
         colon = error.find(':', colon + 1)) {
        std::size_t digits = colon + 1;
        while (digits < error.size() && IsDigit(error[digits]))
            ++digits;
        if (digits > colon + 1 && error.compare(digits, 2, ": ") == 0) {
            finding.file = error.substr(0, colon);
            finding.line = std::stoi(error.substr(colon + 1, digits - colon - 1));
            finding.text = error.substr(digits + 2);
            return finding;
        }
    }
    const std::size_t colon = error.rfind(": ");
    finding.file = colon == std::string::npos ? std::string() : error.substr(0, colon);
    finding.text = colon == std::string::npos ? error : error.substr(colon + 2);
    return finding;
}

// A line of a list file (targets.txt, creature-traits.txt) split at its
// tabs; empty lines and comments are left out.
struct ListLine {
    int number = 0;
    std::vector<std::string_view> columns;
};

std::vector<ListLine> ListLines(std::string_view utf8)
{
    std::vector<ListLine> lines;
    int number = 0;
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos)
            end = utf8.size();
        std::string_view line = utf8.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        ListLine listLine;
        listLine.number = number;
        for (std::size_t from = 0;;) {
            const std::size_t tab = line.find('\t', from);
            listLine.columns.push_back(
                line.substr(from, tab == std::string_view::npos ? tab : tab - from));
            if (tab == std::string_view::npos)
                break;
            from = tab + 1;
        }
        lines.push_back(std::move(listLine));
    }
    return lines;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

}  // namespace

int ContentReport::Failures() const
{
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [](const CheckFinding& f) { return f.failure; }));
}

int ContentReport::Notes() const
{
    return static_cast<int>(findings.size()) - Failures();
}

void ParseTargetList(std::string_view utf8, const std::string& fileName,
                     std::vector<CategoryTarget>& targets, std::vector<std::string>& errors)
{
    for (const auto& [number, columns] : ListLines(utf8)) {
        const std::string where = fileName + ":" + std::to_string(number) + ": ";
        CategoryTarget target;
        target.file = fileName;
        target.line = number;
        const bool digits = !columns.empty() && columns.size() >= 2 && !columns[1].empty() &&
                            columns[1].size() <= 6 &&
                            std::all_of(columns[1].begin(), columns[1].end(), IsDigit);
        if (columns.size() < 3 || columns.size() > 4 || columns[0].empty() || !digits ||
            (columns[2] != "complete" && columns[2] != "incomplete")) {
            errors.push_back(where + "expected a folder, a tab, a number of entries, a tab and "
                                     "'complete' or 'incomplete' (and a tab and a title that two "
                                     "entries share)");
            continue;
        }
        target.folder = std::string(columns[0]);
        target.target = std::stoi(std::string(columns[1]));
        target.complete = columns[2] == "complete";
        if (columns.size() == 4) {
            std::string problem;
            if (!ConvertUtf8ToCp1252(columns[3], target.pairTitle, problem) ||
                target.pairTitle.empty()) {
                errors.push_back(where + (problem.empty() ? "empty title" : problem));
                continue;
            }
        }
        targets.push_back(target);
    }
}

void ParseCreatureTraits(std::string_view utf8, const std::string& fileName,
                         std::vector<CreatureTraits>& traits, std::vector<std::string>& errors)
{
    std::map<std::string, int> firstLines;
    for (const auto& [number, columns] : ListLines(utf8)) {
        const std::string where = fileName + ":" + std::to_string(number) + ": ";
        if (columns.size() != 2 || columns[0].empty() || columns[1].empty()) {
            errors.push_back(where +
                             "expected a creature type, a tab and the wording of its traits");
            continue;
        }
        CreatureTraits each;
        each.file = fileName;
        each.line = number;
        std::string problem;
        if (!ConvertUtf8ToCp1252(columns[0], each.type, problem) ||
            !ConvertUtf8ToCp1252(columns[1], each.wording, problem)) {
            errors.push_back(where + problem);
            continue;
        }
        const auto [first, isNew] = firstLines.emplace(each.type, number);
        if (!isNew) {
            errors.push_back(where + "the traits of " + Quoted(each.type) +
                             " are already worded at line " + std::to_string(first->second));
            continue;
        }
        traits.push_back(std::move(each));
    }
}

ContentReport CheckContent(const std::vector<SourceCategory>& categories,
                           const std::vector<CategoryTarget>& targets,
                           const std::vector<CreatureTraits>& traits)
{
    Checker checker(categories, targets, traits);
    return checker.Run();
}

ContentReport CheckContentTree(const std::filesystem::path& root)
{
    std::vector<std::string> errors;
    std::vector<CategoryTarget> targets;
    const std::filesystem::path targetsPath = root / "targets.txt";
    std::string text;
    if (ReadWholeFile(targetsPath, text))
        ParseTargetList(text, targetsPath.string(), targets, errors);
    else
        errors.push_back(targetsPath.string() + ": cannot be read");
    // A tree without creatures needs no traits; without the file, every
    // "<Type> Traits:" paragraph is reported as naming no worded type.
    std::vector<CreatureTraits> traits;
    const std::filesystem::path traitsPath = root / "creature-traits.txt";
    if (std::filesystem::exists(traitsPath)) {
        if (ReadWholeFile(traitsPath, text))
            ParseCreatureTraits(text, traitsPath.string(), traits, errors);
        else
            errors.push_back(traitsPath.string() + ": cannot be read");
    }
    std::vector<SourceCategory> categories;
    ReadContentTree(root, categories, errors);
    ContentReport report = CheckContent(categories, targets, traits);
    for (const std::string& error : errors)
        report.findings.push_back(FindingFromPackerError(error));
    SortFindings(report.findings);
    return report;
}

std::string FormatFinding(const CheckFinding& finding)
{
    std::string text = finding.file;
    if (finding.line > 0)
        text += ":" + std::to_string(finding.line);
    return text + ": " + (finding.failure ? "" : "note: ") + finding.text;
}
