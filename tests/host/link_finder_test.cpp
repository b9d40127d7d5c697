// The link finder: the mention rule over a small set of titles, its cost on
// the largest inputs it must take, and links in the shipped rules.
#include "pane/link_finder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "data/rules_image.h"
#include "pane/table_plan.h"
#include "tests/host/test_images.h"
#include "tools/packer/content_check.h"
#include "tools/packer/rules_pack.h"

namespace {

enum { spells, skills, feats, specialAbilities, monsters };

TitleSet SmallTitles()
{
    TitleSet set;
    set.categoryNames = {"Spells", "Skills", "Feats", "Special Abilities", "Monsters"};
    set.titles = {
        {"Fireburst", "Greater Fireburst", "Keeper\x92s Ward", "Light"},
        {"Climb", "Swim"},
        {"Cleave", "Cleave", "Power Attack"},
        {"Darkvision", "Energy Resistance", "Immunities", "Light", "Spell-Like Abilities"},
        {"Ashen Herald"},
    };
    return set;
}

// Each link as "[text>category.entry]", so a failure shows what was found.
std::string Describe(std::string_view body, const std::vector<FoundLink>& links)
{
    std::string text;
    for (const FoundLink& link : links)
        text += "[" + std::string(body.substr(link.begin, link.length)) + ">" +
                std::to_string(link.target.category) + "." + std::to_string(link.target.entry) +
                "]";
    return text;
}

struct LinkCase {
    const char* what;
    int category;
    int entry;
    const char* body;
    const char* links;
};

TEST(LinkFinder, FindsMentionsByTheRule)
{
    const LinkCase cases[] = {
        {"the longest mention wins", monsters, 0, "It casts Greater Fireburst.",
         "[Greater Fireburst>0.1]"},
        {"whole words only; an apostrophe ends a word", monsters, 0,
         "Fireburster, XFireburst, Fireburst\xE9, Fireburst2, Fireburst's", "[Fireburst>0.0]"},
        {"titles at the very start and end of a body", monsters, 0, "Climb up, then Swim",
         "[Climb>1.0][Swim>1.1]"},
        {"prose needs the exact title from a capital", monsters, 0, "They swim, SWIM and Swim.",
         "[Swim>1.1]"},
        {"a field matches its categories in any case, others exactly", monsters, 0,
         "Special Qualities:\tdarkvision 60 ft., swim, Swim, fireBURST",
         "[darkvision>3.0][Swim>1.1][fireBURST>0.0]"},
        {"the label is no link; the field value is", monsters, 0,
         "Spell-Like Abilities: 3/day\x97light, Keeper\x92s Ward.",
         "[light>0.3][Keeper\x92s Ward>0.2]"},
        {"any field's label names the field; a paragraph's label may be a link", monsters, 0,
         "Climb:\tSwim\r\nClimb: Swim", "[Swim>1.1][Climb>1.0][Swim>1.1]"},
        {"prerequisites name feats, skills and special abilities", monsters, 0,
         "Prerequisites:\tpower attack, climb 4 ranks, darkvision, fireburst.",
         "[power attack>2.2][climb>1.0][darkvision>3.0]"},
        {"lines are separate; a field ends at its line", monsters, 0,
         "Skills:\tswim +4\r\nswim Swim\r\nFeats:\tcleave", "[swim>1.1][Swim>1.1][cleave>2.0]"},
        {"the alias words of the special fields", monsters, 0,
         "Special Attacks:\tImmunity to fire, immune to cold, IMMUNE TO acid, resistance to sonic "
         "5\r\n"
         "immunity to fire",
         "[Immunity to>3.2][immune to>3.2][resistance to>3.1]"},
        {"the own title is no link, nor any mention holding it", spells, 0,
         "Fireburst; Greater Fireburst; Swim", "[Swim>1.1]"},
        {"nor a mention resolving to the entry itself", specialAbilities, 0,
         "Special Qualities:\tdarkvision, Immunity to fire", "[Immunity to>3.2]"},
        {"a title in several categories: the entry's own first", specialAbilities, 1, "Light",
         "[Light>3.3]"},
        {"then the category order", monsters, 0, "Light", "[Light>0.3]"},
        {"within a category the first entry of the title", monsters, 0, "Cleave", "[Cleave>2.0]"},
        {"an entry's own title is no link to its twin", feats, 1, "Cleave", ""},
        {"an entry unknown to the finder", 99, -1, "Cleave", "[Cleave>2.0]"},
    };
    LinkFinder finder;
    finder.Build(SmallTitles());
    for (const LinkCase& c : cases) {
        EXPECT_EQ(Describe(c.body, finder.FindLinks(c.category, c.entry, c.body)), c.links)
            << c.what;
    }
}

TEST(LinkFinder, ResolvesAMentionInAnyCaseByThePreference)
{
    LinkFinder finder;
    finder.Build(SmallTitles());
    EntryRef target;
    ASSERT_TRUE(finder.ResolveMention("LIGHT", monsters, &target));
    EXPECT_EQ(target.category, spells);
    ASSERT_TRUE(finder.ResolveMention("light", specialAbilities, &target));
    EXPECT_EQ(target.category, specialAbilities);
    EXPECT_EQ(target.entry, 3);
    EXPECT_FALSE(finder.ResolveMention("Ligh", monsters, &target));
    EXPECT_FALSE(finder.ResolveMention("", monsters, &target));
}

// The most matches the finder can meet: 10,000 one-byte titles and titles of
// "A A ... A" up to 259 bytes, over a line of 16,000 bytes of "A A ...".
// Longest first takes 61 runs of the longest title, then the remaining 70 A's.
TEST(LinkFinder, TakesTheLargestInputs)
{
    TitleSet set;
    set.categoryNames = {"Many"};
    set.titles.resize(1);
    for (int t = 0; t < 10000; ++t)
        set.titles[0].push_back(std::string(1, static_cast<char>('A' + t % 26)));
    for (std::string title = "A A"; title.size() < 260; title += " A")
        set.titles[0].push_back(title);
    std::string line = "A";
    while (line.size() < 15999)
        line += " A";
    LinkFinder finder;
    finder.Build(set);
    const std::vector<FoundLink> links = finder.FindLinks(0, -1, line);
    ASSERT_EQ(links.size(), 62u);
    EXPECT_EQ(links[0].length, 259u);
    EXPECT_EQ(links.back().begin + links.back().length, line.size());
}

// The shipped rules, installed as the programs install them.
using ShippedRulesLinks = ShippedImageTest;

TEST_F(ShippedRulesLinks, LinkTheSpellsOfAMonsterToTheSpells)
{
    const int monsterCategory = 4;
    ASSERT_STREQ(GetCategoryName(monsterCategory), "Monsters");
    const int herald = FindEntryByTitle(monsterCategory, "Ashen Herald");
    ASSERT_GE(herald, 0);
    const std::string body = GetEntryBody(monsterCategory, herald);
    std::string spellLine;
    for (const FoundLink& link : GetImageLinkFinder().FindLinks(monsterCategory, herald, body)) {
        const std::size_t lineStart = body.rfind('\n', link.begin) + 1;
        if (body.compare(lineStart, 22, "Spell-Like Abilities: ") == 0) {
            EXPECT_STREQ(GetCategoryName(link.target.category), "Spells");
            spellLine += "[" + body.substr(link.begin, link.length) + "]";
        }
    }
    EXPECT_EQ(spellLine, "[Ember Dart][Far Step][Fireburst][Keeper\x92s Ward][Shroud of Night]"
                         "[Word of Unmaking]");

    // Another image installed: the finder follows it.
    SetRulesImage(nullptr);
    EXPECT_TRUE(GetImageLinkFinder().FindLinks(monsterCategory, herald, body).empty());
}

// The entry of a packed category that holds a source line, or -1.
int EntryHolding(const SourceCategory& category, const ResolvedReference& reference)
{
    for (std::size_t e = 0; e < category.entries.size(); ++e) {
        const SourceEntry& entry = category.entries[e];
        if (entry.title == reference.title && entry.file == reference.file &&
            entry.line < reference.line &&
            reference.line <= entry.line + static_cast<int>(SplitBodyLines(entry.body).size()))
            return static_cast<int>(e);
    }
    return -1;
}

// Whether a link on the reference's line of the body reads exactly its name.
bool IsLinked(int category, int entry, int firstLine, const ResolvedReference& reference)
{
    const std::string body = GetEntryBody(category, entry);
    const std::string_view line = SplitBodyLines(body)[reference.line - firstLine];
    const std::size_t lineBegin = static_cast<std::size_t>(line.data() - body.data());
    for (const FoundLink& link : GetImageLinkFinder().FindLinks(category, entry, body)) {
        if (link.begin >= lineBegin && link.begin + link.length <= lineBegin + line.size() &&
            body.compare(link.begin, link.length, reference.name) == 0)
            return true;
    }
    return false;
}

// Every name the content checker resolves to a title in the shipped content
// is a link on its line, the content packed and installed afresh.
TEST_F(ShippedRulesLinks, LinkEveryNameTheCheckerResolvesToATitle)
{
    std::vector<SourceCategory> categories;
    std::vector<std::string> errors;
    ASSERT_TRUE(ReadContentTree(VELLUM_CONTENT_DIR, categories, errors));
    for (SourceCategory& category : categories)
        SortEntries(category.entries);
    image = BuildRulesImage(categories);
    SetRulesImage(image.data());

    const ContentReport report = CheckContentTree(VELLUM_CONTENT_DIR);
    std::string unlinked;
    int failures = 0;
    int ownTitles = 0;
    for (const ResolvedReference& reference : report.references) {
        // By the rule an entry's own title is never a link: a skill's
        // synergy that names the skill itself stays plain.
        if (reference.name == reference.title) {
            ++ownTitles;
            continue;
        }
        int c = 0;
        while (c < GetCategoryCount() && categories[c].folder != reference.folder)
            ++c;
        const int e = c < GetCategoryCount() ? EntryHolding(categories[c], reference) : -1;
        if (e >= 0 && IsLinked(c, e, categories[c].entries[e].line + 1, reference))
            continue;
        if (++failures <= 20)
            unlinked += "\n" + reference.file + ":" + std::to_string(reference.line) + ": '" +
                        reference.name + "' (" + reference.targetFolder + ") in '" +
                        reference.title + "'";
    }
    const int checked = static_cast<int>(report.references.size()) - ownTitles;
    std::printf("%d resolved names checked; %d more are the entry's own title\n", checked,
                ownTitles);
    EXPECT_GT(checked, 0);
    EXPECT_EQ(failures, 0) << "not linked, the first 20:" << unlinked;
}

}  // namespace
