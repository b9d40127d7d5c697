// Looking up what the command line names: see entry_lookup.h.
#include "terminal/entry_lookup.h"

#include <algorithm>
#include <cstring>

#include "data/rules_image.h"
#include "pane/word_match.h"
#include "terminal/text_output.h"
#include "tools/packer/cp1252.h"

namespace {

// Texts farther apart than this many edits (or a third of the text's length,
// where that is more) are not close.
constexpr std::size_t fewestEditsAllowed = 2;
// Titles are shorter than this; a longer text is close to none by edits.
constexpr std::size_t longestTitle = 260;

unsigned char Folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

bool EqualFolded(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && EqualFoldingAsciiLetters(a.data(), b.data(), a.size());
}

// The edits (insertions, deletions, replacements) between two texts, folding
// A to Z; any count above limit is reported as limit + 1.
std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit)
{
    const std::size_t difference = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (difference > limit)
        return limit + 1;
    std::vector<std::size_t> previous(b.size() + 1);
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t replace = previous[j - 1] + (Folded(a[i - 1]) != Folded(b[j - 1]));
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, replace});
        }
        std::swap(previous, row);
    }
    return std::min(previous[b.size()], limit + 1);
}

struct Candidate {
    std::size_t distance;
    EntryRef entry;
};

} // namespace

std::string ArgumentAsImageText(const std::string& argument)
{
    std::string text;
    if (ConvertUtf8ToCp1252Substituting(argument, '\0', text))
        return text;
    return argument;
}

std::string ArgumentAsShown(const std::string& argument)
{
    std::string text;
    if (!ConvertUtf8ToCp1252Substituting(argument, '?', text))
        text = argument;
    return ShownText(text);
}

int FindCategoryNamed(const std::string& name)
{
    const std::string text = ArgumentAsImageText(name);
    int beginning = -1;
    int beginningCount = 0;
    for (int c = 0; c < GetCategoryCount(); ++c) {
        const std::string_view category = GetCategoryName(c);
        if (EqualFolded(category, text))
            return c;
        if (!text.empty() && EqualFolded(category.substr(0, text.size()), text)) {
            beginning = c;
            ++beginningCount;
        }
    }
    return beginningCount == 1 ? beginning : -1;
}

std::vector<EntryRef> FindEntriesTitled(std::string_view title, int category)
{
    std::vector<EntryRef> found;
    for (int c = 0; c < GetCategoryCount(); ++c) {
        if (category >= 0 && c != category)
            continue;
        for (int e = 0; e < GetEntryCount(c); ++e) {
            if (EqualFolded(GetEntryTitle(c, e), title))
                found.push_back(EntryRef{c, e});
        }
    }
    return found;
}

std::vector<EntryRef> ClosestTitles(std::string_view text, int category, std::size_t count)
{
    std::vector<Candidate> candidates;
    if (text.empty())
        return {};
    const std::size_t limit = std::max(fewestEditsAllowed, text.size() / 3);
    for (int c = 0; c < GetCategoryCount(); ++c) {
        if (category >= 0 && c != category)
            continue;
        for (int e = 0; e < GetEntryCount(c); ++e) {
            const char* title = GetEntryTitle(c, e);
            const std::size_t length = std::strlen(title);
            // Twins are one suggestion.
            if (e > 0 && std::strcmp(title, GetEntryTitle(c, e - 1)) == 0)
                continue;
            const bool holds = TextHasWord(title, length, text.data(), text.size());
            const std::size_t distance =
                holds ? length - text.size()
                : text.size() <= longestTitle
                    ? EditDistance(text, std::string_view(title, length), limit)
                    : limit + 1;
            if (holds || distance <= limit)
                candidates.push_back(Candidate{distance, EntryRef{c, e}});
        }
    }
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const Candidate& a, const Candidate& b) { return a.distance < b.distance; });
    std::vector<EntryRef> closest;
    for (std::size_t k = 0; k < candidates.size() && k < count; ++k)
        closest.push_back(candidates[k].entry);
    return closest;
}
