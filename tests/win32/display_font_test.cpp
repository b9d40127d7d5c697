// The display font of the text view and the GUI font of the lists. The lists
// get the GUI font once per process, so these tests have a program of their
// own, and the first test is the first pane of the process.
#include <climits>

#include "options/display_font.h"
#include "options/font_height.h"
#include "resources/shared/resource_ids.h"
#include "tests/win32/pane_fixture.h"

namespace {

HFONT FontOf(HWND control) { return reinterpret_cast<HFONT>(SendMessage(control, WM_GETFONT, 0, 0)); }

LOGFONT Describe(HFONT font)
{
    LOGFONT record = {};
    GetObject(font, sizeof record, &record);
    return record;
}

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

TEST_F(PaneTest, ListsShowTheGuiFontAndTheTextViewTahomaAtTenPoints)
{
    OpenPane();
    const HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(FontOf(Control(IDC_CATEGORY_LIST)), guiFont);
    EXPECT_EQ(FontOf(Control(IDC_ITEM_LIST)), guiFont);
    ASSERT_NE(CurrentDisplayFont(), nullptr);
    EXPECT_EQ(FontOf(Control(IDC_TEXT_VIEW)), CurrentDisplayFont());
    const LOGFONT font = Describe(CurrentDisplayFont());
    EXPECT_STREQ(font.lfFaceName, TEXT("Tahoma"));
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfHeight, DisplayFontHeight(ScreenDpi(), 10));
    if (ScreenDpi() == 96) {
        EXPECT_EQ(font.lfHeight, -13);
    }
}

TEST_F(PaneTest, StoredFaceAndSizeAreUsedAndSizeZeroAsksForTheDefaultHeight)
{
    StoreText(TEXT("Font"), TEXT("DejaVu Serif"));
    StoreNumber(TEXT("FontSize"), 0);
    OpenPane();
    const LOGFONT font = Describe(CurrentDisplayFont());
    EXPECT_STREQ(font.lfFaceName, TEXT("DejaVu Serif"));
    EXPECT_EQ(font.lfHeight, 0);
}

TEST_F(PaneTest, FaceLongerThanTheRecordHoldsIsCutTo31Characters)
{
    StoreText(TEXT("Font"), TEXT("A face name well beyond thirty-one characters"));
    StoreNumber(TEXT("FontSize"), INT_MAX);
    OpenPane();
    const LOGFONT font = Describe(CurrentDisplayFont());
    EXPECT_STREQ(font.lfFaceName, TEXT("A face name well beyond thirty-"));
    EXPECT_EQ(font.lfHeight, -INT_MAX);
}

TEST_F(PaneTest, ResizingKeepsTheFontAndANewFontReplacesAndReleasesTheOld)
{
    OpenPane();
    const HFONT first = CurrentDisplayFont();
    StoreNumber(TEXT("FontSize"), 12);
    MoveWindow(pane.window, 0, 0, 300, 280, TRUE);
    EXPECT_EQ(CurrentDisplayFont(), first);

    for (int round = 0; round < 50; ++round) {
        const HFONT old = CurrentDisplayFont();
        pane.fontReady = false;
        pane.LayoutPane();
        EXPECT_NE(CurrentDisplayFont(), old);
        EXPECT_EQ(GetObjectType(old), 0u) << "the replaced font is still alive";
    }
    EXPECT_EQ(FontOf(Control(IDC_TEXT_VIEW)), CurrentDisplayFont());
    EXPECT_EQ(Describe(CurrentDisplayFont()).lfHeight, DisplayFontHeight(ScreenDpi(), 12));
}

}  // namespace
