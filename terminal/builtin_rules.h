// The rules image built into the terminal program, generated from the image
// the build packs (embed_bytes.cmake).
#pragma once

#include <cstddef>

extern const unsigned char builtinRulesImage[];
extern const std::size_t builtinRulesImageSize;
