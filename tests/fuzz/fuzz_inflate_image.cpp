// libFuzzer target: any bytes as a data resource. Whatever inflates and
// passes the check must be safe to read through every accessor.
#include <cstdlib>
#include <cstring>

#include "data/rules_image.h"
#include "data/rules_inflate.h"

namespace {

// Refuses blocks larger than any real image may be, so that a forged length
// tests the refusal path instead of exhausting the fuzzer's memory.
void* AllocateModestly(std::size_t size) { return size <= (64u << 20) ? std::malloc(size) : nullptr; }

std::size_t ReadEveryText()
{
    std::size_t total = 0;
    for (int c = 0; c < GetCategoryCount(); ++c) {
        total += std::strlen(GetCategoryName(c));
        for (int e = 0; e < GetEntryCount(c); ++e)
            total += std::strlen(GetEntryTitle(c, e)) + std::strlen(GetEntryBody(c, e));
    }
    return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const InflatedImage image = InflateRulesImage(data, size, ImageAllocator{AllocateModestly, std::free});
    if (image.status == InflateStatus::ready) {
        SetRulesImage(image.block);
        ReadEveryText();
        SetRulesImage(nullptr);
        std::free(image.block);
    }
    return 0;
}
