// Display copies of image texts. The image is always Windows-1252; the wide
// build widens with the platform's conversion for the current code page.
#include "data/display_text.h"

#include <cstdlib>
#include <cstring>

#ifdef UNICODE

TCHAR* MakeDisplayText(const char* text)
{
    const int needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    const std::size_t count = static_cast<std::size_t>(needed > 0 ? needed : 0) + 1;
    auto* copy = static_cast<TCHAR*>(std::calloc(count, sizeof(TCHAR)));
    if (copy == nullptr)
        return nullptr;
    // The block was zeroed and is one longer than asked for, so the copy is
    // terminated even if the conversion stops short.
    MultiByteToWideChar(CP_ACP, 0, text, -1, copy, needed);
    return copy;
}

#else

TCHAR* MakeDisplayText(const char* text)
{
    const std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<TCHAR*>(std::malloc(size));
    if (copy != nullptr)
        std::memcpy(copy, text, size);
    return copy;
}

#endif

void ReleaseDisplayText(TCHAR* text) { std::free(text); }
