// Finds entry names in a body: see link_finder.h.
//
// One Aho-Corasick automaton over every title, folded A-Z to a-z, finds in a
// single pass over a line every run that could be a mention, whatever its
// case. The case rule, the whole-word rule and the entry's own title then
// decide which runs are mentions, and a longest-first greedy pass picks the
// links among them.
#include "pane/link_finder.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <unordered_map>
#include <utility>

#include "data/rules_image.h"
#include "pane/table_plan.h"

namespace {

constexpr int root = 0;
constexpr int none = -1;

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

unsigned char FoldAsciiLetter(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

std::string Folded(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded)
        c = static_cast<char>(FoldAsciiLetter(Byte(c)));
    return folded;
}

// Letters and digits join a mention to its neighbours; so do the Latin
// letters from 0xC0 up, but not the multiplication and division signs among
// them.
bool IsWordByte(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

// The capitals of Windows-1252: A to Z, the accented ones, and Š, Œ, Ž, Ÿ.
bool IsCapital(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x8A ||
           c == 0x8C || c == 0x8E || c == 0x9F;
}

// A category holding a title, with its first entry of that title.
struct Holding {
    int category = none;
    int entry = none;
};

// One exact spelling of a folded title and the categories that hold it.
struct Spelling {
    std::string text;
    std::vector<Holding> holdings;  // ascending category
};

// What one node of the automaton ends: a title folded, how each category
// holds it, and, for the alias words of the "Special" fields, their target.
struct Pattern {
    std::string folded;
    std::vector<Holding> holdings;    // by the folded title, ascending category
    std::vector<Spelling> spellings;  // ascending text
    EntryRef alias;
};

// A node of the automaton. Its edges lie together in the edge arrays, in
// ascending byte order, so that a node costs a few words however many titles
// pass through it.
struct Node {
    int firstEdge = 0;
    int edgeCount = 0;
    int fail = root;
    int pattern = none;     // the pattern this node ends
    int nextOutput = none;  // the nearest node down the fail chain that ends one
    int table = none;       // the node's row of whole transitions, if it has one
};

// A line that starts with a label is a structured field; its value may name
// entries of these categories without regard to case.
struct FieldLabel {
    std::string_view label;
    bool takesAliases;
    const char* categories[3];
};

const FieldLabel fieldLabels[] = {
    {"Skills:\t", false, {"Skills"}},
    {"Synergy: ", false, {"Skills"}},
    {"Feats:\t", false, {"Feats"}},
    {"Prerequisites:\t", false, {"Feats", "Skills", "Special Abilities"}},
    {"Special Attacks:\t", true, {"Special Abilities", "Spells"}},
    {"Special Qualities:\t", true, {"Special Abilities", "Spells"}},
    {"Spell-Like Abilities: ", false, {"Spells"}},
};
constexpr std::size_t fieldLabelCount = sizeof fieldLabels / sizeof fieldLabels[0];

const char aliasCategory[] = "Special Abilities";
const std::pair<const char*, const char*> aliasWords[] = {
    {"immunity to", "Immunities"},
    {"immune to", "Immunities"},
    {"resistance to", "Energy Resistance"},
};

// The entry whose body is read.
struct Reader {
    int category;
    int entry;
    std::string_view title;  // empty for an entry the finder does not know
};

// A run of a line that may become a link.
struct Mention {
    std::size_t begin = 0;
    std::size_t length = 0;
    EntryRef target;
};

// Spans of a line no link may touch: where the entry names itself.
class ReservedSpans {
public:
    void Reset()
    {
        spans.clear();
        covered.clear();
    }
    void Add(std::size_t begin, std::size_t end) { spans.emplace_back(begin, end); }

    // Counts covered bytes up to each position, so a test costs two reads.
    void Seal(std::size_t lineLength)
    {
        if (spans.empty())
            return;
        std::vector<int> opened(lineLength + 1, 0);
        for (const auto& span : spans) {
            ++opened[span.first];
            --opened[span.second];
        }
        covered.assign(lineLength + 1, 0);
        int open = 0;
        for (std::size_t i = 0; i < lineLength; ++i) {
            open += opened[i];
            covered[i + 1] = covered[i] + (open > 0 ? 1 : 0);
        }
    }

    bool Touches(std::size_t begin, std::size_t end) const
    {
        return !covered.empty() && covered[end] != covered[begin];
    }

private:
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::vector<std::size_t> covered;
};

// The category's holding, if any: holdings are in category order.
const Holding* FindHolding(const std::vector<Holding>& holdings, int category)
{
    const auto at = std::lower_bound(
        holdings.begin(), holdings.end(), category,
        [](const Holding& holding, int wanted) { return holding.category < wanted; });
    return at != holdings.end() && at->category == category ? &*at : nullptr;
}

void AddHolding(std::vector<Holding>& holdings, int category, int entry)
{
    // Categories come in order and entries within them, so the first entry
    // of a category is the one kept.
    if (holdings.empty() || holdings.back().category != category)
        holdings.push_back({category, entry});
}

}  // namespace

struct LinkFinder::Impl {
    std::vector<std::vector<std::string>> titles;
    std::vector<Pattern> patterns;
    std::vector<Node> nodes;
    std::vector<unsigned char> edgeBytes;
    std::vector<int> edgeTargets;
    // Rows of 256 transitions, failures followed, for the root and the nodes
    // one byte deep: prose keeps falling back to them, so their steps are
    // one read instead of a search per fail link.
    std::vector<int> tables;
    std::vector<int> fieldCategories[fieldLabelCount];

    int FindEdge(int node, unsigned char byte) const;
    int Step(int node, unsigned char byte) const;
    void CollectPatterns();
    Pattern* FindPattern(std::string_view folded);
    void AddAliases(const TitleSet& set);
    void BuildTrie();
    void LinkFailures();
    void AddTables();
    void NameFieldCategories(const TitleSet& set);
    bool Resolve(const Pattern& pattern, std::string_view text, int fieldIndex, int ownCategory,
                 EntryRef* target) const;
    std::string_view TitleOf(int category, int entry) const;
    void ScanLine(std::string_view line, const Reader& reader, std::vector<Mention>& mentions,
                  ReservedSpans& reserved) const;
};

namespace {

int CategoryNamed(const TitleSet& set, std::string_view name)
{
    for (std::size_t c = 0; c < set.categoryNames.size(); ++c) {
        if (set.categoryNames[c] == name)
            return static_cast<int>(c);
    }
    return none;
}

// Prefers the entry's own category, then the earlier category, then the
// earlier entry.
bool IsPreferred(const Holding& a, const Holding& b, int ownCategory)
{
    const auto rank = [ownCategory](const Holding& h) {
        return h.category == ownCategory ? -1 : h.category;
    };
    if (rank(a) != rank(b))
        return rank(a) < rank(b);
    return a.entry < b.entry;
}

void Prefer(const Holding* candidate, int ownCategory, Holding& chosen)
{
    if (candidate != nullptr &&
        (chosen.category == none || IsPreferred(*candidate, chosen, ownCategory)))
        chosen = *candidate;
}

const Spelling* FindSpelling(const Pattern& pattern, std::string_view text)
{
    const auto at = std::lower_bound(
        pattern.spellings.begin(), pattern.spellings.end(), text,
        [](const Spelling& spelling, std::string_view wanted) { return spelling.text < wanted; });
    return at != pattern.spellings.end() && at->text == text ? &*at : nullptr;
}

// The alias words link whatever the case of their first letter, but only
// with the rest in lower case, as the stat blocks write them.
bool IsAliasWriting(const Pattern& pattern, std::string_view text)
{
    return text.substr(1) == std::string_view(pattern.folded).substr(1);
}

bool IsWholeWord(std::string_view line, std::size_t begin, std::size_t end)
{
    return (begin == 0 || !IsWordByte(Byte(line[begin - 1]))) &&
           (end == line.size() || !IsWordByte(Byte(line[end])));
}

// The field whose label starts the line, or none.
int FieldOf(std::string_view line)
{
    for (std::size_t f = 0; f < fieldLabelCount; ++f) {
        if (line.substr(0, fieldLabels[f].label.size()) == fieldLabels[f].label)
            return static_cast<int>(f);
    }
    return none;
}

// Where the value starts after the line's label: a structured field's, or
// any field's ("Spell Resistance:<tab>Yes"), whose label names the field, not
// an entry. 0 for a line without one.
std::size_t ValueStart(std::string_view line, int fieldIndex)
{
    if (fieldIndex != none)
        return fieldLabels[fieldIndex].label.size();
    const std::size_t tab = line.find('\t');
    return tab != std::string_view::npos && tab > 0 && line[tab - 1] == ':' ? tab + 1 : 0;
}

// Longest first, then earliest; each taken unless it overlaps one already
// taken. The taken ones are kept by position, so each test is logarithmic.
void PickLinks(std::vector<Mention>& mentions, const ReservedSpans& reserved,
               std::size_t lineOffset, std::vector<FoundLink>& links)
{
    std::sort(mentions.begin(), mentions.end(), [](const Mention& a, const Mention& b) {
        return a.length != b.length ? a.length > b.length : a.begin < b.begin;
    });
    std::map<std::size_t, const Mention*> taken;
    for (const Mention& mention : mentions) {
        const std::size_t end = mention.begin + mention.length;
        if (reserved.Touches(mention.begin, end))
            continue;
        const auto next = taken.lower_bound(mention.begin);
        if (next != taken.end() && next->first < end)
            continue;
        if (next != taken.begin()) {
            const Mention& before = *std::prev(next)->second;
            if (before.begin + before.length > mention.begin)
                continue;
        }
        taken.emplace_hint(next, mention.begin, &mention);
    }
    for (const auto& link : taken)
        links.push_back({lineOffset + link.first, link.second->length, link.second->target});
}

}  // namespace

int LinkFinder::Impl::FindEdge(int node, unsigned char byte) const
{
    const auto first = edgeBytes.begin() + nodes[node].firstEdge;
    const auto last = first + nodes[node].edgeCount;
    const auto at = std::lower_bound(first, last, byte);
    return at != last && *at == byte ? edgeTargets[at - edgeBytes.begin()] : none;
}

inline int LinkFinder::Impl::Step(int node, unsigned char byte) const
{
    for (;;) {
        const int table = nodes[node].table;
        if (table != none)
            return tables[static_cast<std::size_t>(table) * 256 + byte];
        const int next = FindEdge(node, byte);
        if (next != none)
            return next;
        if (node == root)
            return root;
        node = nodes[node].fail;
    }
}

void LinkFinder::Impl::CollectPatterns()
{
    std::unordered_map<std::string, int> byFolded;
    std::unordered_map<std::string, std::pair<int, int>> byText;  // pattern, spelling
    for (std::size_t c = 0; c < titles.size(); ++c) {
        const int category = static_cast<int>(c);
        for (std::size_t e = 0; e < titles[c].size(); ++e) {
            const std::string& title = titles[c][e];
            if (title.empty())
                continue;
            const int entry = static_cast<int>(e);
            const auto folded = byFolded.emplace(Folded(title), static_cast<int>(patterns.size()));
            if (folded.second)
                patterns.push_back({folded.first->first, {}, {}, {}});
            Pattern& pattern = patterns[folded.first->second];
            AddHolding(pattern.holdings, category, entry);
            const auto spelling =
                byText.emplace(title, std::make_pair(folded.first->second,
                                                     static_cast<int>(pattern.spellings.size())));
            if (spelling.second)
                pattern.spellings.push_back({title, {}});
            AddHolding(pattern.spellings[spelling.first->second.second].holdings, category, entry);
        }
    }
    for (Pattern& pattern : patterns) {
        std::sort(pattern.spellings.begin(), pattern.spellings.end(),
                  [](const Spelling& a, const Spelling& b) { return a.text < b.text; });
    }
}

// A walk over the patterns: only the few alias words use it, while building.
Pattern* LinkFinder::Impl::FindPattern(std::string_view folded)
{
    for (Pattern& pattern : patterns) {
        if (pattern.folded == folded)
            return &pattern;
    }
    return nullptr;
}

void LinkFinder::Impl::AddAliases(const TitleSet& set)
{
    const int category = CategoryNamed(set, aliasCategory);
    for (const auto& alias : aliasWords) {
        const Pattern* title = FindPattern(Folded(alias.second));
        const Holding* holding =
            title != nullptr ? FindHolding(title->holdings, category) : nullptr;
        if (holding == nullptr)
            continue;
        const EntryRef target{holding->category, holding->entry};
        if (Pattern* same = FindPattern(alias.first))
            same->alias = target;
        else
            patterns.push_back({alias.first, {}, {}, target});
    }
}

// Builds the trie breadth first from the folded titles in sorted order: the
// titles below a node form one run of that order, and its children split the
// run by the next byte. So the nodes come out in breadth-first order, each
// node's edges together and sorted, in time linear in the titles' length.
void LinkFinder::Impl::BuildTrie()
{
    std::vector<int> order(patterns.size());
    for (std::size_t p = 0; p < order.size(); ++p)
        order[p] = static_cast<int>(p);
    std::sort(order.begin(), order.end(),
              [this](int a, int b) { return patterns[a].folded < patterns[b].folded; });
    const auto foldedOf = [&](std::size_t k) -> const std::string& {
        return patterns[order[k]].folded;
    };

    struct Run {
        std::size_t first;
        std::size_t last;
        std::size_t depth;
    };
    std::vector<Run> runs{{0, order.size(), 0}};
    nodes.assign(1, Node{});
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        Run run = runs[n];
        if (run.first < run.last && foldedOf(run.first).size() == run.depth)
            nodes[n].pattern = order[run.first++];
        nodes[n].firstEdge = static_cast<int>(edgeBytes.size());
        while (run.first < run.last) {
            const char byte = foldedOf(run.first)[run.depth];
            std::size_t end = run.first;
            while (end < run.last && foldedOf(end)[run.depth] == byte)
                ++end;
            edgeBytes.push_back(Byte(byte));
            edgeTargets.push_back(static_cast<int>(nodes.size()));
            nodes.push_back(Node{});
            runs.push_back({run.first, end, run.depth + 1});
            run.first = end;
        }
        nodes[n].edgeCount = static_cast<int>(edgeBytes.size()) - nodes[n].firstEdge;
    }
}

// Breadth-first order means a node's fail target, being shallower, is done
// before the node's children need it.
void LinkFinder::Impl::LinkFailures()
{
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        for (int k = 0; k < nodes[n].edgeCount; ++k) {
            const std::size_t edge = static_cast<std::size_t>(nodes[n].firstEdge + k);
            Node& child = nodes[edgeTargets[edge]];
            child.fail = n == root ? root : Step(nodes[n].fail, edgeBytes[edge]);
            const Node& fail = nodes[child.fail];
            child.nextOutput = fail.pattern != none ? child.fail : fail.nextOutput;
        }
    }
}

// The root's row first: the rows one byte deep fall back to it.
void LinkFinder::Impl::AddTables()
{
    const auto addRow = [this](int node) {
        const int row = static_cast<int>(tables.size() / 256);
        for (int byte = 0; byte < 256; ++byte) {
            const int next = FindEdge(node, static_cast<unsigned char>(byte));
            tables.push_back(
                next != none ? next : Step(nodes[node].fail, static_cast<unsigned char>(byte)));
        }
        nodes[node].table = row;
    };
    addRow(root);
    for (int k = 0; k < nodes[root].edgeCount; ++k)
        addRow(edgeTargets[k]);
}

// A field whose categories are missing from the set allows nothing extra.
void LinkFinder::Impl::NameFieldCategories(const TitleSet& set)
{
    for (std::size_t f = 0; f < fieldLabelCount; ++f) {
        for (const char* name : fieldLabels[f].categories) {
            const int category = name != nullptr ? CategoryNamed(set, name) : none;
            if (category != none)
                fieldCategories[f].push_back(category);
        }
    }
}

// The entry a run equal to the pattern names, among the titles it may name
// where it stands: any title it spells exactly from a capital, and in a field
// any title of the field's categories. Only a run that names no title may
// stand for an alias word's target.
bool LinkFinder::Impl::Resolve(const Pattern& pattern, std::string_view text, int fieldIndex,
                               int ownCategory, EntryRef* target) const
{
    const FieldLabel* field = fieldIndex != none ? &fieldLabels[fieldIndex] : nullptr;
    Holding chosen;
    if (IsCapital(Byte(text[0]))) {
        if (const Spelling* spelling = FindSpelling(pattern, text)) {
            Prefer(FindHolding(spelling->holdings, ownCategory), ownCategory, chosen);
            Prefer(&spelling->holdings.front(), ownCategory, chosen);
        }
    }
    if (field != nullptr) {
        for (const int category : fieldCategories[fieldIndex])
            Prefer(FindHolding(pattern.holdings, category), ownCategory, chosen);
    }
    if (chosen.category != none) {
        *target = {chosen.category, chosen.entry};
        return true;
    }
    if (field != nullptr && field->takesAliases && pattern.alias.category != none &&
        IsAliasWriting(pattern, text)) {
        *target = pattern.alias;
        return true;
    }
    return false;
}

void LinkFinder::Build(const TitleSet& titles)
{
    auto built = std::make_shared<Impl>();
    built->titles = titles.titles;
    built->CollectPatterns();
    built->AddAliases(titles);
    built->BuildTrie();
    built->LinkFailures();
    built->AddTables();
    built->NameFieldCategories(titles);
    impl = std::move(built);
}

std::string_view LinkFinder::Impl::TitleOf(int category, int entry) const
{
    if (category < 0 || static_cast<std::size_t>(category) >= titles.size() || entry < 0 ||
        static_cast<std::size_t>(entry) >= titles[category].size())
        return {};
    return titles[category][entry];
}

// Every mention of the line and every place where it names the entry itself.
// The automaton starts after a field's label, so the label is never a link.
void LinkFinder::Impl::ScanLine(std::string_view line, const Reader& reader,
                                std::vector<Mention>& mentions, ReservedSpans& reserved) const
{
    const int fieldIndex = FieldOf(line);
    int state = root;
    for (std::size_t i = ValueStart(line, fieldIndex); i < line.size(); ++i) {
        state = Step(state, FoldAsciiLetter(Byte(line[i])));
        for (int out = nodes[state].pattern != none ? state : nodes[state].nextOutput; out != none;
             out = nodes[out].nextOutput) {
            const Pattern& pattern = patterns[nodes[out].pattern];
            const std::size_t end = i + 1;
            const std::size_t begin = end - pattern.folded.size();
            if (!IsWholeWord(line, begin, end))
                continue;
            const std::string_view text = line.substr(begin, pattern.folded.size());
            Mention mention{begin, text.size(), {}};
            if (text == reader.title) {
                reserved.Add(begin, end);
            } else if (Resolve(pattern, text, fieldIndex, reader.category, &mention.target)) {
                if (mention.target.category == reader.category &&
                    mention.target.entry == reader.entry)
                    reserved.Add(begin, end);
                else
                    mentions.push_back(mention);
            }
        }
    }
}

std::vector<FoundLink> LinkFinder::FindLinks(int category, int entry, std::string_view body) const
{
    std::vector<FoundLink> links;
    if (!impl)
        return links;
    const Reader reader{category, entry, impl->TitleOf(category, entry)};
    std::vector<Mention> mentions;
    ReservedSpans reserved;
    for (const std::string_view line : SplitBodyLines(body)) {
        mentions.clear();
        reserved.Reset();
        impl->ScanLine(line, reader, mentions, reserved);
        reserved.Seal(line.size());
        PickLinks(mentions, reserved, static_cast<std::size_t>(line.data() - body.data()), links);
    }
    return links;
}

bool LinkFinder::ResolveMention(std::string_view mention, int fromCategory, EntryRef* target) const
{
    if (!impl || mention.empty())
        return false;
    int node = root;
    for (const char c : mention) {
        node = impl->FindEdge(node, FoldAsciiLetter(Byte(c)));
        if (node == none)
            return false;
    }
    const int p = impl->nodes[node].pattern;
    if (p == none || impl->patterns[p].holdings.empty())
        return false;
    const std::vector<Holding>& holdings = impl->patterns[p].holdings;
    const Holding* own = FindHolding(holdings, fromCategory);
    const Holding& chosen = own != nullptr ? *own : holdings.front();
    *target = {chosen.category, chosen.entry};
    return true;
}

const LinkFinder& GetImageLinkFinder()
{
    static LinkFinder finder;
    static const unsigned char* builtFor = nullptr;
    static bool built = false;
    const unsigned char* image = GetRulesImage();
    if (!built || image != builtFor) {
        TitleSet set;
        const int categories = image != nullptr ? GetCategoryCount() : 0;
        for (int c = 0; c < categories; ++c) {
            set.categoryNames.emplace_back(GetCategoryName(c));
            set.titles.emplace_back();
            for (int e = 0; e < GetEntryCount(c); ++e)
                set.titles.back().emplace_back(GetEntryTitle(c, e));
        }
        finder.Build(set);
        builtFor = image;
        built = true;
    }
    return finder;
}
