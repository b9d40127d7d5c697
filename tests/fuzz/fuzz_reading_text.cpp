// libFuzzer target: the reading view's text work on any bytes. The input is
// titles, a NUL, then a body up to the next NUL (no body holds one). Titles
// are one a line, an empty line starting the next category; categories take
// the names the structured fields know, in turn. The links found must lie in
// the body in order without overlapping, each a whole word naming its target
// (or an alias word), never the entry itself; the table stops must go
// rightwards.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "pane/link_finder.h"
#include "pane/table_plan.h"
#include "pane/word_match.h"

namespace {

const char* const categoryNames[] = {"Spells", "Skills", "Feats", "Special Abilities", "Monsters"};
const char* const aliasWords[] = {"immunity to", "immune to", "resistance to"};

TitleSet ReadTitles(std::string_view text)
{
    TitleSet set;
    set.titles.emplace_back();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view title = text.substr(start, std::min<std::size_t>(end - start, 259));
        if (title.empty())
            set.titles.emplace_back();
        else
            set.titles.back().emplace_back(title);
        start = end + 1;
    }
    for (std::size_t c = 0; c < set.titles.size(); ++c)
        set.categoryNames.emplace_back(
            categoryNames[c % (sizeof categoryNames / sizeof categoryNames[0])]);
    return set;
}

bool IsWordByte(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

bool NamesItsTarget(const TitleSet& set, std::string_view text, const EntryRef& target)
{
    if (target.category < 0 || static_cast<std::size_t>(target.category) >= set.titles.size())
        return false;
    const auto& titles = set.titles[static_cast<std::size_t>(target.category)];
    if (target.entry < 0 || static_cast<std::size_t>(target.entry) >= titles.size())
        return false;
    for (const char* alias : aliasWords) {
        if (text.size() == std::strlen(alias) &&
            EqualFoldingAsciiLetters(text.data(), alias, text.size()))
            return true;
    }
    const std::string& title = titles[static_cast<std::size_t>(target.entry)];
    return title.size() == text.size() &&
           EqualFoldingAsciiLetters(title.data(), text.data(), text.size());
}

void CheckLinks(const TitleSet& set, std::string_view body)
{
    LinkFinder finder;
    finder.Build(set);
    const int ownCategory = static_cast<int>(body.size() % set.titles.size());
    const int ownEntry = set.titles[static_cast<std::size_t>(ownCategory)].empty() ? -1 : 0;
    std::size_t done = 0;
    for (const FoundLink& link : finder.FindLinks(ownCategory, ownEntry, body)) {
        if (link.length == 0 || link.begin < done || link.begin + link.length > body.size())
            std::abort();
        const std::string_view text = body.substr(link.begin, link.length);
        if (!NamesItsTarget(set, text, link.target))
            std::abort();
        if (link.target.category == ownCategory && link.target.entry == ownEntry)
            std::abort();
        if ((link.begin > 0 && IsWordByte(static_cast<unsigned char>(body[link.begin - 1]))) ||
            (link.begin + link.length < body.size() &&
             IsWordByte(static_cast<unsigned char>(body[link.begin + link.length]))))
            std::abort();
        done = link.begin + link.length;
    }
}

void CheckTables(std::string_view body)
{
    const int gap = body.empty() ? 1 : static_cast<unsigned char>(body[0]) % 4;
    const auto length = [](std::string_view cell) { return static_cast<int>(cell.size()); };
    std::size_t nextLine = 0;
    for (const BodyTable& table : PlanBodyTables(body, length, gap)) {
        if (table.firstLine < nextLine || table.lineCount == 0)
            std::abort();
        nextLine = table.firstLine + table.lineCount;
        int previous = 0;
        for (const int stop : table.stops) {
            if (gap > 0 ? stop <= previous : stop < previous)
                std::abort();
            previous = stop;
        }
    }
    if (nextLine > SplitBodyLines(body).size())
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    // A copy of exactly size bytes, so AddressSanitizer sees any read past them.
    const std::vector<char> bytes(data, data + size);
    const std::string_view input(bytes.data(), bytes.size());
    const std::size_t nul = input.find('\0');
    if (nul == std::string_view::npos)
        return 0;
    std::string_view body = input.substr(nul + 1);
    body = body.substr(0, body.find('\0'));
    CheckLinks(ReadTitles(input.substr(0, nul)), body);
    CheckTables(body);
    return 0;
}
