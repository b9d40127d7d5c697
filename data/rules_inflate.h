// Turns the compressed data resource into a rules data image: a 32-bit
// little-endian length N, then a zlib stream that must inflate to exactly N
// bytes forming a well-formed image.
#pragma once

#include <cstddef>

// Where the image block comes from; the loader's tests replace it to make an
// allocation fail.
struct ImageAllocator {
    void* (*allocate)(std::size_t size);
    void (*release)(void* block);
};

ImageAllocator HeapImageAllocator();

enum class InflateStatus {
    ready,     // block holds a well-formed image of size bytes
    noMemory,  // the block of N bytes could not be allocated
    badData,   // the resource is short, the stream damaged, or the image malformed
};

struct InflatedImage {
    InflateStatus status;
    unsigned char* block;  // owned by the caller when status is ready, else null
    std::size_t size;
};

InflatedImage InflateRulesImage(const unsigned char* resource, std::size_t resourceSize,
                                const ImageAllocator& allocator);
