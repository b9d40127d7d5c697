// The Options dialog run modally over a real pane, driven from inside its
// message loop: what it lists and presets, what OK stores and applies, and
// that nothing but a confirmed OK ends it.
//
// The expected face list is derived from what the screen's font enumeration
// reports here: under Wine these are the DejaVu, Liberation, Noto and Droid
// TrueType families, beside URW Type 1 families reported as device fonts,
// and no "Tahoma".
#include <algorithm>
#include <set>

#include "data/display_text.h"
#include "data/rules_image.h"
#include "options/font_height.h"
#include "options/options_dialog.h"
#include "resources/shared/resource_ids.h"
#include "settings/settings_key.h"
#include "shell/platform.h"
#include "tests/win32/message_box_watch.h"
#include "tests/win32/modal_dialog_driver.h"
#include "tests/win32/dialog_fit.h"
#include "tests/win32/pane_fixture.h"


namespace {

constexpr int spells = 0;

// One family as the screen's enumeration reports it.
struct EnumeratedFamily {
    DWORD type;
    bool plain; // neither italic, underlined nor struck out
    TextString face;
    TextString fullName;
};

int CALLBACK CollectFamily(const LOGFONT* font, const TEXTMETRIC*, DWORD type, LPARAM families)
{
    const auto* record = reinterpret_cast<const ENUMLOGFONT*>(font);
    TCHAR fullName[LF_FULLFACESIZE + 1] = {};
    lstrcpyn(fullName, reinterpret_cast<const TCHAR*>(record->elfFullName), LF_FULLFACESIZE + 1);
    const bool plain = !font->lfItalic && !font->lfUnderline && !font->lfStrikeOut;
    reinterpret_cast<std::vector<EnumeratedFamily>*>(families)->push_back(
        {type, plain, font->lfFaceName, fullName});
    return TRUE;
}

std::vector<EnumeratedFamily> EnumerateScreenFamilies()
{
    std::vector<EnumeratedFamily> families;
    HDC screen = GetDC(nullptr);
    EnumFontFamilies(screen, nullptr, CollectFamily, reinterpret_cast<LPARAM>(&families));
    ReleaseDC(nullptr, screen);
    return families;
}

bool IsListable(const EnumeratedFamily& family)
{
    return family.type == TRUETYPE_FONTTYPE && family.plain;
}

// The full names of the plain TrueType families, each once, in code unit
// order.
std::vector<TextString> ListableNames()
{
    std::set<TextString> names;
    for (const EnumeratedFamily& family : EnumerateScreenFamilies()) {
        if (IsListable(family))
            names.insert(family.fullName);
    }
    return {names.begin(), names.end()};
}

bool Holds(const std::vector<TextString>& names, const TextString& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<TextString> ListItems(HWND list)
{
    std::vector<TextString> items;
    const int count = static_cast<int>(SendMessage(list, CB_GETCOUNT, 0, 0));
    TCHAR text[textBufferLength];
    for (int i = 0; i < count; ++i) {
        GetItemText(list, i, text);
        items.push_back(text);
    }
    return items;
}

int Selected(HWND dialog, int list)
{
    return static_cast<int>(SendDlgItemMessage(dialog, list, CB_GETCURSEL, 0, 0));
}

TextString SelectedText(HWND dialog, int list)
{
    TCHAR text[textBufferLength] = {};
    GetItemText(GetDlgItem(dialog, list), Selected(dialog, list), text);
    return text;
}

int PositionOf(HWND dialog, int list, const TextString& text)
{
    const std::vector<TextString> items = ListItems(GetDlgItem(dialog, list));
    const auto found = std::find(items.begin(), items.end(), text);
    return found == items.end() ? CB_ERR : static_cast<int>(found - items.begin());
}

bool IsChecked(HWND dialog, int box)
{
    return IsDlgButtonChecked(dialog, box) == BST_CHECKED;
}

// What a user's choice in a drop-down list sends.
void Choose(HWND dialog, int list, int position)
{
    SendDlgItemMessage(dialog, list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                reinterpret_cast<LPARAM>(GetDlgItem(dialog, list)));
}

void Click(HWND dialog, int box)
{
    SendDlgItemMessage(dialog, box, BM_CLICK, 0, 0);
}

// The command of the OK button, or on the handheld of the shell's OK button
// in the caption (there is no button window then).
void PressOk(HWND dialog)
{
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

TextString StoredText(const TCHAR* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    TCHAR text[textBufferLength] = {};
    DWORD size = sizeof text - sizeof(TCHAR);
    DWORD type = 0;
    if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        text[0] = 0;
    RegCloseKey(key);
    return text;
}

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// A word of the entry's body, five letters or more, that no title of the
// category holds.
TextString BodyWordInNoTitle(int category, int entry)
{
    DisplayText body(MakeDisplayText(GetEntryBody(category, entry)));
    TextString word;
    for (const TCHAR* c = body.get();; ++c) {
        if ((*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z')) {
            word += *c;
            continue;
        }
        if (word.size() >= 5 && PaneTest::TitlesHoldingAll(category, word).empty())
            return word;
        word.clear();
        if (*c == 0)
            return {};
    }
}

class OptionsDialogTest : public PaneTest {
  protected:
    // Opens the dialog through the pane and runs the steps inside it.
    void RunOptions(std::vector<DialogStep> steps)
    {
        ModalDialogDriver driver(TEXT("Options"), std::move(steps));
        pane.OpenOptions();
        stepsRun = driver.StepsRun();
        leftOpen = driver.LeftOpen();
    }
    // One step, and the dialog is expected to have closed through OK in it.
    void RunAndConfirm(const DialogStep& step)
    {
        RunOptions({step});
        EXPECT_EQ(stepsRun, 1);
        EXPECT_FALSE(leftOpen) << "the dialog did not close on OK";
    }
    HFONT TextViewFont() const
    {
        return reinterpret_cast<HFONT>(SendMessage(Control(IDC_TEXT_VIEW), WM_GETFONT, 0, 0));
    }

    int stepsRun = 0;
    bool leftOpen = false;
};

TEST_F(OptionsDialogTest, IsModalOverTheMainWindowWithoutCloseBoxAndTabsThroughItsControls)
{
    OpenPane();
    std::vector<int> tabOrder = {IDOK, IDC_FACE_LIST, IDC_SIZE_LIST, IDC_BODY_SEARCH,
                                 IDC_STICKY_FULL};
    if (isHandheld)
        tabOrder = {IDC_FACE_LIST, IDC_SIZE_LIST, IDC_BODY_SEARCH};
    RunOptions({[&](HWND dialog) {
        const LONG_PTR style = GetWindowLongPtr(dialog, GWL_STYLE);
        EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
        EXPECT_EQ(style & WS_SYSMENU, 0);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), host);
        EXPECT_FALSE(IsWindowEnabled(host));
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, tabOrder[0]));
        HWND control = GetDlgItem(dialog, tabOrder[0]);
        for (std::size_t i = 1; i <= tabOrder.size(); ++i) {
            control = GetNextDlgTabItem(dialog, control, FALSE);
            EXPECT_EQ(GetDlgCtrlID(control), tabOrder[i % tabOrder.size()]) << i;
        }
        EXPECT_EQ(GetDlgItem(dialog, IDC_STICKY_FULL) != nullptr, !isHandheld);
    }});
    EXPECT_EQ(stepsRun, 1);
    EXPECT_TRUE(leftOpen);
    EXPECT_TRUE(IsWindowEnabled(host));
}

TEST_F(OptionsDialogTest, ControlsTakeTheDefaultGuiFontOnTheDesktopOnly)
{
    OpenPane();
    const HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    RunOptions({[&](HWND dialog) {
        for (const int id : {IDOK, IDC_FACE_LIST, IDC_SIZE_LIST, IDC_FONT_LABEL, IDC_SIZE_LABEL,
                             IDC_FONT_GROUP, IDC_SEARCH_GROUP, IDC_BODY_SEARCH, IDC_STICKY_FULL}) {
            HWND control = GetDlgItem(dialog, id);
            if (control == nullptr)
                continue;
            const auto font = reinterpret_cast<HFONT>(SendMessage(control, WM_GETFONT, 0, 0));
            EXPECT_EQ(font == guiFont, !isHandheld) << id;
        }
    }});
    EXPECT_TRUE(leftOpen);
}

TEST_F(OptionsDialogTest, ShowsEveryControlInsideAndEveryTextWhole)
{
    if (isHandheld)
        GTEST_SKIP() << "the handheld dialog keeps its layout for the device's screen";
    OpenPane();
    RunOptions({[](HWND dialog) { ExpectEveryControlInsideAndItsTextWhole(dialog); }});
    EXPECT_EQ(stepsRun, 1);
}

TEST_F(OptionsDialogTest, FaceListHoldsEachTrueTypeFullNameOnceAndNoOtherFamily)
{
    const std::vector<EnumeratedFamily> families = EnumerateScreenFamilies();
    const std::vector<TextString> expected = ListableNames();
    ASSERT_FALSE(expected.empty());
    OpenPane();
    std::vector<TextString> listed;
    RunOptions({[&](HWND dialog) { listed = ListItems(GetDlgItem(dialog, IDC_FACE_LIST)); }});
    EXPECT_TRUE(leftOpen);

    std::vector<TextString> sorted = listed;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, expected);
    // The list keeps itself sorted, without regard to case.
    for (std::size_t i = 1; i < listed.size(); ++i)
        EXPECT_LE(lstrcmpi(listed[i - 1].c_str(), listed[i].c_str()), 0) << i;
    // Families of other types, and face names that differ from the full
    // name, are not listed (where this system's enumeration has any).
    for (const EnumeratedFamily& family : families) {
        if (family.type != TRUETYPE_FONTTYPE && !Holds(expected, family.fullName)) {
            EXPECT_FALSE(Holds(listed, family.fullName)) << family.fullName.size();
        }
        if (family.face != family.fullName && !Holds(expected, family.face)) {
            EXPECT_FALSE(Holds(listed, family.face)) << family.face.size();
        }
    }
}

// Records that no family of this system can show: a case variant, a repeat,
// every excluded type and style, and a full name that fills its field.
TEST_F(OptionsDialogTest, AddFontFaceListsPlainTrueTypeFamiliesByFullNameOncePerExactName)
{
    const TextString longName(LF_FULLFACESIZE, 'V');
    struct Case {
        const TCHAR* fullName;
        DWORD type;
        BYTE italic, underline, strikeOut;
        int listedAfter; // how often the name is listed after this call
    };
    const Case cases[] = {
        {TEXT("Vellum Probe Full"), TRUETYPE_FONTTYPE, 0, 0, 0, 1},
        {TEXT("Vellum Probe Full"), TRUETYPE_FONTTYPE, 0, 0, 0, 1},
        {TEXT("VELLUM PROBE FULL"), TRUETYPE_FONTTYPE, 0, 0, 0, 1},
        {TEXT("Vellum Raster"), RASTER_FONTTYPE, 0, 0, 0, 0},
        {TEXT("Vellum Device"), DEVICE_FONTTYPE, 0, 0, 0, 0},
        {TEXT("Vellum Vector"), 0, 0, 0, 0, 0},
        {TEXT("Vellum Device TrueType"), TRUETYPE_FONTTYPE | DEVICE_FONTTYPE, 0, 0, 0, 0},
        {TEXT("Vellum Italic"), TRUETYPE_FONTTYPE, 1, 0, 0, 0},
        {TEXT("Vellum Underline"), TRUETYPE_FONTTYPE, 0, 1, 0, 0},
        {TEXT("Vellum StrikeOut"), TRUETYPE_FONTTYPE, 0, 0, 1, 0},
        {longName.c_str(), TRUETYPE_FONTTYPE, 0, 0, 0, 1},
    };
    OpenPane();
    HWND dialog = CreateDialogParam(GetModuleHandle(nullptr), MAKEINTRESOURCE(IDD_OPTIONS), host,
                                    OptionsDialogProc, reinterpret_cast<LPARAM>(&pane));
    ASSERT_NE(dialog, nullptr);
    HWND faceList = GetDlgItem(dialog, IDC_FACE_LIST);
    for (const Case& c : cases) {
        ENUMLOGFONT record = {};
        lstrcpy(record.elfLogFont.lfFaceName, TEXT("Vellum Probe Face"));
        // The full name fills the field; a name of the field's length has no
        // terminator.
        std::copy_n(c.fullName, std::min<std::size_t>(lstrlen(c.fullName) + 1, LF_FULLFACESIZE),
                    reinterpret_cast<TCHAR*>(record.elfFullName));
        record.elfLogFont.lfItalic = c.italic;
        record.elfLogFont.lfUnderline = c.underline;
        record.elfLogFont.lfStrikeOut = c.strikeOut;
        TEXTMETRIC metrics = {};
        EXPECT_NE(
            AddFontFace(&record.elfLogFont, &metrics, c.type, reinterpret_cast<LPARAM>(dialog)), 0);
        const std::vector<TextString> listed = ListItems(faceList);
        EXPECT_EQ(std::count(listed.begin(), listed.end(), c.fullName), c.listedAfter)
            << lstrlen(c.fullName);
        EXPECT_FALSE(Holds(listed, TEXT("Vellum Probe Face")));
    }
    const std::vector<TextString> listed = ListItems(faceList);
    EXPECT_TRUE(Holds(listed, TEXT("Vellum Probe Full")));
    EXPECT_TRUE(Holds(listed, TEXT("VELLUM PROBE FULL")));
    DestroyWindow(dialog);
}

TEST_F(OptionsDialogTest, WithNothingStoredTheDefaultFaceIfListedSizeTenAndBothBoxesClear)
{
    OpenPane();
    const bool tahomaListed = Holds(ListableNames(), TEXT("Tahoma"));
    RunOptions({[&](HWND dialog) {
        const int expected =
            tahomaListed ? PositionOf(dialog, IDC_FACE_LIST, TEXT("Tahoma")) : CB_ERR;
        EXPECT_EQ(Selected(dialog, IDC_FACE_LIST), expected);
        EXPECT_EQ(SelectedText(dialog, IDC_SIZE_LIST), TEXT("10"));
        EXPECT_FALSE(IsChecked(dialog, IDC_BODY_SEARCH));
        EXPECT_FALSE(IsChecked(dialog, IDC_STICKY_FULL));
    }});
    EXPECT_TRUE(leftOpen);
    EXPECT_EQ(CountValues(), 0);
}

TEST_F(OptionsDialogTest, StoredFaceIsPresetOnlyWhenTheListHoldsItWithTheSameCase)
{
    const std::vector<TextString> names = ListableNames();
    ASSERT_FALSE(names.empty());
    const TextString face = names[names.size() / 2];
    TextString otherCase = face;
    for (TCHAR& c : otherCase)
        c = (c >= 'a' && c <= 'z') ? static_cast<TCHAR>(c - 32) : c;
    ASSERT_NE(otherCase, face);
    ASSERT_FALSE(Holds(names, otherCase));

    struct Case {
        TextString stored;
        TextString selected; // empty: no selection
    };
    const Case cases[] = {{face, face}, {otherCase, {}}, {TEXT("No Such Face"), {}}};
    for (const Case& c : cases) {
        StoreText(TEXT("Font"), c.stored.c_str());
        OpenPane();
        RunOptions({[&](HWND dialog) {
            const int expected =
                c.selected.empty() ? CB_ERR : PositionOf(dialog, IDC_FACE_LIST, c.selected);
            EXPECT_EQ(expected == CB_ERR, c.selected.empty());
            EXPECT_EQ(Selected(dialog, IDC_FACE_LIST), expected) << c.stored.size();
        }});
        EXPECT_TRUE(leftOpen);
        ClosePane();
    }
}

TEST_F(OptionsDialogTest, StoredSizeIsPresetOnlyWhenOffered)
{
    struct Case {
        int stored;
        const TCHAR* selected; // null: no selection
    };
    const Case cases[] = {{6, TEXT("6")}, {16, TEXT("16")}, {12, TEXT("12")}, {13, nullptr},
                          {0, nullptr},   {-10, nullptr},   {100, nullptr}};
    for (const Case& c : cases) {
        StoreNumber(TEXT("FontSize"), c.stored);
        OpenPane();
        RunOptions({[&](HWND dialog) {
            const int expected =
                c.selected == nullptr ? CB_ERR : PositionOf(dialog, IDC_SIZE_LIST, c.selected);
            EXPECT_EQ(Selected(dialog, IDC_SIZE_LIST), expected) << c.stored;
        }});
        EXPECT_TRUE(leftOpen);
        ClosePane();
    }
}

TEST_F(OptionsDialogTest, BoxesShowThePaneFlagsWhichOnlyAStoredOneTurnsOn)
{
    struct Case {
        bool stored;
        int value;
        bool checked;
    };
    const Case cases[] = {{false, 0, false}, {true, 0, false}, {true, 1, true}, {true, 2, false}};
    for (const Case& c : cases) {
        if (c.stored) {
            StoreNumber(TEXT("BodySearch"), c.value);
            StoreNumber(TEXT("StickyFull"), c.value);
        }
        OpenPane();
        RunOptions({[&](HWND dialog) {
            EXPECT_EQ(IsChecked(dialog, IDC_BODY_SEARCH), c.checked) << c.value;
            // The handheld program has no "Search window stays open" box.
            EXPECT_EQ(IsChecked(dialog, IDC_STICKY_FULL), c.checked && !isHandheld) << c.value;
        }});
        EXPECT_TRUE(leftOpen);
        ClosePane();
    }
}

TEST_F(OptionsDialogTest, OkWithoutFaceOrSizeSaysSoWritesNothingAndStaysOpen)
{
    struct Case {
        bool face;
        bool size;
    };
    const Case cases[] = {{false, true}, {true, false}, {false, false}};
    for (const Case& c : cases) {
        OpenPane();
        const int valuesBefore = CountValues();
        const HFONT fontBefore = TextViewFont();
        std::vector<SeenMessageBox> seen;
        RunOptions({[&](HWND dialog) {
                        Choose(dialog, IDC_FACE_LIST, c.face ? 0 : -1);
                        Choose(dialog, IDC_SIZE_LIST, c.size ? 2 : -1);
                        Click(dialog, IDC_BODY_SEARCH);
                        ASSERT_TRUE(IsChecked(dialog, IDC_BODY_SEARCH));
                        MessageBoxWatch watch;
                        PressOk(dialog);
                        seen = watch.Seen();
                        ASSERT_EQ(seen.size(), 1u);
                        EXPECT_EQ(seen[0].owner, dialog);
                    },
                    [&](HWND dialog) {
                        EXPECT_TRUE(IsWindowVisible(dialog));
                        EXPECT_EQ(Selected(dialog, IDC_FACE_LIST), c.face ? 0 : CB_ERR);
                        EXPECT_EQ(Selected(dialog, IDC_SIZE_LIST), c.size ? 2 : CB_ERR);
                        EXPECT_TRUE(IsChecked(dialog, IDC_BODY_SEARCH));
                    }});
        EXPECT_EQ(stepsRun, 2);
        EXPECT_TRUE(leftOpen);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, TEXT("Please select a font first"));
        EXPECT_EQ(seen[0].caption, TEXT("Error"));
        EXPECT_FALSE(seen[0].hasIcon);
        EXPECT_EQ(seen[0].buttons, std::vector<TextString>{TEXT("OK")});
        EXPECT_EQ(CountValues(), valuesBefore);
        EXPECT_FALSE(pane.BodySearch);
        EXPECT_EQ(TextViewFont(), fontBefore);
        ClosePane();
    }
}

TEST_F(OptionsDialogTest, EscapeCancelAndCloseRequestsLeaveItOpen)
{
    OpenPane();
    const int valuesBefore = CountValues();
    const auto stillOpen = [](HWND dialog) { EXPECT_TRUE(IsWindowVisible(dialog)); };
    RunOptions(
        {[](HWND dialog) {
             HWND focus = GetFocus();
             PostMessage(focus != nullptr ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 1);
         },
         stillOpen,
         [](HWND dialog) { SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); },
         stillOpen, [](HWND dialog) { PostMessage(dialog, WM_CLOSE, 0, 0); }, stillOpen,
         [](HWND dialog) { SendMessage(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }, stillOpen});
    EXPECT_EQ(stepsRun, 8);
    EXPECT_TRUE(leftOpen);
    EXPECT_EQ(CountValues(), valuesBefore);
}

TEST_F(OptionsDialogTest, OkStoresTheChoicesAndAppliesThemAtOnce)
{
    OpenPane();
    const HFONT fontBefore = TextViewFont();
    TextString face;
    RunAndConfirm([&](HWND dialog) {
        const int last =
            static_cast<int>(SendDlgItemMessage(dialog, IDC_FACE_LIST, CB_GETCOUNT, 0, 0)) - 1;
        Choose(dialog, IDC_FACE_LIST, last);
        face = SelectedText(dialog, IDC_FACE_LIST);
        Choose(dialog, IDC_SIZE_LIST, PositionOf(dialog, IDC_SIZE_LIST, TEXT("16")));
        Click(dialog, IDC_BODY_SEARCH);
        if (!isHandheld)
            Click(dialog, IDC_STICKY_FULL);
        PressOk(dialog);
    });
    ASSERT_FALSE(face.empty());
    EXPECT_EQ(StoredText(TEXT("Font")), face);
    EXPECT_EQ(StoredNumber(TEXT("FontSize")), 16);
    EXPECT_EQ(StoredNumber(TEXT("BodySearch")), 1);
    EXPECT_TRUE(pane.BodySearch);
    // The handheld program keeps no "StickyFull".
    EXPECT_EQ(HasValue(TEXT("StickyFull")), !isHandheld);
    EXPECT_EQ(StoredNumber(TEXT("StickyFull")), isHandheld ? 0 : 1);
    EXPECT_EQ(pane.StickyFull, !isHandheld);

    const HFONT font = TextViewFont();
    ASSERT_NE(font, fontBefore);
    LOGFONT record = {};
    ASSERT_EQ(GetObject(font, sizeof record, &record), static_cast<int>(sizeof record));
    EXPECT_EQ(record.lfHeight, DisplayFontHeight(ScreenDpi(), 16));
    EXPECT_EQ(TextString(record.lfFaceName), face.substr(0, LF_FACESIZE - 1));
}

TEST_F(OptionsDialogTest, EveryOkRewritesTheFontAndStoresClearedBoxesAsZero)
{
    const TextString face = ListableNames().front();
    StoreText(TEXT("Font"), face.c_str());
    StoreNumber(TEXT("FontSize"), 12);
    StoreNumber(TEXT("BodySearch"), 1);
    StoreNumber(TEXT("StickyFull"), 1);
    OpenPane();
    const HFONT fontBefore = TextViewFont();
    RunAndConfirm([](HWND dialog) {
        Click(dialog, IDC_BODY_SEARCH);
        if (!isHandheld)
            Click(dialog, IDC_STICKY_FULL);
        PressOk(dialog);
    });
    EXPECT_EQ(StoredText(TEXT("Font")), face);
    EXPECT_EQ(StoredNumber(TEXT("FontSize")), 12);
    EXPECT_TRUE(HasValue(TEXT("BodySearch")));
    EXPECT_EQ(StoredNumber(TEXT("BodySearch")), 0);
    EXPECT_FALSE(pane.BodySearch);
    // The handheld program leaves the desktop's stored value alone.
    EXPECT_EQ(StoredNumber(TEXT("StickyFull")), isHandheld ? 1 : 0);
    EXPECT_FALSE(pane.StickyFull);
    // A new display font is made although face and size did not change.
    EXPECT_NE(TextViewFont(), fontBefore);
}

TEST_F(OptionsDialogTest, CheckingFullBodySearchingMakesTypingMatchBodiesAtOnce)
{
    OpenPane();
    ChooseCategory(spells);
    const TextString word = BodyWordInNoTitle(spells, 0);
    ASSERT_FALSE(word.empty());
    RunAndConfirm([](HWND dialog) {
        if (Selected(dialog, IDC_FACE_LIST) == CB_ERR)
            Choose(dialog, IDC_FACE_LIST, 0);
        Click(dialog, IDC_BODY_SEARCH);
        PressOk(dialog);
    });
    Type(word);
    EXPECT_TRUE(Holds(Items(), Title(spells, 0)));
}

// GetGuiResources answers 0 under Wine, so GDI objects cannot be counted;
// instead every display font that a confirmed dialog replaced must be gone
// (GetObjectType answers 0 for a deleted handle) and only the newest alive.
TEST_F(OptionsDialogTest, ManyConfirmedDialogsLeaveOnlyTheNewestDisplayFontAlive)
{
    OpenPane();
    std::vector<HFONT> fonts = {TextViewFont()};
    ASSERT_EQ(GetObjectType(fonts[0]), static_cast<DWORD>(OBJ_FONT));
    for (int round = 0; round < 40; ++round) {
        RunAndConfirm([round](HWND dialog) {
            Choose(dialog, IDC_FACE_LIST, round % 3);
            Choose(dialog, IDC_SIZE_LIST, round % 9);
            PressOk(dialog);
        });
        fonts.push_back(TextViewFont());
        EXPECT_NE(fonts.back(), fonts[fonts.size() - 2]) << round;
        EXPECT_EQ(GetObjectType(fonts[fonts.size() - 2]), 0u) << round;
    }
    for (std::size_t i = 0; i + 1 < fonts.size(); ++i)
        EXPECT_EQ(GetObjectType(fonts[i]), 0u) << i;
    EXPECT_EQ(GetObjectType(fonts.back()), static_cast<DWORD>(OBJ_FONT));
}

} // namespace
