#include "pane/word_match.h"

#include <cstring>

namespace {

unsigned char FoldAsciiLetter(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// The first position from p up to last whose byte is either form of the
// word's first byte, or null; memchr finds each form far faster than a loop
// over every byte.
const char* NextCandidate(const char* p, const char* last, unsigned char lower, unsigned char upper)
{
    const std::size_t span = static_cast<std::size_t>(last - p) + 1;
    const auto* atLower = static_cast<const char*>(std::memchr(p, lower, span));
    if (lower == upper)
        return atLower;
    const std::size_t upperSpan = atLower != nullptr ? static_cast<std::size_t>(atLower - p) : span;
    const auto* atUpper = static_cast<const char*>(std::memchr(p, upper, upperSpan));
    return atUpper != nullptr ? atUpper : atLower;
}

}  // namespace

bool EqualFoldingAsciiLetters(const char* a, const char* b, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        if (FoldAsciiLetter(static_cast<unsigned char>(a[i])) !=
            FoldAsciiLetter(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool TextHasWord(const char* text, std::size_t length, const char* word, std::size_t n)
{
    if (n > length)
        return false;
    if (n == 0)
        return true;
    // Most start positions fail on their first byte: jump from one possible
    // first byte to the next, which keeps body searches over a megabyte quick.
    const unsigned char lower = FoldAsciiLetter(static_cast<unsigned char>(word[0]));
    const unsigned char upper =
        lower >= 'a' && lower <= 'z' ? static_cast<unsigned char>(lower - ('a' - 'A')) : lower;
    const char* last = text + (length - n);
    for (const char* p = NextCandidate(text, last, lower, upper); p != nullptr;
         p = p < last ? NextCandidate(p + 1, last, lower, upper) : nullptr) {
        if (EqualFoldingAsciiLetters(p + 1, word + 1, n - 1))
            return true;
    }
    return false;
}
