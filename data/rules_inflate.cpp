// Inflating and checking the compressed data resource in one go.
#include "data/rules_inflate.h"

#include <cstdlib>
#include <cstdint>
#include <zlib.h>

#include "data/rules_image.h"

namespace {

constexpr std::size_t lengthFieldSize = 4;

void* AllocateFromHeap(std::size_t size) { return std::malloc(size); }
void ReleaseToHeap(void* block) { std::free(block); }

InflatedImage Failed(InflateStatus status) { return InflatedImage{status, nullptr, 0}; }

// Inflates into block and reports whether the stream filled it exactly.
bool InflateExactly(unsigned char* block, std::size_t size, const unsigned char* stream,
                    std::size_t streamSize)
{
    uLongf produced = static_cast<uLongf>(size);
    const int result = uncompress(block, &produced, stream, static_cast<uLong>(streamSize));
    return result == Z_OK && produced == size;
}

}  // namespace

ImageAllocator HeapImageAllocator() { return ImageAllocator{AllocateFromHeap, ReleaseToHeap}; }

InflatedImage InflateRulesImage(const unsigned char* resource, std::size_t resourceSize,
                                const ImageAllocator& allocator)
{
    if (resourceSize < lengthFieldSize)
        return Failed(InflateStatus::badData);
    const std::size_t size = ReadImageNumber(resource);
    // An image holds at least its category count; asking the allocator for
    // nothing would make a zero-length image look like an allocation failure.
    if (size < lengthFieldSize)
        return Failed(InflateStatus::badData);
    auto* block = static_cast<unsigned char*>(allocator.allocate(size));
    if (block == nullptr)
        return Failed(InflateStatus::noMemory);
    if (!InflateExactly(block, size, resource + lengthFieldSize, resourceSize - lengthFieldSize) ||
        !IsWellFormedRulesImage(block, size)) {
        allocator.release(block);
        return Failed(InflateStatus::badData);
    }
    return InflatedImage{InflateStatus::ready, block, size};
}
