// Laying out and converting rules texts for a terminal: see text_output.h.
#include "terminal/text_output.h"

#include <algorithm>

#include "pane/table_plan.h"
#include "tools/packer/cp1252.h"

namespace {

constexpr unsigned char softHyphen = 0xAD;
constexpr char32_t replacementCharacter = 0xFFFD;

constexpr unsigned char plain = markPlain;
constexpr unsigned char bold = markBold;
constexpr unsigned char underlined = markUnderlined;
constexpr int noLink = -1;

const char boldOn[] = "\x1b[1m";
const char underlineOn[] = "\x1b[4m";
const char marksOff[] = "\x1b[0m";

using Glyph = LaidOutCharacter;
using GlyphLine = LaidOutLine;

bool IsBlank(const Glyph& glyph)
{
    return glyph.byte == ' ';
}

// Columns a byte takes on the screen.
int Columns(unsigned char byte)
{
    return byte == softHyphen ? 0 : 1;
}

int Columns(std::string_view text)
{
    int columns = 0;
    for (const char c : text)
        columns += Columns(static_cast<unsigned char>(c));
    return columns;
}

void AppendShown(std::string& out, unsigned char byte)
{
    AppendUtf8(out, ShownCharacter(byte));
}

// Wraps one line of glyphs: see LayOutEntry.
class LineWrapper {
  public:
    LineWrapper(int lineWidth, int hangingIndent, std::vector<GlyphLine>& lines)
        : width(lineWidth), indent(hangingIndent), out(lines)
    {
    }

    void Wrap(const GlyphLine& line)
    {
        std::size_t i = 0;
        while (i < line.size()) {
            std::size_t end = i;
            while (end < line.size() && IsBlank(line[end]) == IsBlank(line[i]))
                ++end;
            if (IsBlank(line[i]))
                TakeBlanks(line, i, end);
            else
                PlaceWord(line, i, end);
            i = end;
        }
        out.push_back(current);
    }

  private:
    // Blanks before the first word of the line are kept (an empty first
    // cell); others wait for the word they go before.
    void TakeBlanks(const GlyphLine& line, std::size_t begin, std::size_t end)
    {
        if (firstLine && !holdsWord) {
            current.insert(current.end(), line.begin() + begin, line.begin() + end);
            column += static_cast<int>(end - begin);
        } else {
            pending = line.begin() + begin;
            pendingCount = static_cast<int>(end - begin);
        }
    }

    void PlaceWord(const GlyphLine& line, std::size_t begin, std::size_t end)
    {
        while (begin < end) {
            const int before = holdsWord ? pendingCount : 0;
            int wordColumns = 0;
            for (std::size_t k = begin; k < end; ++k)
                wordColumns += Columns(line[k].byte);
            if (width <= 0 || column + before + wordColumns <= width) {
                Append(line, begin, end, before);
                return;
            }
            const std::size_t hyphen = LastSoftHyphenThatFits(line, begin, end, column + before);
            if (hyphen != end) {
                Append(line, begin, hyphen, before);
                current.push_back(Glyph{'-', line[hyphen].marks, line[hyphen].link});
                StartNextLine();
                begin = hyphen + 1;
            } else if (holdsWord) {
                StartNextLine();
            } else {
                begin = CutToFit(line, begin, end);
            }
        }
    }

    // The last soft hyphen of the word up to which the word and a hyphen fit
    // after column; end when none does.
    std::size_t LastSoftHyphenThatFits(const GlyphLine& line, std::size_t begin, std::size_t end,
                                       int from) const
    {
        std::size_t found = end;
        int columns = from;
        for (std::size_t k = begin; k < end; ++k) {
            if (line[k].byte == softHyphen && columns + 1 <= width && k > begin)
                found = k;
            columns += Columns(line[k].byte);
        }
        return found;
    }

    // A word wider than a whole line: as much as fits, at least a character.
    std::size_t CutToFit(const GlyphLine& line, std::size_t begin, std::size_t end)
    {
        std::size_t k = begin;
        int columns = column;
        while (k < end && (columns + Columns(line[k].byte) <= width || k == begin)) {
            columns += Columns(line[k].byte);
            ++k;
        }
        Append(line, begin, k, 0);
        StartNextLine();
        return k;
    }

    void Append(const GlyphLine& line, std::size_t begin, std::size_t end, int blanks)
    {
        for (int b = 0; b < blanks; ++b)
            current.push_back(pending[b]);
        column += blanks;
        for (std::size_t k = begin; k < end; ++k) {
            if (line[k].byte == softHyphen)
                continue;
            current.push_back(line[k]);
            ++column;
        }
        holdsWord = holdsWord || end > begin;
        pendingCount = 0;
    }

    void StartNextLine()
    {
        out.push_back(current);
        firstLine = false;
        current.assign(static_cast<std::size_t>(indent), Glyph{' ', plain, noLink});
        column = indent;
        holdsWord = false;
        pendingCount = 0;
    }

    int width;
    int indent;
    std::vector<GlyphLine>& out;
    GlyphLine current;
    int column = 0;
    bool firstLine = true;
    bool holdsWord = false;
    GlyphLine::const_iterator pending;
    int pendingCount = 0;
};

// The glyphs of a stretch of the body, from the glyphs of the whole body.
void AppendBodyText(GlyphLine& line, std::string_view text, std::string_view body,
                    const GlyphLine& glyphs)
{
    const auto offset = static_cast<std::size_t>(text.data() - body.data());
    line.insert(line.end(), glyphs.begin() + static_cast<std::ptrdiff_t>(offset),
                glyphs.begin() + static_cast<std::ptrdiff_t>(offset + text.size()));
}

std::vector<std::string_view> SplitCells(std::string_view row)
{
    std::vector<std::string_view> cells;
    for (std::size_t start = 0;;) {
        const std::size_t tab = row.find('\t', start);
        cells.push_back(row.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos)
            return cells;
        start = tab + 1;
    }
}

// Unwrapped text lines its columns up this far at most; wrapped text, within
// its width. A column starting farther follows its cell after the gap, so
// that no body, however made, pads its rows beyond reason.
constexpr int farthestUnwrappedStop = 1000;

// A table row with each cell but the last padded to the next stop.
GlyphLine ComposeRow(std::string_view row, std::string_view body, const std::vector<int>& stops,
                     const GlyphLine& glyphs, int width)
{
    const int farthest = width > 0 ? width : farthestUnwrappedStop;
    GlyphLine line;
    const std::vector<std::string_view> cells = SplitCells(row);
    int column = 0;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        AppendBodyText(line, cells[k], body, glyphs);
        column += Columns(cells[k]);
        if (k + 1 == cells.size())
            break;
        const int stop =
            k < stops.size() && stops[k] <= farthest ? stops[k] : column + tableColumnGap;
        do {
            line.push_back(Glyph{' ', plain, noLink});
            ++column;
        } while (column < stop);
    }
    return line;
}

int HangingIndent(const std::vector<int>& stops, std::size_t tabs, int width)
{
    if (tabs == 0 || tabs > stops.size())
        return 0;
    const int stop = stops[tabs - 1];
    return stop <= hangingIndentColumns && (width <= 0 || stop <= width / 2) ? stop : 0;
}

// Each byte of the body as a glyph: the bytes of a link know it, and are
// underlined where styled.
GlyphLine BodyGlyphs(std::string_view body, const std::vector<FoundLink>& links, bool styled)
{
    GlyphLine glyphs;
    glyphs.reserve(body.size());
    for (const char c : body)
        glyphs.push_back(Glyph{static_cast<unsigned char>(c), plain, noLink});
    for (std::size_t l = 0; l < links.size(); ++l) {
        const std::size_t end = std::min(body.size(), links[l].begin + links[l].length);
        for (std::size_t k = std::min(links[l].begin, end); k < end; ++k) {
            glyphs[k].marks = styled ? underlined : plain;
            glyphs[k].link = static_cast<int>(l);
        }
    }
    return glyphs;
}

void AppendMarks(std::string& out, unsigned char marks)
{
    if (marks & bold)
        out += boldOn;
    if (marks & underlined)
        out += underlineOn;
}

void WriteLines(const std::vector<GlyphLine>& lines, std::string& out)
{
    for (const GlyphLine& line : lines) {
        unsigned char marks = plain;
        for (const Glyph& glyph : line) {
            if (glyph.marks != marks) {
                if (marks != plain)
                    out += marksOff;
                AppendMarks(out, glyph.marks);
                marks = glyph.marks;
            }
            AppendShown(out, glyph.byte);
        }
        if (marks != plain)
            out += marksOff;
        out += '\n';
    }
}

} // namespace

std::size_t CharacterCount(std::string_view utf8)
{
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::size_t CharacterOffset(std::string_view utf8, std::size_t index)
{
    std::size_t characters = 0;
    for (std::size_t k = 0; k < utf8.size(); ++k) {
        if ((static_cast<unsigned char>(utf8[k]) & 0xC0) != 0x80 && characters++ == index)
            return k;
    }
    return utf8.size();
}

char32_t ShownCharacter(unsigned char byte)
{
    const char32_t c = Cp1252CodePoint(byte);
    const bool steers = c < 0x20 || c == 0x7F;
    return c == 0 || steers ? replacementCharacter : c;
}

std::string ShownText(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    for (const char c : cp1252)
        AppendShown(out, static_cast<unsigned char>(c));
    return out;
}

std::string ScriptText(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    for (std::size_t k = 0; k < cp1252.size(); ++k) {
        if (cp1252[k] == '\r' && k + 1 < cp1252.size() && cp1252[k + 1] == '\n')
            continue;
        const char32_t c = Cp1252CodePoint(static_cast<unsigned char>(cp1252[k]));
        AppendUtf8(out, c == 0 && cp1252[k] != '\0' ? replacementCharacter : c);
    }
    return out;
}

std::string BoldText(const std::string& utf8)
{
    return boldOn + utf8 + marksOff;
}

std::vector<LaidOutLine> LayOutEntryLines(std::string_view title, std::string_view body,
                                          const std::vector<FoundLink>& links,
                                          const EntryLayout& layout)
{
    std::vector<GlyphLine> lines;
    const int width = layout.width;
    GlyphLine titleLine;
    for (const char c : title)
        titleLine.push_back(
            Glyph{static_cast<unsigned char>(c), layout.styled ? bold : plain, noLink});
    LineWrapper(width, 0, lines).Wrap(titleLine);
    lines.push_back(GlyphLine(5, Glyph{'-', plain, noLink}));

    const GlyphLine glyphs = BodyGlyphs(body, links, layout.styled);
    const std::vector<std::string_view> bodyLines = SplitBodyLines(body);
    const CellWidth cellWidth = [](std::string_view cell) { return Columns(cell); };
    const std::vector<BodyTable> tables = PlanBodyTables(body, cellWidth, tableColumnGap);
    auto table = tables.begin();
    for (std::size_t i = 0; i < bodyLines.size(); ++i) {
        while (table != tables.end() && table->firstLine + table->lineCount <= i)
            ++table;
        const std::string_view text = bodyLines[i];
        if (table != tables.end() && table->firstLine <= i) {
            const auto tabs = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\t'));
            LineWrapper(width, HangingIndent(table->stops, tabs, width), lines)
                .Wrap(ComposeRow(text, body, table->stops, glyphs, width));
        } else {
            GlyphLine line;
            AppendBodyText(line, text, body, glyphs);
            LineWrapper(width, 0, lines).Wrap(line);
        }
    }
    return lines;
}

std::string LayOutEntry(std::string_view title, std::string_view body,
                        const std::vector<FoundLink>& links, const EntryLayout& layout)
{
    std::string out;
    WriteLines(LayOutEntryLines(title, body, links, layout), out);
    return out;
}
