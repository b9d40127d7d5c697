// Hand-made rules data images for the tests, written field by field so that
// the tests do not take the packer's word for the layout.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Stores a little-endian 32-bit number at offset, growing the bytes if needed.
void PutNumberAt(Bytes& bytes, std::size_t offset, std::uint32_t value);

// Appends a text, its terminator and padding to a multiple of 4; returns its offset.
std::uint32_t AppendPaddedText(Bytes& bytes, const std::string& text);

// A well-formed image of two categories, "Alpha" with entries ("One", "Body
// one") and ("Four", "Body four!") and "Beta" with no entries, laid out in
// the shipped piece order.
Bytes MakeSmallImage();

// The data resource for an image: 32-bit length, then a zlib stream.
Bytes MakeResource(const Bytes& image);

// The image of the shipped resource as the build packed it; false, with the
// reason, when it cannot be read or expanded.
bool ReadShippedImage(Bytes& image, std::string& error);

// Tests over the shipped rules, installed in this process as the programs
// install them.
class ShippedImageTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    Bytes image;
};
