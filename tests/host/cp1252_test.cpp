// UTF-8 and Windows-1252: the typographic characters the rules use come
// through; anything the code page lacks, or malformed UTF-8, is refused.
#include <gtest/gtest.h>

#include "tools/packer/cp1252.h"

namespace {

TEST(Cp1252, TypographicCharactersMapToTheirBytes)
{
    std::string out;
    std::string error;
    ASSERT_TRUE(ConvertUtf8ToCp1252("\xE2\x80\xA0 \xE2\x80\x98\xE2\x80\x99\xE2\x80\x9C\xE2\x80\x9D"
                                    " \xE2\x80\x93\xE2\x80\x94 \xC2\xAD\xC2\xB0 \xC3\xA9\t!",
                                    out, error))
        << error;
    EXPECT_EQ(out, "\x86 \x91\x92\x93\x94 \x96\x97 \xAD\xB0 \xE9\t!");

    std::string back;
    ASSERT_TRUE(ConvertCp1252ToUtf8(out, back, error));
    EXPECT_EQ(back, "\xE2\x80\xA0 \xE2\x80\x98\xE2\x80\x99\xE2\x80\x9C\xE2\x80\x9D"
                    " \xE2\x80\x93\xE2\x80\x94 \xC2\xAD\xC2\xB0 \xC3\xA9\t!");
}

TEST(Cp1252, RefusesWhatItCannotHold)
{
    struct Case {
        const char* utf8;
        const char* error;
    };
    const Case cases[] = {
        {"\xE2\x89\xA4", "character U+2264 has no Windows-1252 form"},  // less-or-equal sign
        {"\xC2\x81", "character U+0081 has no Windows-1252 form"},      // a C1 control
        {"\xF0\x9F\x98\x80", "character U+1F600 has no Windows-1252 form"},
        {"\xC3", "malformed UTF-8"},                                    // cut short
        {"\xC0\xAF", "malformed UTF-8"},                                // overlong
        {"\xED\xA0\x80", "malformed UTF-8"},                            // a surrogate
        {"\x92", "malformed UTF-8"},                                    // Windows-1252, not UTF-8
    };
    for (const Case& c : cases) {
        std::string out;
        std::string error;
        EXPECT_FALSE(ConvertUtf8ToCp1252(c.utf8, out, error)) << c.utf8;
        EXPECT_EQ(error, c.error);
    }
}

TEST(Cp1252, UndefinedBytesHaveNoUtf8Form)
{
    std::string out;
    std::string error;
    EXPECT_FALSE(ConvertCp1252ToUtf8("ab\x9D", out, error));
    EXPECT_EQ(error, "byte 0x9D is undefined in Windows-1252");
}

}  // namespace
