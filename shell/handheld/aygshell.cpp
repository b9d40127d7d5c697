// Emulation of the handheld shell library on desktop Windows, on an emulated
// screen of 240 x 320 pixels: a navigation bar along the top that shows the
// active window's title and, for a full-screen dialog, its Done button (the
// windows the shell places show no desktop frame); menu bars along the
// bottom built from their templates; and a soft keyboard that rises above the
// menu bar and shrinks the windows above it.
#include "shell/handheld/aygshell.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "shell/handheld/menu_bar_template.h"

namespace {

constexpr int screenWidth = 240;
constexpr int screenHeight = 320;
constexpr int navigationBarHeight = 26;
constexpr int menuBarHeight = 26;
constexpr int keyboardHeight = 80;
constexpr int keyRows = 5;
constexpr int keyWidth = screenWidth / 10;
constexpr int keyHeight = keyboardHeight / keyRows;
constexpr int doneButtonWidth = 36;
constexpr int doneButtonMargin = 3;
constexpr int titleMargin = 6;
constexpr int titleLength = 128;
constexpr COLORREF stripBackground = RGB(192, 192, 192);
constexpr COLORREF navigationBarColour = RGB(0, 40, 104);
constexpr COLORREF navigationTextColour = RGB(255, 255, 255);

// The navigation bar's children.
constexpr int titleId = 1;
constexpr int doneId = 2;

const TCHAR menuBarClass[] = TEXT("VellumEmulatedMenuBar");
const TCHAR navigationBarClass[] = TEXT("VellumEmulatedNavigationBar");
const TCHAR keyboardClass[] = TEXT("VellumEmulatedKeyboard");
const TCHAR keyboardPreferenceClass[] = TEXT("SIPPREF");

// One key of the soft keyboard: where it lies on the panel, what it types.
struct KeyCap {
    RECT place;
    TCHAR character;
    TCHAR label[8];
};

// The emulated device, one per process: the keyboard's state, the strips
// the shell draws over the program's windows, and the full-screen dialogs
// that were given a Done button.
struct EmulatedDevice {
    bool keyboardUp = false;
    HHOOK messageHook = nullptr;
    HWND navigationBar = nullptr;
    HWND title = nullptr;
    HWND done = nullptr;
    HWND doneTarget = nullptr; // the active dialog that Done closes
    HBRUSH navigationBrush = nullptr;
    std::vector<HWND> doneDialogs;
    HWND keyboard = nullptr;
    std::vector<KeyCap> keys;
};

EmulatedDevice device;

// ---- geometry of the emulated screen ----

int MenuBarTop()
{
    return screenHeight - menuBarHeight;
}

int KeyboardTop()
{
    return MenuBarTop() - keyboardHeight;
}

RECT KeyboardArea()
{
    return RECT{0, KeyboardTop(), screenWidth, MenuBarTop()};
}

// Where the program's windows lie: below the navigation bar, down to the
// menu bar, or to the keyboard while it is up.
RECT WindowArea()
{
    return RECT{0, navigationBarHeight, screenWidth,
                device.keyboardUp ? KeyboardTop() : MenuBarTop()};
}

// On the device a window has no frame: its title shows in the navigation
// bar. The shell shows only the client area of a window it places (a window
// region; the window's styles stay as the program made them). A desktop
// caption would lie under the bar, and under Wine without a window manager a
// window shown after the bar can cover it on the display although it lies
// below it in the window order.
void ShowOnlyClientArea(HWND window)
{
    RECT outer;
    RECT inner;
    GetWindowRect(window, &outer);
    GetClientRect(window, &inner);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&inner), 2);
    OffsetRect(&inner, -outer.left, -outer.top);
    SetWindowRgn(window, CreateRectRgnIndirect(&inner), TRUE);
}

// A top-level window sized so that its client area is the given rectangle.
void PlaceClientArea(HWND window, RECT area)
{
    AdjustWindowRectEx(&area, static_cast<DWORD>(GetWindowLongPtr(window, GWL_STYLE)),
                       GetMenu(window) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtr(window, GWL_EXSTYLE)));
    MoveWindow(window, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    ShowOnlyClientArea(window);
}

// A top-level window fills the area left to windows; it learns of its size
// through WM_SIZE.
void FitWindow(HWND window)
{
    if ((GetWindowLongPtr(window, GWL_STYLE) & WS_CHILD) == 0)
        PlaceClientArea(window, WindowArea());
}

void RegisterEmulationClass(const TCHAR* name, WNDPROC procedure, HBRUSH background)
{
    WNDCLASS windowClass = {};
    if (GetClassInfo(GetModuleHandle(nullptr), name, &windowClass))
        return;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandle(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClass(&windowClass);
}

// A strip of the screen that the shell draws over the program's windows. A
// tap on it must leave the active window and its focus as they are (a lost
// focus would lower the keyboard and lose the next typed character): it
// never activates, neither when shown nor when tapped (WM_MOUSEACTIVATE).
HWND CreateStrip(const TCHAR* className, RECT place)
{
    return CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, className, nullptr,
                          WS_POPUP | WS_CLIPCHILDREN, place.left, place.top,
                          place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                          GetModuleHandle(nullptr), nullptr);
}

// What the shell's strips (navigation bar, keyboard, menu bars) do with the
// messages their own procedures leave: a tap on one leaves the activation
// and the focus where they are, and showing or moving one must not activate
// it either (the program shows its dialogs' menu bars with a plain
// ShowWindow).
LRESULT StripDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;
    if (message == WM_WINDOWPOSCHANGING)
        reinterpret_cast<WINDOWPOS*>(lParam)->flags |= SWP_NOACTIVATE;
    return DefWindowProc(window, message, wParam, lParam);
}

// ---- the navigation bar ----

bool HasDoneButton(HWND window)
{
    return window != nullptr && std::find(device.doneDialogs.begin(), device.doneDialogs.end(),
                                          window) != device.doneDialogs.end();
}

// The bar shows the active window of the program: its title, and the Done
// button while it is a full-screen dialog that asked for one.
void ShowActiveWindow()
{
    if (device.navigationBar == nullptr)
        return;
    HWND active = GetActiveWindow();
    TCHAR title[titleLength] = {};
    if (active != nullptr)
        GetWindowText(active, title, titleLength);
    SetWindowText(device.title, title);
    device.doneTarget = HasDoneButton(active) ? active : nullptr;
    ShowWindow(device.done, device.doneTarget != nullptr ? SW_SHOWNA : SW_HIDE);
}

void ForgetDoneDialog(HWND window)
{
    device.doneDialogs.erase(
        std::remove(device.doneDialogs.begin(), device.doneDialogs.end(), window),
        device.doneDialogs.end());
    if (device.doneTarget == window)
        ShowActiveWindow();
}

LRESULT OnTitleColour(HDC dc)
{
    SetTextColor(dc, navigationTextColour);
    SetBkColor(dc, navigationBarColour);
    return reinterpret_cast<LRESULT>(device.navigationBrush);
}

void DrawDoneButton(const DRAWITEMSTRUCT& item)
{
    RECT face = item.rcItem;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH);
    TCHAR label[8] = {};
    GetWindowText(item.hwndItem, label, 8);
    HGDIOBJ oldFont = SelectObject(item.hDC, GetStockObject(DEFAULT_GUI_FONT));
    // The static control hands over the colours the bar gave its title.
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    SetBkMode(item.hDC, TRANSPARENT);
    DrawText(item.hDC, label, -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(item.hDC, oldFont);
}

// Done is command 1 to the dialog, as its OK would be. It is posted: the
// dialog may hide or end at once, moving the activation and with it the
// bar's contents while the static control is still handling the tap.
void OnNavigationCommand(int id, int code)
{
    if (id == doneId && code == STN_CLICKED && device.doneTarget != nullptr)
        PostMessage(device.doneTarget, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void ForgetNavigationBar()
{
    device.navigationBar = nullptr;
    device.title = nullptr;
    device.done = nullptr;
    device.doneTarget = nullptr;
}

// The children are static controls: unlike buttons they do not take the
// focus when tapped, and Done reports its tap with SS_NOTIFY.
LRESULT CALLBACK NavigationBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CTLCOLORSTATIC:
        return OnTitleColour(reinterpret_cast<HDC>(wParam));
    case WM_DRAWITEM:
        DrawDoneButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        OnNavigationCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NCDESTROY:
        ForgetNavigationBar();
        break;
    }
    return StripDefaultProc(window, message, wParam, lParam);
}

// ---- the soft keyboard ----

void AddKey(RECT place, TCHAR character, const TCHAR* label)
{
    KeyCap key = {place, character, {}};
    lstrcpyn(key.label, label, 8);
    device.keys.push_back(key);
}

// Four rows of characters, each centred, then rub-out and space.
void LayOutKeys()
{
    const TCHAR* const rows[] = {TEXT("1234567890"), TEXT("qwertyuiop"), TEXT("asdfghjkl"),
                                 TEXT("zxcvbnm+-")};
    int top = 0;
    for (const TCHAR* row : rows) {
        const int count = lstrlen(row);
        for (int k = 0, left = (screenWidth - count * keyWidth) / 2; k < count;
             ++k, left += keyWidth) {
            const TCHAR label[2] = {row[k], 0};
            AddKey(RECT{left, top, left + keyWidth, top + keyHeight}, row[k], label);
        }
        top += keyHeight;
    }
    AddKey(RECT{0, top, 3 * keyWidth, top + keyHeight}, TEXT('\b'), TEXT("del"));
    AddKey(RECT{3 * keyWidth, top, screenWidth, top + keyHeight}, TEXT(' '), TEXT("space"));
}

void PaintKeys(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (const KeyCap& key : device.keys) {
        RECT face = key.place;
        DrawEdge(dc, &face, EDGE_RAISED, BF_RECT | BF_ADJUST);
        DrawText(dc, key.label, -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

// A tapped key types into the focused window, which the tap left where it
// was. The character is posted so that it passes through the program's
// message loop as a typed one would.
void TypeKeyAt(POINT point)
{
    const auto key = std::find_if(device.keys.begin(), device.keys.end(), [&](const KeyCap& cap) {
        return PtInRect(&cap.place, point) != FALSE;
    });
    if (key != device.keys.end() && GetFocus() != nullptr)
        PostMessage(GetFocus(), WM_CHAR, static_cast<WPARAM>(key->character), 1);
}

LRESULT CALLBACK KeyboardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintKeys(window);
        return 0;
    case WM_LBUTTONDOWN:
        TypeKeyAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_NCDESTROY:
        device.keyboard = nullptr;
        break;
    }
    return StripDefaultProc(window, message, wParam, lParam);
}

void ShowKeyboard(bool up)
{
    if (up && device.keyboard == nullptr) {
        RegisterEmulationClass(keyboardClass, KeyboardProc,
                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        if (device.keys.empty())
            LayOutKeys();
        device.keyboard = CreateStrip(keyboardClass, KeyboardArea());
    }
    if (device.keyboard != nullptr)
        SetWindowPos(device.keyboard, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                         (up ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

BOOL CALLBACK TellWindowOfKeyboard(HWND window, LPARAM)
{
    SendMessage(window, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0);
    return TRUE;
}

void SetKeyboard(bool up)
{
    if (device.keyboardUp == up)
        return;
    device.keyboardUp = up;
    ShowKeyboard(up);
    EnumThreadWindows(GetCurrentThreadId(), TellWindowOfKeyboard, 0);
}

LRESULT CALLBACK KeyboardPreferenceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Only the emulation's own preference control raises the keyboard, not a
// class of that name that someone else registered first.
bool IsEditOfKeyboardDialog(HWND window)
{
    TCHAR name[16] = {};
    GetClassName(window, name, 16);
    if (lstrcmpi(name, TEXT("Edit")) != 0)
        return false;
    HWND dialog = GetParent(window);
    HWND preference = dialog != nullptr
                          ? FindWindowEx(dialog, nullptr, keyboardPreferenceClass, nullptr)
                          : nullptr;
    return preference != nullptr && GetWindowLongPtr(preference, GWLP_WNDPROC) ==
                                        reinterpret_cast<LONG_PTR>(KeyboardPreferenceProc);
}

// ---- what the shell watches: focus, activation, titles ----

void OnWatchedMessage(const CWPRETSTRUCT& message)
{
    switch (message.message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (IsEditOfKeyboardDialog(message.hwnd))
            SetKeyboard(message.message == WM_SETFOCUS);
        break;
    case WM_ACTIVATE:
        ShowActiveWindow();
        break;
    case WM_SETTEXT:
        if (message.hwnd == GetActiveWindow())
            ShowActiveWindow();
        break;
    case WM_DESTROY:
        ForgetDoneDialog(message.hwnd);
        break;
    }
}

// The hook sees each message after its window handled it: by then the
// active window is the new one and a new title is set.
LRESULT CALLBACK WatchMessage(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION)
        OnWatchedMessage(*reinterpret_cast<const CWPRETSTRUCT*>(lParam));
    return CallNextHookEx(device.messageHook, code, wParam, lParam);
}

void WatchMessages()
{
    if (device.messageHook == nullptr)
        device.messageHook =
            SetWindowsHookEx(WH_CALLWNDPROCRET, WatchMessage, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK KeyboardPreferenceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        WatchMessages();
    return DefWindowProc(window, message, wParam, lParam);
}

// The shell's bar along the top, made when the program first sets up a menu
// bar or a full-screen dialog.
void CreateNavigationBar()
{
    if (device.navigationBar != nullptr)
        return;
    if (device.navigationBrush == nullptr)
        device.navigationBrush = CreateSolidBrush(navigationBarColour);
    RegisterEmulationClass(navigationBarClass, NavigationBarProc, device.navigationBrush);
    device.navigationBar =
        CreateStrip(navigationBarClass, RECT{0, 0, screenWidth, navigationBarHeight});
    if (device.navigationBar == nullptr)
        return;
    HINSTANCE instance = GetModuleHandle(nullptr);
    const int doneLeft = screenWidth - doneButtonMargin - doneButtonWidth;
    device.title = CreateWindowEx(
        0, TEXT("STATIC"), nullptr,
        WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX | SS_ENDELLIPSIS,
        titleMargin, 0, doneLeft - 2 * titleMargin, navigationBarHeight, device.navigationBar,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(titleId)), instance, nullptr);
    SendMessage(device.title, WM_SETFONT,
                reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    device.done =
        CreateWindowEx(0, TEXT("STATIC"), TEXT("ok"), WS_CHILD | SS_OWNERDRAW | SS_NOTIFY, doneLeft,
                       doneButtonMargin, doneButtonWidth,
                       navigationBarHeight - 2 * doneButtonMargin, device.navigationBar,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(doneId)), instance, nullptr);
    WatchMessages();
    ShowWindow(device.navigationBar, SW_SHOWNOACTIVATE);
    ShowActiveWindow();
}

// ---- menu bars ----

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
    const auto* bytes =
        static_cast<const unsigned char*>(LockResource(LoadResource(instance, found)));
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
    const int command = TrackPopupMenu(subMenu, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD,
                                       place.left, place.top, 0, bar.toolbar, nullptr);
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

void OnMenuBarSize(const MenuBar& bar, int width, int height)
{
    if (bar.toolbar != nullptr)
        MoveWindow(bar.toolbar, 0, 0, width, height, TRUE);
}

void DestroyMenuBar(HWND window, MenuBar* bar)
{
    if (bar->menu != nullptr)
        DestroyMenu(bar->menu);
    if (bar->images != nullptr)
        ImageList_Destroy(bar->images);
    delete bar;
    SetWindowLongPtr(window, GWLP_USERDATA, 0);
}

LRESULT CALLBACK MenuBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* bar = reinterpret_cast<MenuBar*>(GetWindowLongPtr(window, GWLP_USERDATA));
    // The bar holds its record from just after its window is made.
    if (bar == nullptr)
        return DefWindowProc(window, message, wParam, lParam);
    switch (message) {
    case WM_SIZE:
        OnMenuBarSize(*bar, LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_NOTIFY:
        return OnMenuBarNotify(*bar, *reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
        // Plain buttons send their command on to the bar's parent.
        SendMessage(bar->parent, WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
        return 0;
    case WM_NCDESTROY:
        DestroyMenuBar(window, bar);
        break;
    }
    return StripDefaultProc(window, message, wParam, lParam);
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
    bar.toolbar =
        CreateWindowEx(0, TOOLBARCLASSNAME, nullptr,
                       WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS |
                           CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                       0, 0, screenWidth, menuBarHeight, frame, nullptr, bar.instance, nullptr);
    SendMessage(bar.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (bitmap != 0) {
        bar.images = ImageList_LoadImage(bar.instance, MAKEINTRESOURCE(bitmap), 16, 0,
                                         stripBackground, IMAGE_BITMAP, 0);
        SendMessage(bar.toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(bar.images));
    }
    AddButtons(bar);
    SendMessage(bar.toolbar, TB_AUTOSIZE, 0, 0);
    return bar.toolbar;
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

} // namespace

RECT EmulatedWorkArea()
{
    return RECT{0, navigationBarHeight, screenWidth, screenHeight};
}

HWND EmulatedNavigationBar()
{
    return device.navigationBar;
}

HWND EmulatedKeyboard()
{
    return device.keyboard;
}

bool IsEmulatedKeyboardUp()
{
    return device.keyboardUp;
}

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
    CreateNavigationBar();

    // A top-level parent first fills the screen below the navigation bar, as
    // windows do on the device; once activated it gives the bar its room
    // (see FitWindow). The bar is a window of its own along the bottom of
    // the screen that never takes the activation (see CreateStrip).
    if ((GetWindowLongPtr(info->hwndParent, GWL_STYLE) & WS_CHILD) == 0)
        PlaceClientArea(info->hwndParent, EmulatedWorkArea());
    HWND frame = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, menuBarClass, nullptr,
                                WS_POPUP, 0, MenuBarTop(), screenWidth, menuBarHeight,
                                info->hwndParent, nullptr, info->hInstRes, nullptr);
    if (frame == nullptr) {
        delete bar;
        return FALSE;
    }
    SetWindowLongPtr(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bar));
    CreateToolbar(frame, *bar, info->nBmpId);
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    info->hwndMB = frame;
    return TRUE;
}

BOOL SHInitDialog(SHINITDLGINFO* info)
{
    if ((info->dwMask & SHIDIM_FLAGS) == 0)
        return FALSE;
    CreateNavigationBar();
    if (info->dwFlags & SHIDIF_SIPDOWN)
        SetKeyboard(false);
    if (info->dwFlags & SHIDIF_SIZEDLGFULLSCREEN)
        PlaceClientArea(info->hDlg, WindowArea());
    // Done lies in the navigation bar beside the title, never over the
    // dialog's own controls; the bar shows it while the dialog is active.
    if ((info->dwFlags & SHIDIF_DONEBUTTON) && !HasDoneButton(info->hDlg))
        device.doneDialogs.push_back(info->hDlg);
    ShowActiveWindow();
    return TRUE;
}

BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM, SHACTIVATEINFO* record, DWORD)
{
    if (record == nullptr)
        return FALSE;
    record->fActive = LOWORD(wParam) != WA_INACTIVE;
    if (record->fActive) {
        record->fSipUp = device.keyboardUp;
        FitWindow(window);
    } else {
        record->hwndLastFocus = GetFocus();
    }
    return TRUE;
}

BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM, SHACTIVATEINFO* record)
{
    if (record == nullptr || wParam != SPI_SETSIPINFO ||
        record->fSipUp == static_cast<UINT>(device.keyboardUp))
        return FALSE;
    // The window gives the keyboard its room and gets it back, and learns of
    // its new size through WM_SIZE.
    record->fSipUp = device.keyboardUp;
    FitWindow(window);
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
