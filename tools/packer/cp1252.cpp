// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; this table holds the
// code points of that range (0 where the code page defines no character).
#include "tools/packer/cp1252.h"

#include <cstdint>
#include <cstdio>

namespace {

const char32_t highControlRange[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

std::string CodePointName(char32_t c)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

// The Windows-1252 byte of a code point, or -1.
int Cp1252ByteOf(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (int i = 0; i < 32; ++i) {
        if (highControlRange[i] != 0 && highControlRange[i] == c)
            return 0x80 + i;
    }
    return -1;
}

// Decodes one UTF-8 sequence at text[i]; advances i. Returns false on a
// malformed, overlong or surrogate sequence.
bool DecodeUtf8(std::string_view text, std::size_t& i, char32_t& c)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        c = lead;
        ++i;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        return false;
    }
    if (i + length > text.size())
        return false;
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    i += length;
    return true;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t Cp1252CodePoint(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? highControlRange[byte - 0x80] : byte;
}

bool ConvertUtf8ToCp1252(std::string_view utf8, std::string& cp1252, std::string& error)
{
    cp1252.clear();
    cp1252.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        if (!DecodeUtf8(utf8, i, c)) {
            error = "malformed UTF-8";
            return false;
        }
        const int byte = Cp1252ByteOf(c);
        if (byte < 0) {
            error = "character " + CodePointName(c) + " has no Windows-1252 form";
            return false;
        }
        cp1252 += static_cast<char>(byte);
    }
    return true;
}

bool ConvertUtf8ToCp1252Substituting(std::string_view utf8, char substitute, std::string& cp1252)
{
    cp1252.clear();
    cp1252.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        if (!DecodeUtf8(utf8, i, c))
            return false;
        const int byte = Cp1252ByteOf(c);
        cp1252 += byte < 0 ? substitute : static_cast<char>(byte);
    }
    return true;
}

bool ConvertCp1252ToUtf8(std::string_view cp1252, std::string& utf8, std::string& error)
{
    utf8.clear();
    utf8.reserve(cp1252.size() + cp1252.size() / 8);
    for (const char ch : cp1252) {
        const auto byte = static_cast<unsigned char>(ch);
        const char32_t c = Cp1252CodePoint(byte);
        if (c == 0 && byte != 0) {
            char name[8];
            std::snprintf(name, sizeof name, "0x%02X", byte);
            error = std::string("byte ") + name + " is undefined in Windows-1252";
            return false;
        }
        AppendUtf8(utf8, c);
    }
    return true;
}
