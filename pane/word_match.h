// The word test of the type-ahead filter and the full-body search, on 8-bit
// text: a word matches where its bytes occur with only the letters A to Z
// folded onto a to z; every other byte, Windows-1252 letters included, must
// be equal.
#pragma once

#include <cstddef>

// Compares n bytes; a comparison of 0 bytes is equal.
bool EqualFoldingAsciiLetters(const char* a, const char* b, std::size_t n);

// Whether the word of n bytes occurs in the text of length bytes. A word of
// length 0 occurs in every text; one longer than the text in none.
bool TextHasWord(const char* text, std::size_t length, const char* word, std::size_t n);
