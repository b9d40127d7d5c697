// The packer: order of entries, the image layout, the resource, the round
// trip through unpacking, and the properties of the shipped rules.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <iterator>

#include "data/rules_image.h"
#include "tests/host/test_images.h"
#include "tools/packer/rules_pack.h"

namespace {

std::vector<std::string> TitlesOf(const std::vector<SourceEntry>& entries)
{
    std::vector<std::string> titles;
    for (const SourceEntry& entry : entries)
        titles.push_back(entry.title);
    return titles;
}

TEST(SortEntries, IgnoresCaseThenGoesByBytesThenKeepsSourceOrder)
{
    std::vector<SourceEntry> entries = {
        {"beta", "1", "a.txt", 1},  {"Alpha", "2", "a.txt", 2}, {"Beta", "3", "a.txt", 3},
        {"alpha", "4", "b.txt", 1}, {"Beta", "5", "b.txt", 2},  {"\xC9" "clair", "6", "b.txt", 3},
        {"\xE9" "clair", "7", "b.txt", 4}, {"Zeta", "8", "b.txt", 5},
    };
    SortEntries(entries);
    EXPECT_EQ(TitlesOf(entries), (std::vector<std::string>{"Alpha", "alpha", "Beta", "Beta", "beta",
                                                           "Zeta", "\xC9" "clair", "\xE9" "clair"}));
    // The two identical titles keep the order in which they were read.
    EXPECT_EQ(entries[2].body, "3");
    EXPECT_EQ(entries[3].body, "5");
}

TEST(BuildRulesImage, WritesTheShippedPieceOrderWithPadding)
{
    const std::vector<SourceCategory> categories = {
        {"Alpha", "alpha", {{"One", "Body one", {}, 0}, {"Four", "Body four!", {}, 0}}},
        {"Beta", "beta", {}},
    };
    EXPECT_EQ(BuildRulesImage(categories), MakeSmallImage());
}

TEST(CompressRulesImage, WritesLengthThenDefaultLevelZlibStream)
{
    const Bytes image = MakeSmallImage();
    const Bytes resource = CompressRulesImage(image);
    ASSERT_GT(resource.size(), 6u);
    EXPECT_EQ(ReadImageNumber(resource.data()), image.size());
    EXPECT_EQ(resource[4], 0x78);
    EXPECT_EQ(resource[5], 0x9C);
    Bytes back;
    std::string error;
    ASSERT_TRUE(ExpandRulesResource(resource, back, error)) << error;
    EXPECT_EQ(back, image);
}

TEST(CheckBody, RefusesBreaksThatAreNotCrLfAndABreakAtTheEnd)
{
    EXPECT_EQ(CheckBody("a\r\nb\tc"), "");
    EXPECT_EQ(CheckBody(""), "");
    EXPECT_EQ(CheckBody("a\nb"), "lone line feed in body");
    EXPECT_EQ(CheckBody("a\rb"), "lone carriage return in body");
    EXPECT_EQ(CheckBody("a\r"), "lone carriage return in body");
    EXPECT_EQ(CheckBody("a\r\n"), "body ends with a line break");
}

// A content tree in a fresh temporary folder, removed afterwards.
class ContentTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = std::filesystem::temp_directory_path() /
               ("vellum-content-" + std::to_string(getpid()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    void Write(const std::string& relative, const std::string& text)
    {
        const std::filesystem::path path = root / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    std::filesystem::path root;
};

TEST_F(ContentTree, MissingListAndMissingFolderAreNamed)
{
    std::vector<SourceCategory> categories;
    std::vector<std::string> errors;
    EXPECT_FALSE(ReadContentTree(root, categories, errors));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], (root / "categories.txt").string() + ": cannot be read");

    Write("categories.txt", "spells\tSpells\n");
    categories.clear();
    errors.clear();
    EXPECT_FALSE(ReadContentTree(root, categories, errors));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], (root / "spells").string() + ": no such folder");
}

TEST_F(ContentTree, EntriesOfAllFilesOfAFolderAreRead)
{
    Write("categories.txt", "a\tFirst\nb\tSecond\n");
    Write("a/2.txt", "== Zulu\nz\n");
    Write("a/1.txt", "== Yankee\ny\n");
    Write("a/notes.md", "== Not content\n");
    Write("b/b.txt", "# nothing yet\n");
    std::vector<SourceCategory> categories;
    std::vector<std::string> errors;
    ASSERT_TRUE(ReadContentTree(root, categories, errors));
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(TitlesOf(categories[0].entries), (std::vector<std::string>{"Yankee", "Zulu"}));
    EXPECT_TRUE(categories[1].entries.empty());
}

std::vector<unsigned char> PackTree(const std::filesystem::path& root)
{
    std::vector<SourceCategory> categories;
    std::vector<std::string> errors;
    EXPECT_TRUE(ReadContentTree(root, categories, errors)) << (errors.empty() ? "" : errors[0]);
    for (SourceCategory& category : categories)
        SortEntries(category.entries);
    return BuildRulesImage(categories);
}

TEST_F(ContentTree, ShippedContentSurvivesUnpackAndRepack)
{
    const Bytes image = PackTree(VELLUM_CONTENT_DIR);
    std::string list;
    for (const SourceCategory& category : ReadRulesImage(image)) {
        std::string text;
        std::string error;
        ASSERT_TRUE(FormatEntryFile(category.entries, text, error)) << error;
        Write(category.folder + "/" + category.folder + ".txt", text);
        list += category.folder + "\t" + category.name + "\n";
    }
    // Category names of the shipped rules are ASCII, so they go through as they are.
    Write("categories.txt", list);
    EXPECT_EQ(PackTree(root), image);
}

// The shipped resource as the build packed it.
class ShippedRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(ReadShippedImage(image, error)) << error;
        categories = ReadRulesImage(image);
    }
    Bytes image;
    std::vector<SourceCategory> categories;
};

TEST_F(ShippedRules, HasTheSevenCategoriesInOrderWithTenEntriesEach)
{
    const std::vector<std::string> names = {"Spells", "Skills", "Feats", "Special Abilities",
                                            "Monsters", "Monsters - Animals & Vermin",
                                            "Monsters - Templates"};
    ASSERT_EQ(categories.size(), names.size());
    for (std::size_t c = 0; c < names.size(); ++c) {
        EXPECT_EQ(categories[c].name, names[c]);
        EXPECT_GE(categories[c].entries.size(), 10u) << names[c];
    }
}

TEST_F(ShippedRules, EachCategoryIsInOrderOfTitleWithoutRegardToCase)
{
    for (const SourceCategory& category : categories) {
        std::vector<SourceEntry> sorted = category.entries;
        SortEntries(sorted);
        EXPECT_EQ(TitlesOf(sorted), TitlesOf(category.entries)) << category.name;
    }
}

TEST_F(ShippedRules, KeepsTheTextPropertiesTheProgramsRelyOn)
{
    int titlesWithQuote = 0;
    std::string allBodies;
    for (const SourceCategory& category : categories) {
        for (const SourceEntry& entry : category.entries) {
            titlesWithQuote += entry.title.find('\x92') != std::string::npos;
            allBodies += entry.body;
        }
    }
    EXPECT_EQ(titlesWithQuote, 1);
    for (const char c : std::string("\t\x86\x91\x92\x93\x94\x96\x97\xAD\xB0"))
        EXPECT_NE(allBodies.find(c), std::string::npos) << "byte " << int(static_cast<unsigned char>(c));
}

TEST_F(ShippedRules, FeatsHoldTwoAdjacentEntriesWithOneTitleAndDifferentBodies)
{
    const std::vector<SourceEntry>& feats = categories[2].entries;
    int pairs = 0;
    for (std::size_t e = 1; e < feats.size(); ++e) {
        if (feats[e].title == feats[e - 1].title) {
            ++pairs;
            EXPECT_NE(feats[e].body, feats[e - 1].body);
        }
    }
    EXPECT_EQ(pairs, 1);
}

}  // namespace
