// Reading the program icon's pixel-art source: colours, maps, and every
// refusal naming its file and line.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tools/icon/icon_source.h"

namespace {

// A good source: line 1 the colour, line 2 "image 32", lines 3-34 its rows,
// line 35 "image 16", lines 36-51 its rows.
std::vector<std::string> GoodLines()
{
    std::vector<std::string> lines = {"colour K ink 2E1C14FF", "image 32"};
    for (int row = 0; row < 32; ++row)
        lines.push_back(std::string(31, '.') + "K");
    lines.push_back("image 16");
    for (int row = 0; row < 16; ++row)
        lines.push_back("K" + std::string(15, '.'));
    return lines;
}

std::string Join(const std::vector<std::string>& lines, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i)
        text += lines[i] + "\n";
    return text;
}

std::string Join(const std::vector<std::string>& lines)
{
    return Join(lines, lines.size());
}

std::vector<std::string> ParseErrors(const std::string& text)
{
    std::vector<IconImage> images;
    std::vector<std::string> errors;
    EXPECT_FALSE(ParseIconSource(text, "icon.txt", images, errors));
    return errors;
}

const IconPixel& PixelAt(const IconImage& image, int row, int column)
{
    return image.pixels[static_cast<std::size_t>(row * image.size + column)];
}

TEST(ParseIconSource, ReadsColoursAsRgbaAndDotsAsTransparent)
{
    std::vector<std::string> lines = GoodLines();
    lines[0] = "# the ink\r\n\r\n  colour K ink  2e1C14f0\r";
    lines[2] = "K" + std::string(30, '.') + "K";
    std::vector<IconImage> images;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParseIconSource("\xEF\xBB\xBF" + Join(lines), "icon.txt", images, errors))
        << errors.front();
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].size, 32);
    EXPECT_EQ(images[1].size, 16);
    EXPECT_EQ(PixelAt(images[0], 0, 0), (IconPixel{0x2E, 0x1C, 0x14, 0xF0}));
    EXPECT_EQ(PixelAt(images[0], 0, 1), (IconPixel{0, 0, 0, 0}));
    EXPECT_EQ(PixelAt(images[0], 31, 31), (IconPixel{0x2E, 0x1C, 0x14, 0xF0}));
    EXPECT_EQ(PixelAt(images[1], 15, 0), (IconPixel{0x2E, 0x1C, 0x14, 0xF0}));
    EXPECT_EQ(PixelAt(images[1], 15, 15), (IconPixel{0, 0, 0, 0}));
}

TEST(ParseIconSource, RefusalsNameTheLine)
{
    struct Case {
        int line;  // replaced by text
        std::string text;
        const char* error;  // the first one reported
    };
    const Case cases[] = {
        {1, "colour K ink", "icon.txt:1: a colour line is: colour <character> <name> <RRGGBBAA>"},
        {1, "colour . ink 2E1C14FF",
         "icon.txt:1: '.' is not one printable character other than '.' and '#'"},
        {1, "colour Kk ink 2E1C14FF",
         "icon.txt:1: 'Kk' is not one printable character other than '.' and '#'"},
        {1, "colour K ink 2E1C14FF\ncolour K paper FFFFFFFF",
         "icon.txt:2: 'K' is already a colour (line 1)"},
        {1, "colour K ink 2E1C14", "icon.txt:1: '2E1C14' is not a colour in RRGGBBAA hex"},
        {1, "colour K ink 2E1C14GF", "icon.txt:1: '2E1C14GF' is not a colour in RRGGBBAA hex"},
        {1, "palette K ink 2E1C14FF", "icon.txt:1: expected 'colour', 'image' or a comment"},
        {2, "image 24", "icon.txt:2: an image line is 'image 32' or 'image 16'"},
        {3, std::string(31, '.'), "icon.txt:3: row has 31 characters, not 32"},
        {34, std::string(33, '.'), "icon.txt:34: row has 33 characters, not 32"},
        {36, "x" + std::string(15, '.'), "icon.txt:36: 'x' is not a colour"},
        {37, "\t" + std::string(15, '.'), "icon.txt:37: byte 0x09 is not a colour"},
        {35, "image 32", "icon.txt:35: a second 32 x 32 image (the first is on line 2)"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = GoodLines();
        lines[static_cast<std::size_t>(c.line - 1)] = c.text;
        const std::vector<std::string> errors = ParseErrors(Join(lines));
        ASSERT_FALSE(errors.empty()) << c.text;
        EXPECT_EQ(errors.front(), c.error) << c.text;
    }
}

TEST(ParseIconSource, RefusesASourceWithoutBothImages)
{
    struct Case {
        std::size_t lines;  // of the good source kept
        std::vector<std::string> errors;
    };
    const Case cases[] = {
        {0, {"icon.txt:1: no 32 x 32 image", "icon.txt:1: no 16 x 16 image"}},
        {34, {"icon.txt:34: no 16 x 16 image"}},
        {40, {"icon.txt:40: the file ends after 5 rows of the 16 x 16 image"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseErrors(Join(GoodLines(), c.lines)), c.errors) << c.lines << " lines";
}

// A source of three 16 x 16 images, as the menu bar bitmap's: line 1 the
// colour, then "image 16" on lines 2, 19 and 36, each followed by its rows.
std::vector<std::string> StripLines()
{
    std::vector<std::string> lines = {"colour K ink 2E1C14FF"};
    for (int image = 0; image < 3; ++image) {
        lines.push_back("image 16");
        for (int row = 0; row < 16; ++row)
            lines.push_back(std::string(16, 'K'));
    }
    return lines;
}

std::vector<std::string> ParseStripErrors(const std::string& text)
{
    std::vector<IconImage> images;
    std::vector<std::string> errors;
    EXPECT_FALSE(ParsePixelSource(text, "strip.txt", {16, 16, 16}, images, errors));
    return errors;
}

TEST(ParsePixelSource, ReadsSeveralImagesOfOneSizeInFileOrderWithTheirLines)
{
    std::vector<std::string> lines = StripLines();
    lines[2 + 17] = "." + std::string(15, 'K');  // image 1, row 0
    std::vector<IconImage> images;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParsePixelSource(Join(lines), "strip.txt", {16, 16, 16}, images, errors))
        << errors.front();
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(PixelAt(images[0], 0, 0).alpha, 0xFF);
    EXPECT_EQ(PixelAt(images[1], 0, 0).alpha, 0);
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(images[i].rowLines.size(), 16u);
        EXPECT_EQ(images[i].rowLines.front(), static_cast<int>(3 + 17 * i));
        EXPECT_EQ(images[i].rowLines.back(), static_cast<int>(18 + 17 * i));
    }
}

TEST(ParsePixelSource, RefusesAnyOtherNumberOrSizeOfImages)
{
    struct Case {
        std::string text;
        std::vector<std::string> errors;
    };
    const std::string strip = Join(StripLines());
    const std::string image = "image 16\n" + Join(std::vector<std::string>(16, "KKKKKKKKKKKKKKKK"));
    const Case cases[] = {
        {Join(StripLines(), 35), {"strip.txt:35: only 2 16 x 16 images, not 3"}},
        {Join(StripLines(), 1), {"strip.txt:1: no 16 x 16 image"}},
        {strip + image, {"strip.txt:53: more than 3 16 x 16 images (the first is on line 2)"}},
        {strip + image + image,
         {"strip.txt:53: more than 3 16 x 16 images (the first is on line 2)",
          "strip.txt:70: more than 3 16 x 16 images (the first is on line 2)"}},
        {"colour K ink 2E1C14FF\nimage 32\n", {"strip.txt:2: an image line is 'image 16'"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseStripErrors(c.text), c.errors) << c.text.substr(0, 60);
}

TEST(ParseIconSource, ReadsTheShippedIcon)
{
    std::ifstream in(VELLUM_ICON_SOURCE, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<IconImage> images;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParseIconSource(text, VELLUM_ICON_SOURCE, images, errors)) << errors.front();
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].size, 32);
    EXPECT_EQ(images[1].size, 16);
}

}  // namespace
