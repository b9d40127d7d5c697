// Checks that a dialog's controls show whole: see dialog_fit.h.
#include "tests/win32/dialog_fit.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pane/browser_pane.h"

namespace {

using TextString = std::basic_string<TCHAR>;

// What a control takes beside its text, where no system metric names it:
// measured under Wine at 96 dpi, the check box's 13-pixel box and the gap
// after it, and the group box's caption indent.
constexpr int checkBoxTextLeft = 18;
constexpr int groupCaptionIndent = 7;

TextString ClassOf(HWND control)
{
    TCHAR name[32] = {};
    GetClassName(control, name, 32);
    return name;
}

bool IsClass(HWND control, const TCHAR* name)
{
    return lstrcmpi(ClassOf(control).c_str(), name) == 0;
}

RECT RectInDialog(HWND control, HWND dialog)
{
    RECT place = {};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// A control without a font of its own draws with the system font.
int TextWidthIn(HWND control, const TextString& text)
{
    auto font = reinterpret_cast<HFONT>(SendMessage(control, WM_GETFONT, 0, 0));
    if (font == nullptr)
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size.cx;
}

// The texts a control shows: a drop-down list's selection, a button's or
// label's caption without its mnemonic mark; none for fields and lists,
// whose texts are the user's or the data's.
std::vector<TextString> ShownTexts(HWND control)
{
    std::vector<TextString> texts;
    TCHAR text[textBufferLength] = {};
    if (IsClass(control, TEXT("ComboBox"))) {
        const LRESULT selected = SendMessage(control, CB_GETCURSEL, 0, 0);
        if (selected != CB_ERR &&
            SendMessage(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0) <
                textBufferLength) {
            SendMessage(control, CB_GETLBTEXT, static_cast<WPARAM>(selected),
                        reinterpret_cast<LPARAM>(text));
            texts.push_back(text);
        }
    } else if (IsClass(control, TEXT("Button")) || IsClass(control, TEXT("Static"))) {
        GetWindowText(control, text, textBufferLength);
        TextString caption = text;
        caption.erase(std::remove(caption.begin(), caption.end(), TEXT('&')), caption.end());
        texts.push_back(caption);
    }
    return texts;
}

// What a control takes beside its text: a drop-down list all but its item
// area, inside which the text stands one pixel in; a push button its 3D
// frame and the default button's border on both sides; a label nothing.
int TextMargins(HWND control)
{
    if (IsClass(control, TEXT("ComboBox"))) {
        RECT place = {};
        GetWindowRect(control, &place);
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        GetComboBoxInfo(control, &info);
        return (place.right - place.left) - (info.rcItem.right - info.rcItem.left) +
               2 * GetSystemMetrics(SM_CXBORDER);
    }
    if (!IsClass(control, TEXT("Button")))
        return 0;
    switch (GetWindowLongPtr(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
        return checkBoxTextLeft;
    case BS_GROUPBOX:
        return 2 * groupCaptionIndent;
    default:
        return 2 * (GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXBORDER));
    }
}

} // namespace

void ExpectEveryControlInsideAndItsTextWhole(HWND dialog)
{
    RECT client = {};
    GetClientRect(dialog, &client);
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(control))
            continue;
        const int id = GetDlgCtrlID(control);
        const RECT place = RectInDialog(control, dialog);
        EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= client.right &&
                    place.bottom <= client.bottom)
            << "control " << id << " at " << place.left << "," << place.top << "-" << place.right
            << "," << place.bottom << " in " << client.right << "x" << client.bottom;
        for (const TextString& text : ShownTexts(control))
            EXPECT_GE(place.right - place.left, TextWidthIn(control, text) + TextMargins(control))
                << "control " << id << " \"" << text << "\"";
    }
}

