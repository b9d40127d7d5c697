// Without the rich edit library the text view stays the plain edit control
// of the template and shows the same text, unmarked.
#include "pane/reading_view.h"
#include "resources/shared/resource_ids.h"
#include "tests/win32/pane_fixture.h"

namespace {

class PlainViewTest : public PaneTest {
protected:
    // This program never loads the library.
    void SetUp() override { DeleteSettingsKey(); }
};

TEST_F(PlainViewTest, ShowsTheJoinedTextInThePlainEditControl)
{
    ASSERT_FALSE(IsRichEditLoaded());
    OpenPane();
    TCHAR className[16] = {};
    GetClassName(Control(IDC_TEXT_VIEW), className, 16);
    EXPECT_EQ(lstrcmpi(className, TEXT("Edit")), 0);
    ChooseCategory(4);
    ChooseItem(1);
    EXPECT_EQ(ShownText(), EntryText(4, 1));
    pane.GoBack();
    EXPECT_EQ(ShownText(), EntryText(4, 1));
}

}  // namespace
