// The reading view with the real rich edit control: the text as the plain
// view had it, tables lined up in the display font, links that open entries,
// Back and Forward, and the words of a search highlighted.
#include <richedit.h>

#include <map>

#include "data/rules_image.h"
#include "options/display_font.h"
#include "pane/link_finder.h"
#include "pane/reading_view.h"
#include "resources/shared/resource_ids.h"
#include "tests/win32/pane_fixture.h"

namespace {

class ReadingViewTest : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        ASSERT_TRUE(LoadRichEditLibrary());
        OpenPane();
        // Wide enough that no table row of the sample wraps.
        MoveWindow(host, 0, 0, 1200, 700, TRUE);
        RECT client;
        GetClientRect(host, &client);
        MoveWindow(pane.window, 0, 0, client.right, client.bottom, TRUE);
    }

    HWND View() const { return Control(IDC_TEXT_VIEW); }

    void Show(int category, int entry)
    {
        ChooseCategory(category);
        ChooseItem(entry);
    }

    int CategoryNamed(const char* name) const
    {
        for (int c = 0; c < GetCategoryCount(); ++c) {
            if (lstrcmpA(GetCategoryName(c), name) == 0)
                return c;
        }
        return -1;
    }

    // An entry of the category that links to an entry of another category.
    std::pair<int, FoundLink> EntryLinkingTo(int category, int targetCategory) const
    {
        for (int e = 0; e < GetEntryCount(category); ++e) {
            for (const FoundLink& link : GetImageLinkFinder().FindLinks(category, e, GetEntryBody(category, e))) {
                if (link.target.category == targetCategory)
                    return {e, link};
            }
        }
        return {-1, FoundLink{}};
    }

    // The control's position of a body offset of the shown entry.
    LONG PositionOfBodyOffset(std::size_t offset) const
    {
        const TextString text = ShownText();
        const std::size_t start = text.find(TEXT("-----\r\n")) + 7 + offset;
        LONG position = 0;
        for (std::size_t i = 0; i < start; ++i) {
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
                ++position;
        }
        return position;
    }

    int XOfPosition(LONG position) const
    {
        POINTL point = {};
        SendMessage(View(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), position);
        return point.x;
    }

    // For every table of the shown text: whether each column starts at one
    // place in every row, measured where the control drew the characters.
    void ExpectColumnsLinedUp(const TextString& what) const
    {
        const TextString text = ShownText();
        std::map<int, int> columnX;  // column -> x, for the table at hand
        LONG position = 0;
        std::size_t lineStart = 0;
        int column = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            const bool lineEnd = i == text.size() || text[i] == '\r';
            if (lineEnd) {
                const bool heldTab = text.find(TEXT('\t'), lineStart) < i;
                if (!heldTab)
                    columnX.clear();
                column = 0;
                if (i == text.size())
                    break;
                ++i;  // the LF: one position with the CR
                lineStart = i + 1;
                ++position;
                continue;
            }
            ++position;
            if (text[i] != '\t')
                continue;
            ++column;
            const int x = XOfPosition(position);
            const auto known = columnX.find(column);
            if (known == columnX.end())
                columnX[column] = x;
            else
                EXPECT_EQ(x, known->second) << "column " << column << " at " << position << " in "
                                            << std::string(what.begin(), what.end());
        }
    }

    // Whether the whole range has the effect.
    bool HasEffect(LONG begin, LONG end, DWORD mask, DWORD effect) const
    {
        CHARRANGE range = {begin, end};
        SendMessage(View(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2 format = {};
        format.cbSize = sizeof(format);
        SendMessage(View(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return (format.dwMask & mask) != 0 && (format.dwEffects & effect) == effect;
    }
};

TEST_F(ReadingViewTest, ShowsTheJoinedTextOfEveryKindOfEntryInARichEditControl)
{
    EXPECT_TRUE(IsRichTextView(View()));
    for (int c = 0; c < GetCategoryCount(); ++c) {
        for (int e = 0; e < GetEntryCount(c); e += 37) {
            Show(c, e);
            ASSERT_EQ(ShownText(), EntryText(c, e)) << c << " " << e;
        }
    }
}

TEST_F(ReadingViewTest, StartsEveryColumnOfATableAtOnePlaceInTheDisplayFontAndAfterAFontChange)
{
    const int samples[][2] = {{0, 0}, {0, 120}, {1, 3}, {2, 10}, {4, 1}, {4, 200}, {5, 40}, {6, 2}};
    for (const auto& sample : samples) {
        Show(sample[0], sample[1]);
        ExpectColumnsLinedUp(Title(sample[0], sample[1]));
    }
    // A larger font moves the columns: the stops follow it.
    Show(4, 1);
    const LONG valueStart = PositionOfBodyOffset(std::string_view(GetEntryBody(4, 1)).find('\t') + 1);
    const int before = XOfPosition(valueStart);
    StoreNumber(TEXT("FontSize"), 20);
    pane.fontReady = false;
    CreateDisplayFont(pane);
    EXPECT_GT(XOfPosition(valueStart), before);
    ExpectColumnsLinedUp(TEXT("Monsters in a 20-point font"));
}

TEST_F(ReadingViewTest, BoldTitleAndLinksOnTheNamesOfOtherEntries)
{
    const int monsters = CategoryNamed("Monsters");
    const int spells = CategoryNamed("Spells");
    const auto [monster, link] = EntryLinkingTo(monsters, spells);
    ASSERT_GE(monster, 0);
    Show(monsters, monster);
    EXPECT_TRUE(HasEffect(0, 3, CFM_BOLD, CFE_BOLD));
    const LONG begin = PositionOfBodyOffset(link.begin);
    const LONG end = PositionOfBodyOffset(link.begin + link.length);
    EXPECT_TRUE(HasEffect(begin, end, CFM_LINK, CFE_LINK));
    EXPECT_FALSE(HasEffect(end + 1, end + 1, CFM_LINK, CFE_LINK));
    // The marks are no edit that Undo could take away.
    EXPECT_FALSE(SendMessage(View(), EM_CANUNDO, 0, 0));
}

TEST_F(ReadingViewTest, AClickOrEnterOnALinkOpensTheEntryAndBackAndForwardWalkTheHistory)
{
    const int monsters = CategoryNamed("Monsters");
    const int spells = CategoryNamed("Spells");
    const auto [monster, link] = EntryLinkingTo(monsters, spells);
    ASSERT_GE(monster, 0);
    Show(monsters, monster);
    const LONG inside = PositionOfBodyOffset(link.begin) + 1;

    // A click: the mouse goes down and up over the link.
    POINTL point = {};
    SendMessage(View(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), inside);
    SendMessage(View(), EM_SCROLLCARET, 0, 0);
    SendMessage(View(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), inside);
    const LPARAM at = MAKELPARAM(point.x + 1, point.y + 3);
    SendMessage(View(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessage(View(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(CategorySelection(), spells);
    EXPECT_EQ(ShownText(), EntryText(spells, link.target.entry));
    EXPECT_EQ(StoredNumber(TEXT("Category")), spells);
    EXPECT_EQ(StoredNumber(TEXT("Item")), link.target.entry);
    EXPECT_EQ(GetWindowTextLength(ItemEdit()), lstrlen(Title(spells, link.target.entry).c_str()));

    // The mouse's back button, then Forward.
    MSG back = {View(), WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), 0, 0, {}};
    EXPECT_TRUE(TranslateHistoryInput(host, back));
    EXPECT_EQ(ShownText(), EntryText(monsters, monster));
    EXPECT_EQ(StoredNumber(TEXT("Category")), monsters);
    EXPECT_EQ(StoredNumber(TEXT("Item")), monster);
    pane.GoForward();
    EXPECT_EQ(ShownText(), EntryText(spells, link.target.entry));
    pane.GoBack();

    // Enter with the caret in the link; its character adds nothing after.
    CHARRANGE caret = {inside, inside};
    SendMessage(View(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    SendMessage(View(), WM_KEYDOWN, VK_RETURN, 1);
    SendMessage(View(), WM_CHAR, '\r', 1);
    EXPECT_EQ(ShownText(), EntryText(spells, link.target.entry));
    EXPECT_EQ(StoredNumber(TEXT("Item")), link.target.entry);
    // Enter outside a link stays an ordinary key of the view.
    Show(monsters, monster);
    CHARRANGE start = {0, 0};
    SendMessage(View(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    SendMessage(View(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(CategorySelection(), monsters);
}

TEST_F(ReadingViewTest, AnEntryFromTheSearchShowsItsWordsHighlightedAndTheNextEntryNone)
{
    const int spells = CategoryNamed("Spells");
    int entry = 0;
    while (std::string_view(GetEntryBody(spells, entry)).find("damage") == std::string_view::npos)
        ++entry;
    ChooseCategory(spells);
    lstrcpy(pane.highlightQuery, TEXT("DAMAGE -damage"));
    ChooseItem(entry);
    const std::size_t damage = std::string_view(GetEntryBody(spells, entry)).find("damage");
    const LONG at = PositionOfBodyOffset(damage);
    EXPECT_FALSE(HasEffect(at, at + 6, CFM_BACKCOLOR, CFE_AUTOBACKCOLOR));
    EXPECT_TRUE(HasEffect(at + 6, at + 7, CFM_BACKCOLOR, CFE_AUTOBACKCOLOR));

    ChooseItem(entry + 1);
    EXPECT_TRUE(HasEffect(0, static_cast<LONG>(ShownText().size()), CFM_BACKCOLOR, CFE_AUTOBACKCOLOR));
}

}  // namespace
