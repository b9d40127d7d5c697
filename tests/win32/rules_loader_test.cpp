// Loading the rules data from the program's resource, and the two messages a
// failed load shows, read from the real message boxes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>
#include <zlib.h>

#include "data/rules_image.h"
#include "data/rules_loader.h"
#include "tests/win32/message_box_watch.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ShippedResource()
{
    HMODULE self = GetModuleHandle(nullptr);
    HRSRC found = FindResourceEx(self, TEXT("DataFiles"), MAKEINTRESOURCE(114),
                                 MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (found == nullptr)
        return {};
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(self, found)));
    return Bytes(bytes, bytes + SizeofResource(self, found));
}

// The file the host packer wrote, read through Wine's drive for the root.
Bytes PackerOutput()
{
    std::ifstream in(std::string("Z:") + VELLUM_RULES_RESOURCE, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::pair<std::string, int>> InstalledCategories()
{
    std::vector<std::pair<std::string, int>> categories;
    for (int c = 0; c < GetCategoryCount(); ++c)
        categories.emplace_back(GetCategoryName(c), GetEntryCount(c));
    return categories;
}

void PutLength(Bytes& resource, std::uint32_t length)
{
    for (int i = 0; i < 4; ++i)
        resource[i] = static_cast<unsigned char>(length >> (8 * i));
}

std::uint32_t LengthOf(const Bytes& resource)
{
    return resource[0] | resource[1] << 8 | resource[2] << 16 | static_cast<std::uint32_t>(resource[3]) << 24;
}

class RulesLoading : public ::testing::Test {
protected:
    void SetUp() override { SetRulesImage(nullptr); }
    void TearDown() override
    {
        SetImageAllocator(HeapImageAllocator());
        SetRulesImage(nullptr);
    }
    void ExpectOneErrorBox(const TCHAR* message)
    {
        ASSERT_EQ(watch.Seen().size(), 1u);
        const SeenMessageBox& box = watch.Seen()[0];
        EXPECT_EQ(box.text, message);
        EXPECT_EQ(box.caption, TEXT("Error!"));
        EXPECT_FALSE(box.hasIcon);
        EXPECT_EQ(box.buttons, std::vector<TextString>{TEXT("OK")});
        EXPECT_EQ(box.owner, owner.Handle());
    }
    TestOwnerWindow owner;
    MessageBoxWatch watch;
};

TEST_F(RulesLoading, ShippedResourceInstallsWhatThePackerWrote)
{
    const Bytes packed = PackerOutput();
    ASSERT_FALSE(packed.empty());
    EXPECT_EQ(ShippedResource(), packed);

    ASSERT_TRUE(LoadRulesData(GetModuleHandle(nullptr), owner.Handle()));
    EXPECT_TRUE(watch.Seen().empty());
    const auto loaded = InstalledCategories();
    ASSERT_EQ(loaded.size(), 7u);
    EXPECT_EQ(loaded[0].first, "Spells");
    EXPECT_EQ(loaded[6].first, "Monsters - Templates");

    const InflatedImage expected = InflateRulesImage(packed.data(), packed.size(), HeapImageAllocator());
    ASSERT_EQ(expected.status, InflateStatus::ready);
    SetRulesImage(expected.block);
    EXPECT_EQ(InstalledCategories(), loaded);
    std::free(expected.block);
}

struct LoadFailure {
    const char* what;
    Bytes (*damage)(Bytes resource);
};

Bytes DamagedStream(Bytes resource)
{
    for (std::size_t i = resource.size() / 2; i < resource.size() / 2 + 64; ++i)
        resource[i] ^= 0xA5;
    return resource;
}

Bytes TruncatedStream(Bytes resource)
{
    resource.resize(resource.size() / 2);
    return resource;
}

Bytes StreamShorterThanTheLength(Bytes resource)
{
    PutLength(resource, LengthOf(resource) + 4);
    return resource;
}

Bytes MalformedImage(Bytes)
{
    // One category whose entry table lies far outside the 12-byte image.
    const unsigned char image[12] = {1, 0, 0, 0, 0, 0, 0, 1, 12, 0, 0, 0};
    uLongf size = compressBound(sizeof image);
    Bytes resource(4 + size);
    PutLength(resource, sizeof image);
    compress(resource.data() + 4, &size, image, sizeof image);
    resource.resize(4 + size);
    return resource;
}

Bytes Empty(Bytes) { return {}; }

class RulesLoadFailure : public RulesLoading, public ::testing::WithParamInterface<LoadFailure> {};

TEST_P(RulesLoadFailure, ShowsTheDecompressionMessageAndInstallsNothing)
{
    const Bytes resource = GetParam().damage(ShippedResource());
    EXPECT_FALSE(InstallRulesResource(resource.data(), resource.size(), owner.Handle()));
    EXPECT_EQ(GetRulesImage(), nullptr);
    ExpectOneErrorBox(TEXT("There was an error uncomressing the data!"));
}

const LoadFailure failures[] = {
    {"damaged stream", DamagedStream},
    {"truncated stream", TruncatedStream},
    {"stream shorter than its length", StreamShorterThanTheLength},
    {"malformed image", MalformedImage},
    {"empty resource", Empty},
};

INSTANTIATE_TEST_SUITE_P(Resources, RulesLoadFailure, ::testing::ValuesIn(failures));

void* Refuse(std::size_t) { return nullptr; }

TEST_F(RulesLoading, RefusedAllocationShowsTheAllocationMessage)
{
    SetImageAllocator(ImageAllocator{Refuse, std::free});
    EXPECT_FALSE(LoadRulesData(GetModuleHandle(nullptr), owner.Handle()));
    EXPECT_EQ(GetRulesImage(), nullptr);
    ExpectOneErrorBox(TEXT("There was an error allocating memory!"));
}

TEST_F(RulesLoading, ModuleWithoutTheResourceShowsTheDecompressionMessage)
{
    EXPECT_FALSE(LoadRulesData(GetModuleHandle(TEXT("kernel32.dll")), owner.Handle()));
    EXPECT_EQ(GetRulesImage(), nullptr);
    ExpectOneErrorBox(TEXT("There was an error uncomressing the data!"));
}

}  // namespace
