// The accessors and the well-formedness check of the rules data image.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "data/rules_image.h"
#include "tests/host/test_images.h"

namespace {

class InstalledImage : public ::testing::Test {
protected:
    void Install(const Bytes& bytes)
    {
        image = bytes;
        ASSERT_TRUE(IsWellFormedRulesImage(image.data(), image.size()));
        SetRulesImage(image.data());
    }
    void TearDown() override { SetRulesImage(nullptr); }
    std::ptrdiff_t OffsetOf(const void* p) const
    {
        return static_cast<const unsigned char*>(p) - image.data();
    }
    Bytes image;
};

TEST_F(InstalledImage, AccessorsFollowOffsetsFromTheImageStart)
{
    Install(MakeSmallImage());
    EXPECT_EQ(GetRulesImage(), image.data());
    ASSERT_EQ(GetCategoryCount(), 2);
    EXPECT_STREQ(GetCategoryName(0), "Alpha");
    EXPECT_STREQ(GetCategoryName(1), "Beta");
    ASSERT_EQ(GetEntryCount(0), 2);
    EXPECT_STREQ(GetEntryTitle(0, 0), "One");
    EXPECT_STREQ(GetEntryBody(0, 0), "Body one");
    EXPECT_STREQ(GetEntryTitle(0, 1), "Four");
    EXPECT_STREQ(GetEntryBody(0, 1), "Body four!");
    // Header 20 bytes, names 8 + 8, then Alpha's table.
    EXPECT_EQ(OffsetOf(GetEntryTable(0)), 36);
    EXPECT_EQ(OffsetOf(GetEntryTitle(0, 0)), 36 + 4 + 8 * 2);
}

TEST_F(InstalledImage, ThreeCharacterTextTakesFourBytesAndFourCharactersTakeEight)
{
    Install(MakeSmallImage());
    const char* three = GetEntryTitle(0, 0);  // "One"
    EXPECT_EQ(GetEntryBody(0, 0) - three, 4);
    const char* four = GetEntryTitle(0, 1);  // "Four"
    EXPECT_EQ(GetEntryBody(0, 1) - four, 8);
    EXPECT_EQ(OffsetOf(four) % 4, 0);
}

TEST_F(InstalledImage, ImageWithoutCategoriesAndCategoryWithoutEntries)
{
    Bytes empty;
    PutNumberAt(empty, 0, 0);
    Install(empty);
    EXPECT_EQ(GetCategoryCount(), 0);

    Install(MakeSmallImage());
    EXPECT_EQ(GetEntryCount(1), 0);
}

// Each case damages the small image in one way the check must refuse.
struct Damage {
    const char* what;
    std::function<void(Bytes&)> apply;
};

class MalformedImage : public ::testing::TestWithParam<Damage> {};

TEST_P(MalformedImage, IsRefused)
{
    Bytes image = MakeSmallImage();
    GetParam().apply(image);
    EXPECT_FALSE(IsWellFormedRulesImage(image.data(), image.size())) << GetParam().what;
}

std::uint32_t NumberAt(const Bytes& image, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | image[offset + i];
    return value;
}

const Damage damages[] = {
    {"shorter than a count", [](Bytes& b) { b.resize(3); }},
    {"truncated inside the header", [](Bytes& b) { b.resize(12); }},
    {"truncated inside an entry table", [](Bytes& b) { b.resize(40); }},
    {"truncated before the last table", [](Bytes& b) { b.resize(b.size() - 4); }},
    {"category count beyond the header", [](Bytes& b) { PutNumberAt(b, 0, 1000); }},
    {"category count near the 32-bit limit", [](Bytes& b) { PutNumberAt(b, 0, 0xFFFFFFFF); }},
    {"entry count beyond the image", [](Bytes& b) { PutNumberAt(b, 36, 0x20000000); }},
    {"table offset past the end", [](Bytes& b) { PutNumberAt(b, 4, static_cast<std::uint32_t>(b.size())); }},
    {"table offset unaligned", [](Bytes& b) { PutNumberAt(b, 4, NumberAt(b, 4) + 2); }},
    {"name offset past the end", [](Bytes& b) { PutNumberAt(b, 8, 0xFFFFFFF0); }},
    {"name offset unaligned", [](Bytes& b) { PutNumberAt(b, 8, 21); }},
    {"title offset past the end", [](Bytes& b) { PutNumberAt(b, 40, static_cast<std::uint32_t>(b.size() + 4)); }},
    {"body offset unaligned", [](Bytes& b) { PutNumberAt(b, 44, NumberAt(b, 44) + 1); }},
    {"last text unterminated",
     [](Bytes& b) {
         // Only Alpha is left, and its last body runs to the end without a zero.
         PutNumberAt(b, 0, 1);
         const std::uint32_t body = NumberAt(b, 52);
         std::memset(b.data() + body, 'x', b.size() - body);
     }},
};

INSTANTIATE_TEST_SUITE_P(Damages, MalformedImage, ::testing::ValuesIn(damages));

TEST(WellFormedImage, PiecesMayComeInAnyOrderAndShareBytes)
{
    // Readers follow offsets only: here the name comes after the table and
    // the body is the tail of the title.
    Bytes image(24, 0);
    PutNumberAt(image, 0, 1);
    PutNumberAt(image, 4, 12);
    PutNumberAt(image, 12, 1);
    const std::uint32_t text = AppendPaddedText(image, "Shared text");
    PutNumberAt(image, 8, text);
    PutNumberAt(image, 16, text);
    PutNumberAt(image, 20, text + 4);
    EXPECT_TRUE(IsWellFormedRulesImage(image.data(), image.size()));
}

}  // namespace

namespace {

TEST(FindEntryByTitle, FindsTheFirstOfEqualTitlesExactly)
{
    Bytes image;
    PutNumberAt(image, 0, 1);
    image.resize(12, 0);
    PutNumberAt(image, 8, AppendPaddedText(image, "C"));
    const auto table = static_cast<std::uint32_t>(image.size());
    PutNumberAt(image, 4, table);
    const char* titles[] = {"Dodge", "Toughness", "Toughness", "toughness"};
    PutNumberAt(image, table, 4);
    image.resize(table + 4 + 8 * 4, 0);
    for (std::uint32_t e = 0; e < 4; ++e) {
        PutNumberAt(image, table + 4 + 8 * e, AppendPaddedText(image, titles[e]));
        PutNumberAt(image, table + 8 + 8 * e, AppendPaddedText(image, std::to_string(e)));
    }
    ASSERT_TRUE(IsWellFormedRulesImage(image.data(), image.size()));
    SetRulesImage(image.data());
    EXPECT_EQ(FindEntryByTitle(0, "Toughness"), 1);
    EXPECT_EQ(FindEntryByTitle(0, "toughness"), 3);
    EXPECT_EQ(FindEntryByTitle(0, "Dodge"), 0);
    EXPECT_EQ(FindEntryByTitle(0, "Dodg"), -1);
    EXPECT_EQ(FindEntryByTitle(0, ""), -1);
    SetRulesImage(nullptr);
}

}  // namespace
