#include "pane/word_match.h"

namespace {

unsigned char FoldAsciiLetter(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
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
    // Most start positions fail on their first byte; test that before the
    // rest of the word, which keeps body searches over a megabyte quick.
    const unsigned char first = FoldAsciiLetter(static_cast<unsigned char>(word[0]));
    for (std::size_t p = 0; p + n <= length; ++p) {
        if (FoldAsciiLetter(static_cast<unsigned char>(text[p])) == first &&
            EqualFoldingAsciiLetters(text + p + 1, word + 1, n - 1))
            return true;
    }
    return false;
}
