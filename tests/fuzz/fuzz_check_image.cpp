// libFuzzer target: any bytes as a decompressed image. The check must never
// read outside them, and an image it accepts must be safe to read through
// every accessor.
#include <cstring>
#include <vector>

#include "data/rules_image.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    // A copy of exactly size bytes, so AddressSanitizer sees any read past them.
    std::vector<unsigned char> image(data, data + size);
    if (!IsWellFormedRulesImage(image.data(), image.size()))
        return 0;
    SetRulesImage(image.data());
    std::size_t total = 0;
    for (int c = 0; c < GetCategoryCount(); ++c) {
        total += std::strlen(GetCategoryName(c));
        for (int e = 0; e < GetEntryCount(c); ++e)
            total += std::strlen(GetEntryTitle(c, e)) + std::strlen(GetEntryBody(c, e));
    }
    SetRulesImage(nullptr);
    return total == static_cast<std::size_t>(-1);
}
