// The rich text view of the browser pane: see reading_view.h.
#include "pane/reading_view.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "pane/table_plan.h"
#include "resources/shared/resource_ids.h"

namespace {

HMODULE richEditLibrary = nullptr;
bool richEditTried = false;

// The control takes at most this many stops in a paragraph; the columns past
// them fall back to the default stops.
constexpr int maxViewStops = MAX_TAB_STOPS;
// A stop is a number of twips in the low 24 bits; the high byte is the
// alignment, which must stay zero.
constexpr LONG farthestTwips = 0x00FFFFFF;

const COLORREF highlightColour = RGB(255, 236, 128);

const TCHAR viewFontProperty[] = TEXT("VellumViewFont");
constexpr UINT_PTR viewSubclassId = 1;

// Under Wine the rich edit control takes WM_SETFONT but answers WM_GETFONT
// with nothing; the view remembers its font so that both messages work as on
// the plain edit control. A new font is no edit of the reader's either, and
// each one would otherwise hold an Undo step (up to a hundred of them).
LRESULT CALLBACK ViewFontProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    switch (message) {
    case WM_SETFONT: {
        SetProp(view, viewFontProperty, reinterpret_cast<HANDLE>(wParam));
        const LRESULT result = DefSubclassProc(view, message, wParam, lParam);
        SendMessage(view, EM_EMPTYUNDOBUFFER, 0, 0);
        return result;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(GetProp(view, viewFontProperty));
    case WM_NCDESTROY:
        RemoveProp(view, viewFontProperty);
        RemoveWindowSubclass(view, ViewFontProc, viewSubclassId);
        break;
    }
    return DefSubclassProc(view, message, wParam, lParam);
}

// The control counts a line break as one character where the text has two:
// positions[i] is the control's position of offset i of the text.
class PositionMap {
public:
    explicit PositionMap(const TCHAR* text)
    {
        LONG position = 0;
        for (int i = 0;; ++i) {
            positions.push_back(position);
            if (text[i] == 0)
                break;
            if (!(text[i] == TEXT('\r') && text[i + 1] == TEXT('\n')))
                ++position;
        }
    }
    LONG At(int offset) const
    {
        const std::size_t last = positions.size() - 1;
        return positions[std::min(static_cast<std::size_t>(std::max(offset, 0)), last)];
    }

private:
    std::vector<LONG> positions;
};

// Selecting is how the control takes a format for a range; the caller's
// selection and scroll position are put back afterwards.
void SelectRange(HWND view, LONG begin, LONG end)
{
    CHARRANGE range = {begin, end};
    SendMessage(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

CHARFORMAT2 CharFormat(DWORD mask, DWORD effects)
{
    CHARFORMAT2 format = {};
    format.cbSize = sizeof(format);
    format.dwMask = mask;
    format.dwEffects = effects;
    return format;
}

void MarkRange(HWND view, LONG begin, LONG end, const CHARFORMAT2& format)
{
    SelectRange(view, begin, end);
    SendMessage(view, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void ResetCharacterFormat(HWND view)
{
    const CHARFORMAT2 format = CharFormat(CFM_BOLD | CFM_LINK | CFM_BACKCOLOR, CFE_AUTOBACKCOLOR);
    SendMessage(view, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void MarkHighlight(HWND view, LONG begin, LONG end)
{
    CHARFORMAT2 format = CharFormat(CFM_BACKCOLOR, 0);
    format.crBackColor = highlightColour;
    MarkRange(view, begin, end, format);
}

// Every paragraph of the range gets the stops (none: the default stops), and
// its wrapped lines start at the hanging indent.
void SetStops(HWND view, LONG begin, LONG end, const std::vector<LONG>& twips, LONG hangingIndent = 0)
{
    PARAFORMAT format = {};
    format.cbSize = sizeof(format);
    format.dwMask = PFM_TABSTOPS | PFM_OFFSET;
    format.dxOffset = hangingIndent;
    format.cTabCount = static_cast<SHORT>(std::min<std::size_t>(twips.size(), maxViewStops));
    for (int i = 0; i < format.cTabCount; ++i)
        format.rgxTabs[i] = twips[static_cast<std::size_t>(i)];
    SelectRange(view, begin, end);
    SendMessage(view, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

// Measures cells of the shown text in the view's font, in pixels.
class CellMeasure {
public:
    CellMeasure(HWND view, const TCHAR* body, std::string_view imageBody)
        : window(view), context(GetDC(view)), shownBody(body), image(imageBody)
    {
        const auto font = reinterpret_cast<HFONT>(SendMessage(view, WM_GETFONT, 0, 0));
        oldFont = SelectObject(context, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
        TEXTMETRIC metrics = {};
        GetTextMetrics(context, &metrics);
        averageWidth = std::max<int>(1, metrics.tmAveCharWidth);
        pixelsPerInch = std::max(1, GetDeviceCaps(context, LOGPIXELSX));
    }
    ~CellMeasure()
    {
        SelectObject(context, oldFont);
        ReleaseDC(window, context);
    }
    CellMeasure(const CellMeasure&) = delete;
    CellMeasure& operator=(const CellMeasure&) = delete;

    // The planner hands out cells of the image's body; the shown body has one
    // character for each of its bytes, at the same offset.
    int Width(std::string_view cell) const
    {
        const auto offset = static_cast<std::size_t>(cell.data() - image.data());
        SIZE size = {};
        GetTextExtentPoint32(context, shownBody + offset, static_cast<int>(cell.size()), &size);
        return size.cx;
    }
    LONG Twips(int pixels) const
    {
        const long long twips = static_cast<long long>(pixels) * 1440 / pixelsPerInch;
        return static_cast<LONG>(std::min<long long>(twips, farthestTwips));
    }
    int averageWidth = 1;

private:
    HWND window;
    HDC context;
    HGDIOBJ oldFont = nullptr;
    const TCHAR* shownBody;
    std::string_view image;
    int pixelsPerInch = 96;
};

// Stops strictly increasing, as the control requires.
std::vector<LONG> StopsInTwips(const std::vector<int>& pixels, const CellMeasure& measure)
{
    std::vector<LONG> twips;
    for (const int stop : pixels) {
        const LONG next = measure.Twips(stop);
        if (!twips.empty() && next <= twips.back()) {
            if (twips.back() >= farthestTwips)
                break;
            twips.push_back(twips.back() + 1);
        } else {
            twips.push_back(next);
        }
    }
    return twips;
}

std::size_t CountTabs(std::string_view line) { return static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')); }

// A row that wraps goes on under its last cell, where that cell starts near
// enough to the left for the rest to have room in any window: within
// hangingIndentChars average characters (the field labels of a statistics
// block take about 20). Rows with as many cells share one format, so a table
// takes a call or two.
constexpr int hangingIndentChars = 24;

LONG HangingIndent(const std::vector<LONG>& twips, std::size_t tabs, LONG farthest)
{
    if (tabs == 0 || tabs > twips.size() || twips[tabs - 1] > farthest)
        return 0;
    return twips[tabs - 1];
}

void MarkTables(HWND view, const TCHAR* text, const PositionMap& map, const ReadingMarks& marks)
{
    const CellMeasure measure(view, text + marks.bodyStart, marks.imageBody);
    const CellWidth width = [&measure](std::string_view cell) { return measure.Width(cell); };
    const LONG farthestIndent = measure.Twips(hangingIndentChars * measure.averageWidth);
    const std::vector<std::string_view> lines = SplitBodyLines(marks.imageBody);
    const auto offsetOf = [&marks](const char* p) { return marks.bodyStart + static_cast<int>(p - marks.imageBody.data()); };
    for (const BodyTable& table : PlanBodyTables(marks.imageBody, width, measure.averageWidth)) {
        const std::vector<LONG> twips = StopsInTwips(table.stops, measure);
        const std::size_t last = table.firstLine + table.lineCount;
        for (std::size_t row = table.firstLine; row < last;) {
            const std::size_t tabs = CountTabs(lines[row]);
            std::size_t next = row + 1;
            while (next < last && CountTabs(lines[next]) == tabs)
                ++next;
            const std::string_view final = lines[next - 1];
            SetStops(view, map.At(offsetOf(lines[row].data())), map.At(offsetOf(final.data() + final.size())),
                     twips, HangingIndent(twips, tabs, farthestIndent));
            row = next;
        }
    }
}

// The display copy of the body has one character per byte of the image's
// body in every code page the programs run in; where it has not, the body's
// offsets would not fit the text, and the view shows it unmarked.
bool BodyFitsImage(const TCHAR* text, const ReadingMarks& marks)
{
    return lstrlen(text) >= marks.bodyStart &&
           static_cast<std::size_t>(lstrlen(text + marks.bodyStart)) >= marks.imageBody.size();
}

}  // namespace

bool LoadRichEditLibrary()
{
    if (!richEditTried) {
        richEditTried = true;
        richEditLibrary = LoadLibrary(TEXT("riched20.dll"));
    }
    return richEditLibrary != nullptr;
}

bool IsRichEditLoaded() { return richEditLibrary != nullptr; }

HWND MakeRichTextView(HWND pane)
{
    HWND plain = GetDlgItem(pane, IDC_TEXT_VIEW);
    if (!IsRichEditLoaded() || plain == nullptr || IsRichTextView(plain))
        return plain;
    RECT place;
    GetWindowRect(plain, &place);
    MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&place), 2);
    const auto style = static_cast<DWORD>(GetWindowLongPtr(plain, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtr(plain, GWL_EXSTYLE));
    HWND rich = CreateWindowEx(exStyle, RICHEDIT_CLASS, TEXT(""), style, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, pane,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TEXT_VIEW)),
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtr(pane, GWLP_HINSTANCE)),
                               nullptr);
    if (rich == nullptr)
        return plain;
    // Take the plain view's place in the tab order, then its id alone.
    SetWindowPos(rich, plain, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(plain);
    // The whole text is taken as it is set; the default limit is 32K.
    SendMessage(rich, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    SendMessage(rich, EM_SETEVENTMASK, 0, ENM_LINK | ENM_KEYEVENTS);
    SetWindowSubclass(rich, ViewFontProc, viewSubclassId, 0);
    return rich;
}

bool IsRichTextView(HWND view)
{
    TCHAR className[32] = {};
    GetClassName(view, className, 32);
    return lstrcmpi(className, RICHEDIT_CLASS) == 0;
}

std::vector<ViewLink> MarkReadingView(HWND view, const TCHAR* text, const ReadingMarks& marks)
{
    std::vector<ViewLink> shown;
    if (!IsRichTextView(view))
        return shown;
    const bool fits = BodyFitsImage(text, marks);
    CHARRANGE selection = {};
    SendMessage(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    POINT scroll = {};
    SendMessage(view, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    SendMessage(view, WM_SETREDRAW, FALSE, 0);

    const PositionMap map(text);
    // A text just set has the default formats; one marked before starts over.
    if (!marks.freshText) {
        ResetCharacterFormat(view);
        SetStops(view, 0, map.At(lstrlen(text)), {});
    }
    MarkRange(view, 0, map.At(marks.titleLength), CharFormat(CFM_BOLD, CFE_BOLD));
    if (fits) {
        MarkTables(view, text, map, marks);
        for (const FoundLink& link : marks.links) {
            const int begin = marks.bodyStart + static_cast<int>(link.begin);
            const ViewLink each{map.At(begin), map.At(begin + static_cast<int>(link.length)), link.target};
            MarkRange(view, each.begin, each.end, CharFormat(CFM_LINK, CFE_LINK));
            shown.push_back(each);
        }
    }
    for (const TextRange& range : marks.highlights)
        MarkHighlight(view, map.At(range.begin), map.At(range.begin + range.length));

    SendMessage(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    SendMessage(view, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    // The marks are no edits of the reader's: Undo must not take them away.
    SendMessage(view, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessage(view, EM_SETMODIFY, FALSE, 0);
    SendMessage(view, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(view, nullptr, TRUE);
    return shown;
}
