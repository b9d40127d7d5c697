// Reading the content sources: entries, bodies, escapes, and every refusal
// naming its file and line.
#include <gtest/gtest.h>

#include "tools/packer/content_source.h"

namespace {

std::vector<SourceEntry> Parse(const std::string& text, std::vector<std::string>& errors)
{
    std::vector<SourceEntry> entries;
    ParseEntryFile(text, "feats.txt", entries, errors);
    return entries;
}

TEST(ParseEntryFile, ReadsTitlesAndBodiesWithCrLfBreaks)
{
    std::vector<std::string> errors;
    const auto entries = Parse(
        "# Feats of the first set\n"
        "\n"
        "== Dodge\r\n"
        "[General]\r\n"
        "Benefit:\t+1 \xE2\x80\x94 dodge\r\n"
        "\r\n"
        "== Keeper\xE2\x80\x99s Ward\n"
        "\n"
        "Line after an empty first line\n"
        "\\== not a title\n"
        "\\\\ one backslash\n"
        "  \n"
        "\n"
        "\n",
        errors);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].title, "Dodge");
    EXPECT_EQ(entries[0].body, "[General]\r\nBenefit:\t+1 \x97 dodge");
    EXPECT_EQ(entries[0].line, 3);
    EXPECT_EQ(entries[1].title, "Keeper\x92s Ward");
    // Leading empty lines and whitespace-only lines belong to the body; only
    // the empty lines at its end are dropped.
    EXPECT_EQ(entries[1].body,
              "\r\nLine after an empty first line\r\n== not a title\r\n\\ one backslash\r\n  ");
}

TEST(ParseEntryFile, RefusalsNameTheLine)
{
    using namespace std::string_literals;
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"stray text\n== A\nbody", "feats.txt:1: text before the first entry"},
        {"== A\nbody\rmore", "feats.txt:2: lone carriage return in body"},
        {"== A\nbody\n== B!\nbody", "feats.txt:3: title holds '!', which titles may not hold"},
        {"== \nbody", "feats.txt:1: empty title"},
        {"== A\nline\n\xE2\x89\xA5 5", "feats.txt:3: character U+2265 has no Windows-1252 form"},
        {"== A\nbell \x07", "feats.txt:2: body holds byte 0x07"},
        {"== A\nnul \0 inside"s, "feats.txt:2: body holds byte 0x00"},
        {"== A\tB\nbody", "feats.txt:1: title holds byte 0x09, which titles may not hold"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> errors;
        Parse(c.text, errors);
        ASSERT_EQ(errors.size(), 1u) << c.text;
        EXPECT_EQ(errors[0], c.error);
    }
}

TEST(ParseEntryFile, TitleOf260BytesIsRefusedAnd259Accepted)
{
    std::vector<std::string> errors;
    Parse("== " + std::string(259, 'a') + "\nbody\n== " + std::string(260, 'b') + "\nbody", errors);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "feats.txt:3: title is 260 bytes; it must be shorter than 260");
}

TEST(ParseCategoryList, ReadsFolderAndName)
{
    std::vector<SourceCategory> categories;
    std::vector<std::string> errors;
    ParseCategoryList("# comment\nspells\tSpells\nanimals\tMonsters - Animals & Vermin\nbroken\n",
                      "categories.txt", categories, errors);
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(categories[1].folder, "animals");
    EXPECT_EQ(categories[1].name, "Monsters - Animals & Vermin");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "categories.txt:4: expected a folder, a tab and a name");
}

TEST(FolderNameFor, JoinsWordsWithHyphens)
{
    EXPECT_EQ(FolderNameFor("Monsters - Animals & Vermin"), "monsters-animals-vermin");
    EXPECT_EQ(FolderNameFor("Special Abilities"), "special-abilities");
    EXPECT_EQ(FolderNameFor("&&"), "category");
}

}  // namespace
