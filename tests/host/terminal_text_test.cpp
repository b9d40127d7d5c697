// The terminal program's text: Windows-1252 turned into UTF-8 that cannot
// steer the terminal, entries laid out as the view shows them (tables lined
// up, lines wrapped, title and links marked), and the command line's words
// that begin with a minus sign.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terminal/command_line.h"
#include "terminal/text_output.h"

namespace {

TEST(ShownText, ConvertsWindows1252AndReplacesWhatCouldSteerTheTerminal)
{
    struct Case {
        const char* what;
        std::string cp1252;
        std::string utf8;
    };
    const Case cases[] = {
        {"right single quotation mark", "Keeper\x92s", "Keeper\xE2\x80\x99s"},
        {"en dash",
         "1\x96"
         "4",
         "1\xE2\x80\x93"
         "4"},
        {"degree sign", "90\xB0", "90\xC2\xB0"},
        {"soft hyphen kept in a line of a list", "war\xADlock", "war\xC2\xADlock"},
        {"euro sign and dagger", "\x80\x86", "\xE2\x82\xAC\xE2\x80\xA0"},
        {"undefined byte", "a\x81z", "a\xEF\xBF\xBDz"},
        {"escape and tab", "\x1B[2Jx\ty", "\xEF\xBF\xBD[2Jx\xEF\xBF\xBDy"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShownText(c.cp1252), c.utf8) << c.what;
}

TEST(ScriptText, KeepsTheTextButForLineBreaksAndUndefinedBytes)
{
    EXPECT_EQ(ScriptText("a\r\nb\tc\x92\x9D"), "a\nb\tc\xE2\x80\x99\xEF\xBF\xBD");
}

struct LayoutCase {
    const char* what;
    const char* body;
    int width;
    const char* shown; // the body's lines as laid out
};

TEST(LayOutEntry, ShowsTitleSeparatorAndBodyWrappedAndLinedUp)
{
    const LayoutCase cases[] = {
        {"short lines stay as they are", "One line.\r\n\r\nAnother.", 40,
         "One line.\n\nAnother.\n"},
        {"wrapped at the last blank that fits", "The quick brown fox jumps over the lazy dog.", 16,
         "The quick brown\nfox jumps over\nthe lazy dog.\n"},
        {"width 0 wraps nothing", "The quick brown fox jumps over the lazy dog.", 0,
         "The quick brown fox jumps over the lazy dog.\n"},
        {"a word wider than the line is cut", "Supercalifragilistic ok", 8,
         "Supercal\nifragili\nstic ok\n"},
        {"a soft hyphen shows only where the line breaks",
         "A dis\xAD"
         "en\xAD"
         "chant\xAD"
         "ment spell",
         13, "A disenchant-\nment spell\n"},
        {"a soft hyphen where no break falls shows nothing",
         "A dis\xAD"
         "enchant",
         40, "A disenchant\n"},
        {"the typographic characters convert", "Keeper\x92s \x96 90\xB0", 40,
         "Keeper\xE2\x80\x99s \xE2\x80\x93 90\xC2\xB0\n"},
        {"fields line up two blanks past the widest label",
         "Level:\tMage 3\r\nRange:\tTouch\r\nArea:\t5 ft.", 40,
         "Level:  Mage 3\nRange:  Touch\nArea:   5 ft.\n"},
        {"a wrapped row goes on under its last cell", "Feats:\tDodge, Mobility, Spring Attack", 24,
         "Feats:  Dodge, Mobility,\n        Spring Attack\n"},
        {"a table's columns and a row with fewer cells",
         "d%\tResult\tNote\r\n01-50\tGold\r\n51-100\tGems\tRare", 40,
         "d%      Result  Note\n01-50   Gold\n51-100  Gems    Rare\n"},
        {"an empty first cell keeps its place", "A\tB\r\n\tC", 40, "A  B\n   C\n"},
    };
    for (const LayoutCase& c : cases) {
        const std::string shown = LayOutEntry("Title", c.body, {}, EntryLayout{c.width, false});
        EXPECT_EQ(shown, std::string("Title\n-----\n") + c.shown) << c.what;
    }
}

TEST(LayOutEntry, MarksTheTitleBoldAndTheLinksUnderlinedWhenStyled)
{
    const std::string body = "Cast Fireburst now.";
    const std::vector<FoundLink> links = {FoundLink{5, 9, EntryRef{0, 1}}};
    EXPECT_EQ(LayOutEntry("Spell", body, links, EntryLayout{40, true}),
              "\x1b[1mSpell\x1b[0m\n-----\nCast \x1b[4mFireburst\x1b[0m now.\n");
    EXPECT_EQ(LayOutEntry("Spell", body, links, EntryLayout{40, false}),
              "Spell\n-----\nCast Fireburst now.\n");
}

TEST(LayOutEntry, TakesAnyBodyWithoutEndlessPadding)
{
    // A first column far wider than the line: its rows are not padded out.
    const std::string body = std::string(5000, 'x') + "\ty\r\n\tz";
    const std::string shown = LayOutEntry("T", body, {}, EntryLayout{80, false});
    EXPECT_LT(shown.size(), 5300u);
    EXPECT_NE(shown.find("\n  z\n"), std::string::npos);
}

struct DashCase {
    std::vector<std::string> arguments;
    std::vector<std::string> separated;
};

TEST(SeparateDashWords, TakesWhatIsNoOptionAsAWordOfFindFilterAndRoll)
{
    const DashCase cases[] = {
        {{"find", "fire", "-cold"}, {"find", "--", "fire", "-cold"}},
        {{"find", "-c", "Spells", "-cold", "--json", "fire"},
         {"find", "-c", "Spells", "--json", "--", "-cold", "fire"}},
        {{"--rules", "x.bin", "find", "-", "--category=Feats"},
         {"--rules", "x.bin", "find", "--category=Feats", "--", "-"}},
        {{"roll", "4d6", "-1", "x6", "--seed", "7"},
         {"roll", "--seed", "7", "--", "4d6", "-1", "x6"}},
        {{"filter", "--body", "-orc", "--", "--json"},
         {"filter", "--body", "--", "-orc", "--json"}},
        {{"show", "-c", "Feats", "-x"}, {"show", "-c", "Feats", "-x"}},
        {{"list", "--count"}, {"list", "--count"}},
        {{"find", "--help"}, {"find", "--help"}},
    };
    for (const DashCase& c : cases)
        EXPECT_EQ(SeparateDashWords(c.arguments), c.separated) << c.arguments.front();
}

} // namespace
