// Inflating the data resource: only a stream that fills the block exactly
// with a well-formed image is accepted.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "data/rules_image.h"
#include "data/rules_inflate.h"
#include "tests/host/test_images.h"

namespace {

InflatedImage Inflate(const Bytes& resource)
{
    return InflateRulesImage(resource.data(), resource.size(), HeapImageAllocator());
}

TEST(InflateRulesImage, GoodResourceGivesTheImageByteForByte)
{
    const Bytes image = MakeSmallImage();
    const InflatedImage inflated = Inflate(MakeResource(image));
    ASSERT_EQ(inflated.status, InflateStatus::ready);
    ASSERT_EQ(inflated.size, image.size());
    EXPECT_EQ(std::memcmp(inflated.block, image.data(), image.size()), 0);
    std::free(inflated.block);
}

struct BadResource {
    const char* what;
    Bytes (*make)();
};

Bytes TooShortForTheLength() { return Bytes{0x10, 0x00}; }

Bytes LengthLargerThanTheStream()
{
    Bytes resource = MakeResource(MakeSmallImage());
    PutNumberAt(resource, 0, static_cast<std::uint32_t>(MakeSmallImage().size() + 4));
    return resource;
}

Bytes LengthSmallerThanTheStream()
{
    Bytes resource = MakeResource(MakeSmallImage());
    PutNumberAt(resource, 0, static_cast<std::uint32_t>(MakeSmallImage().size() - 4));
    return resource;
}

Bytes ZeroLength()
{
    Bytes resource = MakeResource(MakeSmallImage());
    PutNumberAt(resource, 0, 0);
    return resource;
}

Bytes TruncatedStream()
{
    Bytes resource = MakeResource(MakeSmallImage());
    resource.resize(resource.size() / 2);
    return resource;
}

Bytes DamagedStream()
{
    Bytes resource = MakeResource(MakeSmallImage());
    for (std::size_t i = 8; i < resource.size(); i += 3)
        resource[i] ^= 0x5A;
    return resource;
}

Bytes MalformedImageInAGoodStream()
{
    Bytes image = MakeSmallImage();
    PutNumberAt(image, 4, 0xFFFFFFF0);
    return MakeResource(image);
}

class BadResourceTest : public ::testing::TestWithParam<BadResource> {};

TEST_P(BadResourceTest, IsBadDataAndReturnsNoBlock)
{
    const InflatedImage inflated = Inflate(GetParam().make());
    EXPECT_EQ(inflated.status, InflateStatus::badData) << GetParam().what;
    EXPECT_EQ(inflated.block, nullptr);
}

const BadResource badResources[] = {
    {"too short for the length", TooShortForTheLength},
    {"length larger than the stream gives", LengthLargerThanTheStream},
    {"length smaller than the stream gives", LengthSmallerThanTheStream},
    {"zero length", ZeroLength},
    {"truncated stream", TruncatedStream},
    {"damaged stream", DamagedStream},
    {"malformed image in a good stream", MalformedImageInAGoodStream},
};

INSTANTIATE_TEST_SUITE_P(Cases, BadResourceTest, ::testing::ValuesIn(badResources));

// An allocator that refuses, and one that counts what it hands out and gets back.
int liveBlocks = 0;
void* Refuse(std::size_t) { return nullptr; }
void* CountedAllocate(std::size_t size)
{
    ++liveBlocks;
    return std::malloc(size);
}
void CountedRelease(void* block)
{
    --liveBlocks;
    std::free(block);
}

TEST(InflateRulesImage, RefusedAllocationIsNoMemory)
{
    const Bytes resource = MakeResource(MakeSmallImage());
    const InflatedImage inflated =
        InflateRulesImage(resource.data(), resource.size(), ImageAllocator{Refuse, std::free});
    EXPECT_EQ(inflated.status, InflateStatus::noMemory);
    EXPECT_EQ(inflated.block, nullptr);
}

TEST(InflateRulesImage, BlockOfAFailedInflateIsReleased)
{
    const Bytes resource = DamagedStream();
    liveBlocks = 0;
    InflateRulesImage(resource.data(), resource.size(),
                      ImageAllocator{CountedAllocate, CountedRelease});
    EXPECT_EQ(liveBlocks, 0);
}

}  // namespace
