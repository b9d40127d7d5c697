// libFuzzer target: any text in a dice field, as 8-bit and as 16-bit wide
// characters. The parse must agree with the C library's decimal parse held
// to the range of int, and must read nothing past the terminator.
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "dice/dice_engine.h"

namespace {

// The C library's answer, saturated at the ends of int.
int ReferenceNumber(const char* text)
{
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// The wide text with every character outside ASCII (none of them a blank, a
// sign or a digit to the parse) as one byte that is none of those either.
std::string NarrowedForReference(const std::u16string& wide)
{
    std::string narrow;
    for (const char16_t c : wide)
        narrow += c < 0x80 ? static_cast<char>(c) : '\x80';
    return narrow;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    // Exactly the text and its terminator, so AddressSanitizer sees a read past it.
    std::vector<char> narrow(data, data + size);
    narrow.push_back('\0');
    const std::string asText(narrow.data());
    if (ParseFieldNumber(narrow.data()) != ReferenceNumber(asText.c_str()))
        std::abort();

    std::vector<char16_t> wide;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        wide.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    wide.push_back(u'\0');
    const std::u16string wideText(wide.data());
    if (ParseFieldNumber(wide.data()) != ReferenceNumber(NarrowedForReference(wideText).c_str()))
        std::abort();

    // The dialog reads at most nine characters, which never reach the ends of int.
    const std::string shown = asText.substr(0, 9);
    const int number = ParseFieldNumber(shown.c_str());
    if (number > 999999999 || number < -99999999)
        std::abort();
    return 0;
}
