// Display font creation. The font replaced by a newer one is deleted once the
// text view has taken the new one, so that changing options never leaks GDI
// objects; stock fonts are never deleted.
#include "options/display_font.h"

#include "options/font_height.h"
#include "pane/browser_pane.h"
#include "resources/shared/resource_ids.h"
#include "settings/settings_key.h"
#include "shell/platform.h"

namespace {

constexpr int defaultFontSize = 10;
HFONT displayFont = nullptr;
bool listsHaveGuiFont = false;
HFONT cachedGuiFont = nullptr;

// The stored face name, cut to what the font record holds (31 characters).
void ReadFaceName(SettingsKey& settings, LOGFONT& font)
{
    TCHAR* face = nullptr;
    if (!settings.ReadText(TEXT("Font"), &face)) {
        lstrcpyn(font.lfFaceName, TEXT("Tahoma"), LF_FACESIZE);
        return;
    }
    lstrcpyn(font.lfFaceName, face, LF_FACESIZE);
    FreeSettingsText(face);
}

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

void GiveListsGuiFont(HWND pane)
{
    if (isHandheld || listsHaveGuiFont)
        return;
    listsHaveGuiFont = true;
    const auto guiFont = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    SendDlgItemMessage(pane, IDC_CATEGORY_LIST, WM_SETFONT, guiFont, FALSE);
    SendDlgItemMessage(pane, IDC_ITEM_LIST, WM_SETFONT, guiFont, FALSE);
}

}  // namespace

void CreateDisplayFont(BrowserPane& pane)
{
    if (pane.fontReady)
        return;
    pane.fontReady = true;
    LOGFONT font = {};
    SettingsKey settings;
    OpenSettings(settings);
    ReadFaceName(settings, font);
    int size = defaultFontSize;
    settings.ReadNumber(TEXT("FontSize"), &size);
    font.lfHeight = DisplayFontHeight(ScreenDpi(), size);
    font.lfWeight = FW_NORMAL;

    HFONT replaced = displayFont;
    displayFont = CreateFontIndirect(&font);
    SendDlgItemMessage(pane.window, IDC_TEXT_VIEW, WM_SETFONT, reinterpret_cast<WPARAM>(displayFont),
                       FALSE);
    if (replaced != nullptr)
        DeleteObject(replaced);
    GiveListsGuiFont(pane.window);
    pane.OnDisplayFontChanged();
}

void ApplyGuiFont(HWND dialog, int control)
{
    if (cachedGuiFont == nullptr)
        cachedGuiFont = static_cast<HFONT>(GetStockObject(isHandheld ? SYSTEM_FONT : DEFAULT_GUI_FONT));
    SendDlgItemMessage(dialog, control, WM_SETFONT, reinterpret_cast<WPARAM>(cachedGuiFont), FALSE);
}

HFONT CurrentDisplayFont() { return displayFont; }
