#include "tests/host/test_images.h"

#include <zlib.h>

#include <fstream>
#include <iterator>

#include "data/rules_image.h"
#include "tools/packer/rules_pack.h"

void PutNumberAt(Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    if (bytes.size() < offset + 4)
        bytes.resize(offset + 4, 0);
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t AppendPaddedText(Bytes& bytes, const std::string& text)
{
    const auto offset = static_cast<std::uint32_t>(bytes.size());
    bytes.insert(bytes.end(), text.begin(), text.end());
    do {
        bytes.push_back(0);
    } while (bytes.size() % 4 != 0);
    return offset;
}

Bytes MakeSmallImage()
{
    Bytes image;
    PutNumberAt(image, 0, 2);
    image.resize(4 + 8 * 2, 0);
    PutNumberAt(image, 8, AppendPaddedText(image, "Alpha"));
    PutNumberAt(image, 16, AppendPaddedText(image, "Beta"));
    const auto alpha = static_cast<std::uint32_t>(image.size());
    PutNumberAt(image, 4, alpha);
    PutNumberAt(image, alpha, 2);
    image.resize(alpha + 4 + 8 * 2, 0);
    PutNumberAt(image, alpha + 4, AppendPaddedText(image, "One"));
    PutNumberAt(image, alpha + 8, AppendPaddedText(image, "Body one"));
    PutNumberAt(image, alpha + 12, AppendPaddedText(image, "Four"));
    PutNumberAt(image, alpha + 16, AppendPaddedText(image, "Body four!"));
    const auto beta = static_cast<std::uint32_t>(image.size());
    PutNumberAt(image, 12, beta);
    PutNumberAt(image, beta, 0);
    return image;
}

Bytes MakeResource(const Bytes& image)
{
    uLongf size = compressBound(static_cast<uLong>(image.size()));
    Bytes resource(4 + size);
    PutNumberAt(resource, 0, static_cast<std::uint32_t>(image.size()));
    compress(resource.data() + 4, &size, image.data(), static_cast<uLong>(image.size()));
    resource.resize(4 + size);
    return resource;
}

bool ReadShippedImage(Bytes& image, std::string& error)
{
    std::ifstream in(VELLUM_RULES_RESOURCE, std::ios::binary);
    const Bytes resource{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ExpandRulesResource(resource, image, error);
}

void ShippedImageTest::SetUp()
{
    std::string error;
    ASSERT_TRUE(ReadShippedImage(image, error)) << error;
    SetRulesImage(image.data());
}

void ShippedImageTest::TearDown() { SetRulesImage(nullptr); }
