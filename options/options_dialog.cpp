// The Options dialog: lists the screen's TrueType faces and the offered sizes,
// presets them from the settings, and on OK stores the choices and applies
// them to the pane without a restart.
#include "options/options_dialog.h"

#include <tchar.h>

#include "options/display_font.h"
#include "pane/browser_pane.h"
#include "resources/shared/resource_ids.h"
#include "settings/settings_key.h"
#include "shell/handheld/full_screen_dialog.h"
#include "shell/platform.h"

namespace {

BrowserPane* optionsPane = nullptr;

const TCHAR* const fontSizes[] = {TEXT("6"),  TEXT("7"),  TEXT("8"),  TEXT("9"), TEXT("10"),
                                  TEXT("11"), TEXT("12"), TEXT("14"), TEXT("16")};
constexpr int defaultFontSize = 10;
const TCHAR defaultFontFace[] = TEXT("Tahoma");

// The controls that take the shared GUI font, in the order they get it.
const int guiFontControls[] = {IDOK,           IDC_FACE_LIST,  IDC_SIZE_LIST,    IDC_FONT_LABEL,
                               IDC_SIZE_LABEL, IDC_FONT_GROUP, IDC_SEARCH_GROUP, IDC_BODY_SEARCH,
                               IDC_STICKY_FULL};

// The check boxes of the Searching group.
const int searchCheckBoxes[] = {IDC_BODY_SEARCH, IDC_STICKY_FULL};

int FindSize(HWND list, int size)
{
    const int count = static_cast<int>(SendMessage(list, CB_GETCOUNT, 0, 0));
    TCHAR item[textBufferLength];
    for (int i = 0; i < count; ++i) {
        if (GetItemText(list, i, item) && _ttoi(item) == size)
            return i;
    }
    return -1;
}

// A position of -1 leaves the list without a selection.
void SelectPosition(HWND list, int position)
{
    SendMessage(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

void ListFontFaces(HWND dialog)
{
    HDC screen = GetDC(nullptr);
    EnumFontFamilies(screen, nullptr, AddFontFace, reinterpret_cast<LPARAM>(dialog));
    ReleaseDC(nullptr, screen);
}

void ListFontSizes(HWND dialog)
{
    for (const TCHAR* size : fontSizes)
        SendDlgItemMessage(dialog, IDC_SIZE_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
}

void PresetFont(HWND dialog)
{
    SettingsKey settings;
    OpenSettings(settings);
    int size = defaultFontSize;
    settings.ReadNumber(TEXT("FontSize"), &size);
    TCHAR* face = nullptr;
    const bool hasFace = settings.ReadText(TEXT("Font"), &face);
    HWND faceList = GetDlgItem(dialog, IDC_FACE_LIST);
    HWND sizeList = GetDlgItem(dialog, IDC_SIZE_LIST);
    SelectPosition(faceList, FindListItemExactly(faceList, hasFace ? face : defaultFontFace));
    SelectPosition(sizeList, FindSize(sizeList, size));
    if (hasFace)
        FreeSettingsText(face);
}

UINT CheckState(bool on)
{
    return on ? BST_CHECKED : BST_UNCHECKED;
}

bool IsChecked(HWND dialog, int box)
{
    return IsDlgButtonChecked(dialog, box) == BST_CHECKED;
}

int Selection(HWND dialog, int list)
{
    return static_cast<int>(SendDlgItemMessage(dialog, list, CB_GETCURSEL, 0, 0));
}

void RemakeDisplayFont(BrowserPane& pane)
{
    pane.fontReady = false;
    CreateDisplayFont(pane);
    InvalidateRect(pane.Control(IDC_TEXT_VIEW), nullptr, FALSE);
}

RECT PlaceInDialog(HWND dialog, int id)
{
    RECT place = {};
    GetWindowRect(GetDlgItem(dialog, id), &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// In the GUI font "Full body searching always on" is wider than the
// template's box leaves it: each box takes its group's width instead, as far
// in from the group's right edge as from its left one.
void SpanCheckBoxesAcrossTheirGroup(HWND dialog)
{
    const RECT group = PlaceInDialog(dialog, IDC_SEARCH_GROUP);
    for (const int id : searchCheckBoxes) {
        const RECT box = PlaceInDialog(dialog, id);
        const LONG right = group.right - (box.left - group.left);
        if (right > box.right)
            MoveWindow(GetDlgItem(dialog, id), box.left, box.top, right - box.left,
                       box.bottom - box.top, FALSE);
    }
}

BOOL OnOptionsInitDialog(HWND dialog, LPARAM parameter)
{
    optionsPane = reinterpret_cast<BrowserPane*>(parameter);
    if (isHandheld) {
        SetUpFullScreenDialog(dialog);
    } else {
        for (const int control : guiFontControls)
            ApplyGuiFont(dialog, control);
        SpanCheckBoxesAcrossTheirGroup(dialog);
    }
    InitOptions(dialog);
    return TRUE;
}

BOOL OnOptionsCommand(HWND dialog, int control)
{
    if (control != IDOK)
        return FALSE;
    if (ApplyOptions(dialog))
        EndDialog(dialog, IDOK);
    return TRUE;
}

} // namespace

void InitOptions(HWND dialog)
{
    ListFontFaces(dialog);
    ListFontSizes(dialog);
    PresetFont(dialog);
    CheckDlgButton(dialog, IDC_BODY_SEARCH, CheckState(optionsPane->BodySearch));
    if (!isHandheld)
        CheckDlgButton(dialog, IDC_STICKY_FULL, CheckState(optionsPane->StickyFull));
}

int CALLBACK AddFontFace(const LOGFONT* font, const TEXTMETRIC*, DWORD fontType, LPARAM dialog)
{
    if (fontType != TRUETYPE_FONTTYPE || font->lfItalic || font->lfUnderline || font->lfStrikeOut)
        return TRUE;
    // For a TrueType family the record is an ENUMLOGFONT; its full name may
    // fill the field without a terminator.
    const auto* record = reinterpret_cast<const ENUMLOGFONT*>(font);
    TCHAR fullName[LF_FULLFACESIZE + 1];
    lstrcpyn(fullName, reinterpret_cast<const TCHAR*>(record->elfFullName), LF_FULLFACESIZE + 1);
    HWND faceList = GetDlgItem(reinterpret_cast<HWND>(dialog), IDC_FACE_LIST);
    if (FindListItemExactly(faceList, fullName) < 0)
        SendMessage(faceList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fullName));
    return TRUE;
}

bool ApplyOptions(HWND dialog)
{
    const int face = Selection(dialog, IDC_FACE_LIST);
    const int size = Selection(dialog, IDC_SIZE_LIST);
    if (face == CB_ERR || size == CB_ERR) {
        MessageBox(dialog, TEXT("Please select a font first"), TEXT("Error"), MB_OK);
        return false;
    }
    TCHAR faceName[textBufferLength];
    TCHAR sizeText[textBufferLength];
    GetItemText(GetDlgItem(dialog, IDC_FACE_LIST), face, faceName);
    GetItemText(GetDlgItem(dialog, IDC_SIZE_LIST), size, sizeText);

    SettingsKey settings;
    OpenSettings(settings);
    settings.WriteText(TEXT("Font"), faceName);
    settings.WriteNumber(TEXT("FontSize"), _ttoi(sizeText));
    RemakeDisplayFont(*optionsPane);
    optionsPane->BodySearch = IsChecked(dialog, IDC_BODY_SEARCH);
    settings.WriteNumber(TEXT("BodySearch"), optionsPane->BodySearch ? 1 : 0);
    if (!isHandheld) {
        optionsPane->StickyFull = IsChecked(dialog, IDC_STICKY_FULL);
        settings.WriteNumber(TEXT("StickyFull"), optionsPane->StickyFull ? 1 : 0);
    }
    return true;
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnOptionsInitDialog(dialog, lParam);
    case WM_COMMAND:
        // Only OK acts: Escape's command (2) is left alone and there is no
        // close box, so the dialog ends only with a face and a size chosen.
        return OnOptionsCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}

// The desktop program lets the dialog manager find template 116; the handheld
// program loads it and runs the dialog from memory.
void BrowserPane::OpenOptions()
{
    const auto parameter = reinterpret_cast<LPARAM>(this);
    if (!isHandheld) {
        DialogBoxParam(instance, MAKEINTRESOURCE(IDD_OPTIONS), window, OptionsDialogProc,
                       parameter);
        return;
    }
    HRSRC found = FindResource(instance, MAKEINTRESOURCE(IDD_OPTIONS), RT_DIALOG);
    HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const auto* dialogTemplate =
        static_cast<const DLGTEMPLATE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (dialogTemplate != nullptr)
        DialogBoxIndirectParam(instance, dialogTemplate, window, OptionsDialogProc, parameter);
}
