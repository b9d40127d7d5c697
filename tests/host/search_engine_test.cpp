// The full-body search's word loop and keep-or-delete rule, over the titles
// of a small rules image built for the purpose.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/rules_image.h"
#include "search/search_engine.h"
#include "search/title_rows.h"
#include "tools/packer/rules_pack.h"

namespace {

// Each text holds only the words its tests need: no "elf" but in the
// bookshelf, no "fire" but in entries 0 and 2.
const SourceEntry spellEntries[] = {
    {"Acid Arrow", "A green arrow of acid that burns like FIRE.", {}, 0},
    {"Acid Fog", "A thick bank of fog that burns with acid.", {}, 0},
    {"Cloud of Fire", "Flames drift in a red cloud.", {}, 0},
    {"Fog Cloud", "Plain fog hides everything.", {}, 0},
    {"Half-Orc Rage", "Rage of the blood.", {}, 0},
    {"Orc Tactics", "A half orc may use these.", {}, 0},
    {"Bookshelf Ward", "Guards the books.", {}, 0},
    {"Small Caf\xE9", "The owner smiles.", {}, 0},
    {"Great CAF\xC9", "The owner shouts.", {}, 0},
    {"Twin Title", "The first holds a lantern.", {}, 0},
    {"Twin Title", "The second holds a mirror.", {}, 0},
};

class SearchEngine : public ::testing::Test {
  protected:
    void SetUp() override
    {
        std::vector<SourceCategory> categories(2);
        categories[0].name = "Spells";
        categories[0].entries.assign(std::begin(spellEntries), std::end(spellEntries));
        categories[1].name = "Empty";
        image = BuildRulesImage(categories);
        ASSERT_TRUE(IsWellFormedRulesImage(image.data(), image.size()));
        SetRulesImage(image.data());
    }
    void TearDown() override { SetRulesImage(nullptr); }

    static std::vector<std::string> Survivors(const char* query)
    {
        TitleRows rows(0);
        ApplyQuery(rows, query);
        return rows.Titles();
    }
    static std::vector<std::string> Titles(std::initializer_list<int> entries)
    {
        std::vector<std::string> titles;
        for (const int e : entries)
            titles.push_back(spellEntries[e].title);
        return titles;
    }

    std::vector<unsigned char> image;
};

struct QueryCase {
    const char* what;
    const char* query;
    std::initializer_list<int> survivors;
};

const QueryCase queryCases[] = {
    {"empty query", "", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    {"blanks only", "   ", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    {"word in a title or only in a body", "fire", {0, 2}},
    {"upper case word", "FIRE", {0, 2}},
    {"mixed case word", "fIrE", {0, 2}},
    {"part of a longer word", "elf", {6}},
    {"plain and negated word", "acid -fog", {0}},
    {"negated word first", "-fog acid", {0}},
    {"lone minus sign", "-", {}},
    {"minus sign inside a word", "half-orc", {4}},
    {"word and its negation", "acid -acid", {}},
    {"doubled, leading and trailing blanks", "  fog   acid ", {1}},
    {"tab is part of a word", "acid\tfog", {}},
    {"accented small letter", "caf\xE9", {7}},
    {"accented capital letter", "caf\xC9", {8}},
    {"twins kept by the first body", "lantern", {9, 10}},
    {"twins dropped by the first body", "mirror", {}},
    {"twins kept when negating the second body", "-mirror", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
};

TEST_F(SearchEngine, KeepsTheRowsHoldingEveryPlainWordAndNoNegatedOne)
{
    for (const QueryCase& c : queryCases)
        EXPECT_EQ(Survivors(c.query), Titles(c.survivors)) << c.what;
}

struct TypedCase {
    const char* what;
    const char* text;
    bool bodies;
    std::initializer_list<int> survivors;
};

const TypedCase typedCases[] = {
    {"nothing typed", "", false, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    {"a word of the titles", "FOG", false, {1, 3}},
    {"every word, in any order", "cloud fog", false, {3}},
    {"titles only: a word of the bodies alone", "fire", false, {2}},
    {"with the bodies, the first of twins decides", "lantern", true, {9, 10}},
    {"a minus sign is part of its word", "half-orc -orc", false, {4}},
    {"a lone minus sign is a word", "-", false, {4}},
    {"doubled blanks type empty words, which are skipped", "  acid   arrow ", false, {0}},
    {"a word held nowhere", "zzz", true, {}},
};

TEST_F(SearchEngine, TypedWordsKeepTheRowsHoldingEachWordAsTyped)
{
    for (const TypedCase& c : typedCases) {
        TitleRows rows(0, c.bodies);
        ApplyTypedWords(rows, c.text, static_cast<int>(std::char_traits<char>::length(c.text)));
        EXPECT_EQ(rows.Titles(), Titles(c.survivors)) << c.what;
    }
}

TEST_F(SearchEngine, AQueryOfGivenLengthMayHoldATerminatorThatNoRowHolds)
{
    TitleRows plain(0);
    ApplyQuery(plain, "acid x", 4);
    EXPECT_EQ(plain.Titles(), Titles({0, 1}));
    TitleRows withTerminator(0);
    ApplyQuery(withTerminator, std::string("acid \0", 6).c_str(), 6);
    EXPECT_TRUE(withTerminator.Titles().empty());
}

TEST_F(SearchEngine, EmptyCategoryGivesNoRows)
{
    TitleRows rows(1);
    ApplyQuery(rows, "acid");
    EXPECT_TRUE(rows.Titles().empty());
}

// Rows of wide text, as the handheld program has them, tested on the row
// text alone with exact case.
class WideRows final : public SearchRows<wchar_t> {
  public:
    int CountRows() const override { return static_cast<int>(texts.size()); }
    bool RowHasWord(int row, const wchar_t* word, int length) const override
    {
        return texts[static_cast<std::size_t>(row)].find(
                   std::wstring(word, static_cast<std::size_t>(length))) != std::wstring::npos;
    }
    void DeleteRow(int row) override { texts.erase(texts.begin() + row); }
    std::vector<std::wstring> texts;
};

TEST(SearchEngineWide, SplitsAndNegatesWideQueriesTheSameWay)
{
    struct Case {
        const wchar_t* query;
        std::vector<std::wstring> survivors;
    };
    const Case cases[] = {
        {L"", {L"storm \x2019ward", L"ice ward", L"storm"}},
        {L"ward -ice", {L"storm \x2019ward"}},
        {L"\x2019w", {L"storm \x2019ward"}},
        {L"storm  -", {}},
    };
    for (const Case& c : cases) {
        WideRows rows;
        rows.texts = {L"storm \x2019ward", L"ice ward", L"storm"};
        ApplyQuery(rows, c.query);
        EXPECT_EQ(rows.texts, c.survivors);
    }
}

} // namespace
