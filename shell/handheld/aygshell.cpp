// Emulation of the handheld shell library on desktop Windows. Windows keep
// their desktop frames; what the program relies on is emulated: menu bars
// along the bottom of the screen built from their templates, dialogs that
// fill the screen with a Done button that sends command 1, and a soft
// keyboard that shrinks the active window while it is up.
#include "shell/handheld/aygshell.h"

#include <commctrl.h>

#include <vector>

#include "shell/handheld/menu_bar_template.h"

namespace {

constexpr int screenWidth = 240;
constexpr int screenHeight = 320;
constexpr int navigationBarHeight = 26;
constexpr int menuBarHeight = 26;
constexpr int keyboardHeight = 80;
constexpr int doneButtonWidth = 36;
constexpr COLORREF stripBackground = RGB(192, 192, 192);

const TCHAR menuBarClass[] = TEXT("VellumEmulatedMenuBar");
const TCHAR keyboardPreferenceClass[] = TEXT("SIPPREF");

bool keyboardUp = false;
HHOOK focusHook = nullptr;

// What a menu bar keeps: its window's parent, template and drop-down menu.
struct MenuBar {
    HWND parent = nullptr;
    HINSTANCE instance = nullptr;
    HWND toolbar = nullptr;
    HMENU menu = nullptr;
    HIMAGELIST images = nullptr;
    MenuBarTemplate layout;
};

bool LoadMenuBarTemplate(HINSTANCE instance, UINT id, MenuBarTemplate& layout)
{
    HRSRC found = FindResource(instance, MAKEINTRESOURCE(id), RT_RCDATA);
    if (found == nullptr)
        return false;
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(instance, found)));
    return bytes != nullptr && ReadMenuBarTemplate(bytes, SizeofResource(instance, found), layout);
}

const MenuBarButton* ButtonFor(const MenuBar& bar, int command)
{
    for (const MenuBarButton& button : bar.layout.buttons) {
        if (button.command == command)
            return &button;
    }
    return nullptr;
}

// Each drop-down button opens the sub-menu the template names, above the
// bar; the chosen item goes to the bar's parent as a menu command.
void OpenDropDown(MenuBar& bar, const NMTOOLBAR& notice)
{
    const MenuBarButton* button = ButtonFor(bar, notice.iItem);
    if (button == nullptr || bar.menu == nullptr)
        return;
    HMENU subMenu = GetSubMenu(bar.menu, button->subMenu);
    RECT place = notice.rcButton;
    MapWindowPoints(bar.toolbar, nullptr, reinterpret_cast<POINT*>(&place), 2);
    const int command = TrackPopupMenu(subMenu, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD, place.left,
                                       place.top, 0, bar.toolbar, nullptr);
    if (command != 0)
        SendMessage(bar.parent, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void GiveTip(const MenuBar& bar, NMTTDISPINFO& tip)
{
    const MenuBarButton* button = ButtonFor(bar, static_cast<int>(tip.hdr.idFrom));
    if (button != nullptr && button->tip != 0)
        LoadString(bar.instance, button->tip, tip.szText, 80);
}

LRESULT OnMenuBarNotify(MenuBar& bar, NMHDR& notice)
{
    if (notice.code == TBN_DROPDOWN) {
        OpenDropDown(bar, reinterpret_cast<NMTOOLBAR&>(notice));
        return TBDDRET_DEFAULT;
    }
    if (notice.code == TTN_GETDISPINFO)
        GiveTip(bar, reinterpret_cast<NMTTDISPINFO&>(notice));
    return 0;
}

LRESULT CALLBACK MenuBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* bar = reinterpret_cast<MenuBar*>(GetWindowLongPtr(window, GWLP_USERDATA));
    switch (message) {
    case WM_SIZE:
        if (bar != nullptr && bar->toolbar != nullptr)
            MoveWindow(bar->toolbar, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        break;
    case WM_NOTIFY:
        if (bar != nullptr)
            return OnMenuBarNotify(*bar, *reinterpret_cast<NMHDR*>(lParam));
        break;
    case WM_COMMAND:
        // Plain buttons send their command on to the bar's parent.
        if (bar != nullptr)
            SendMessage(bar->parent, WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
        return 0;
    case WM_NCDESTROY:
        if (bar != nullptr) {
            if (bar->menu != nullptr)
                DestroyMenu(bar->menu);
            if (bar->images != nullptr)
                ImageList_Destroy(bar->images);
            delete bar;
            SetWindowLongPtr(window, GWLP_USERDATA, 0);
        }
        break;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

void RegisterMenuBarClass(HINSTANCE instance)
{
    WNDCLASS windowClass = {};
    windowClass.lpfnWndProc = MenuBarProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = menuBarClass;
    RegisterClass(&windowClass);
}

void AddButtons(MenuBar& bar)
{
    for (const MenuBarButton& button : bar.layout.buttons) {
        TBBUTTON added = {};
        added.iBitmap = button.image == menuBarNoImage ? I_IMAGENONE : button.image;
        added.idCommand = button.command;
        added.fsState = static_cast<BYTE>(button.state);
        // The template's styles are the toolbar's; a drop-down opens its menu
        // wherever it is tapped, as on the device.
        added.fsStyle = static_cast<BYTE>(button.style);
        if (button.style & menuBarDropDown)
            added.fsStyle |= BTNS_WHOLEDROPDOWN;
        TCHAR caption[64] = {};
        if (button.caption != 0 && LoadString(bar.instance, button.caption, caption, 64) > 0)
            added.iString = reinterpret_cast<INT_PTR>(caption);
        SendMessage(bar.toolbar, TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&added));
    }
}

HWND CreateToolbar(HWND frame, MenuBar& bar, int bitmap)
{
    bar.toolbar = CreateWindowEx(0, TOOLBARCLASSNAME, nullptr,
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS |
                                     CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                 0, 0, screenWidth, menuBarHeight, frame, nullptr, bar.instance, nullptr);
    SendMessage(bar.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (bitmap != 0) {
        bar.images = ImageList_LoadImage(bar.instance, MAKEINTRESOURCE(bitmap), 16, 0, stripBackground,
                                         IMAGE_BITMAP, 0);
        SendMessage(bar.toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(bar.images));
    }
    AddButtons(bar);
    SendMessage(bar.toolbar, TB_AUTOSIZE, 0, 0);
    return bar.toolbar;
}

// A top-level window sized so that its client area is the given rectangle.
void PlaceClientArea(HWND window, RECT area)
{
    AdjustWindowRectEx(&area, static_cast<DWORD>(GetWindowLongPtr(window, GWL_STYLE)), GetMenu(window) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtr(window, GWL_EXSTYLE)));
    MoveWindow(window, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

// The work area less the keyboard, when it is up.
RECT AreaAboveKeyboard()
{
    RECT area = EmulatedWorkArea();
    if (keyboardUp)
        area.bottom -= keyboardHeight;
    return area;
}

// The menu bar a window owns, if any.
HWND MenuBarOf(HWND window)
{
    for (HWND owned = FindWindowEx(nullptr, nullptr, menuBarClass, nullptr); owned != nullptr;
         owned = FindWindowEx(nullptr, owned, menuBarClass, nullptr)) {
        if (GetWindow(owned, GW_OWNER) == window)
            return owned;
    }
    return nullptr;
}

// A top-level window with a menu bar ends where its bar begins, or where the
// keyboard begins when it is up; it learns of its size through WM_SIZE.
void FitAboveBar(HWND window)
{
    if ((GetWindowLongPtr(window, GWL_STYLE) & WS_CHILD) != 0)
        return;
    RECT area = AreaAboveKeyboard();
    if (!keyboardUp && MenuBarOf(window) != nullptr)
        area.bottom -= menuBarHeight;
    PlaceClientArea(window, area);
}

BOOL CALLBACK TellWindowOfKeyboard(HWND window, LPARAM)
{
    SendMessage(window, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
    return TRUE;
}

void SetKeyboard(bool up)
{
    if (keyboardUp == up)
        return;
    keyboardUp = up;
    EnumThreadWindows(GetCurrentThreadId(), TellWindowOfKeyboard, 0);
}

bool IsEditOfKeyboardDialog(HWND window)
{
    TCHAR name[16] = {};
    GetClassName(window, name, 16);
    if (lstrcmpi(name, TEXT("Edit")) != 0)
        return false;
    HWND dialog = GetParent(window);
    return dialog != nullptr && FindWindowEx(dialog, nullptr, keyboardPreferenceClass, nullptr) != nullptr;
}

// Watches the focus moving into and out of the edit fields of dialogs that
// carry a keyboard preference control.
LRESULT CALLBACK OnFocusMessage(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if ((message->message == WM_SETFOCUS || message->message == WM_KILLFOCUS) &&
            IsEditOfKeyboardDialog(message->hwnd))
            SetKeyboard(message->message == WM_SETFOCUS);
    }
    return CallNextHookEx(focusHook, code, wParam, lParam);
}

LRESULT CALLBACK KeyboardPreferenceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE && focusHook == nullptr)
        focusHook = SetWindowsHookEx(WH_CALLWNDPROC, OnFocusMessage, nullptr, GetCurrentThreadId());
    return DefWindowProc(window, message, wParam, lParam);
}

void AddDoneButton(HWND dialog)
{
    RECT client;
    GetClientRect(dialog, &client);
    HWND done = CreateWindowEx(0, TEXT("BUTTON"), TEXT("ok"), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                               client.right - doneButtonWidth, 0, doneButtonWidth, 18, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)),
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtr(dialog, GWLP_HINSTANCE)), nullptr);
    SetWindowPos(done, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace

RECT EmulatedWorkArea() { return RECT{0, navigationBarHeight, screenWidth, screenHeight}; }

bool IsEmulatedKeyboardUp() { return keyboardUp; }

int EmulatedKeyboardHeight() { return keyboardHeight; }

BOOL SHCreateMenuBar(SHMENUBARINFO* info)
{
    auto* bar = new MenuBar();
    bar->parent = info->hwndParent;
    bar->instance = info->hInstRes;
    LoadMenuBarTemplate(info->hInstRes, info->nToolBarId, bar->layout);
    if (bar->layout.menu != 0)
        bar->menu = LoadMenu(info->hInstRes, MAKEINTRESOURCE(bar->layout.menu));
    RegisterMenuBarClass(info->hInstRes);
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);

    // A top-level parent fills the work area, as windows do on the device;
    // the bar is a window of its own along the bottom of the screen. Once the
    // parent is activated it gives the bar its room (see FitAboveBar).
    if ((GetWindowLongPtr(info->hwndParent, GWL_STYLE) & WS_CHILD) == 0)
        PlaceClientArea(info->hwndParent, EmulatedWorkArea());
    const RECT area = EmulatedWorkArea();
    HWND frame = CreateWindowEx(WS_EX_TOOLWINDOW, menuBarClass, nullptr, WS_POPUP | WS_VISIBLE, area.left,
                                area.bottom - menuBarHeight, area.right - area.left, menuBarHeight,
                                info->hwndParent, nullptr, info->hInstRes, nullptr);
    if (frame == nullptr) {
        delete bar;
        return FALSE;
    }
    SetWindowLongPtr(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bar));
    CreateToolbar(frame, *bar, info->nBmpId);
    info->hwndMB = frame;
    return TRUE;
}

BOOL SHInitDialog(SHINITDLGINFO* info)
{
    if ((info->dwMask & SHIDIM_FLAGS) == 0)
        return FALSE;
    if (info->dwFlags & SHIDIF_SIPDOWN)
        SetKeyboard(false);
    if (info->dwFlags & SHIDIF_SIZEDLGFULLSCREEN)
        PlaceClientArea(info->hDlg, AreaAboveKeyboard());
    if (info->dwFlags & SHIDIF_DONEBUTTON)
        AddDoneButton(info->hDlg);
    return TRUE;
}

BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM, SHACTIVATEINFO* record, DWORD)
{
    if (record == nullptr)
        return FALSE;
    record->fActive = LOWORD(wParam) != WA_INACTIVE;
    if (record->fActive) {
        record->fSipUp = keyboardUp;
        FitAboveBar(window);
    } else {
        record->hwndLastFocus = GetFocus();
    }
    return TRUE;
}

BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM, SHACTIVATEINFO* record)
{
    if (record == nullptr || wParam != SPI_SETSIPINFO || record->fSipUp == static_cast<UINT>(keyboardUp))
        return FALSE;
    // The window gives the keyboard its room and gets it back, and learns of
    // its new size through WM_SIZE.
    record->fSipUp = keyboardUp;
    FitAboveBar(window);
    return TRUE;
}

BOOL SHInitExtraControls()
{
    WNDCLASS windowClass = {};
    if (GetClassInfo(GetModuleHandle(nullptr), keyboardPreferenceClass, &windowClass))
        return TRUE;
    windowClass.lpfnWndProc = KeyboardPreferenceProc;
    windowClass.hInstance = GetModuleHandle(nullptr);
    windowClass.lpszClassName = keyboardPreferenceClass;
    return RegisterClass(&windowClass) != 0;
}
