// The "Roll Dice" dialog: opening and numbering it, setting it up with its
// saved placement, laying out the row of fields, the quick buttons and the
// result list, and the rolls that put their lines on top of the list.
#include "dice/dice_dialog.h"

#include <commctrl.h>
#include <tchar.h>

#include <algorithm>
#include <new>

#include "dice/dice_engine.h"
#include "options/display_font.h"
#include "pane/browser_pane.h"
#include "resources/shared/resource_ids.h"
#include "settings/settings_key.h"
#include "shell/desktop/modeless_dialogs.h"
#include "shell/handheld/full_screen_dialog.h"
#include "shell/platform.h"

// Only the desktop's main window has a slot number. The handheld program has
// a MainWindow class of its own, and a program may hold only one definition
// of a class: the wide build must not see the desktop's.
#ifndef UNICODE
#include "shell/desktop/main_window.h"
#endif

namespace {

unsigned char diceTable[diceTableSize] = {};

// A field and the arrows that step it, with the arrows' lowest value and
// the field's text in a new dialog.
struct DiceField {
    int field;
    int arrows;
    int lowest;
    const TCHAR* initial;
};

const DiceField diceFields[] = {
    {IDC_DICE_COUNT, IDC_DICE_COUNT_ARROWS, 1, TEXT("1")},
    {IDC_DICE_MODIFIER, IDC_DICE_MODIFIER_ARROWS, 0, TEXT("0")},
    {IDC_DICE_REPEATS, IDC_DICE_REPEATS_ARROWS, 1, TEXT("1")},
};
constexpr int fieldCharacters = 3;
// Field texts are read up to this many characters.
constexpr int readCharacters = 9;

const TCHAR* const dieNames[] = {TEXT("d2"),  TEXT("d3"),  TEXT("d4"),  TEXT("d6"),  TEXT("d8"),
                                 TEXT("d10"), TEXT("d12"), TEXT("d20"), TEXT("d100")};
constexpr int defaultDie = 7; // "d20"

// Quick buttons IDC_QUICK_D2 to IDC_QUICK_D100 roll the dialog's dice, in
// id order.
constexpr int quickButtonCount = static_cast<int>(sizeof dialogDice / sizeof dialogDice[0]);

// Layout, in client pixels.
constexpr int margin = 2;
constexpr int fieldExtent = 45; // a field together with its arrows
constexpr int rollGap = 4;
constexpr int narrowestQuickButton = 10;
constexpr int besidePane = 10; // the first place of a dialog, from the pane's corner

DiceDialog* DiceOf(HWND window)
{
    return reinterpret_cast<DiceDialog*>(GetWindowLongPtr(window, GWLP_USERDATA));
}

HWND Control(const DiceDialog& dice, int id)
{
    return GetDlgItem(dice.window, id);
}

void FreeDiceNumber(DiceDialog& dice)
{
    if (dice.diceNumber != 0)
        diceTable[dice.diceNumber - 1] = 0;
    dice.diceNumber = 0;
}

// Template 132 names the up-down class directly, and a dialog's controls are
// made before any of its own code runs: the class is registered here, before
// every creation, so that the dialog never depends on someone else having
// done it. Registering it again does no harm.
void MakeUpDownClassAvailable()
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_UPDOWN_CLASS;
    InitCommonControlsEx(&controls);
}

// The handheld program runs its dialogs from templates loaded into memory.
const DLGTEMPLATE* LoadDiceTemplate(HINSTANCE instance)
{
    HRSRC found = FindResource(instance, MAKEINTRESOURCE(IDD_DICE), RT_DIALOG);
    HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    return static_cast<const DLGTEMPLATE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
}

HWND OwnerPaneWindow(const DiceDialog& dice)
{
    return dice.owner != nullptr ? dice.owner->window : nullptr;
}

// A pane without a main window (tests, benchmarks) keeps its dice placements
// under the first window's number.
constexpr int slotWithoutMainWindow = 1;

#ifdef UNICODE
int DiceSlotNumber(const DiceDialog&)
{
    return slotWithoutMainWindow;
}
#else
int DiceSlotNumber(const DiceDialog& dice)
{
    const MainWindow* main = dice.owner != nullptr ? dice.owner->owner : nullptr;
    return main != nullptr ? main->slotNumber : slotWithoutMainWindow;
}
#endif

// A control's rectangle in the dialog's client coordinates.
RECT PlaceOf(const DiceDialog& dice, int id)
{
    RECT place = {};
    GetWindowRect(Control(dice, id), &place);
    MapWindowPoints(nullptr, dice.window, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

int WidthOf(const DiceDialog& dice, int id)
{
    const RECT place = PlaceOf(dice, id);
    return place.right - place.left;
}

int HeightOf(const DiceDialog& dice, int id)
{
    const RECT place = PlaceOf(dice, id);
    return place.bottom - place.top;
}

// Negative sizes only arise in the empty client area of a minimized dialog.
void MoveControl(const DiceDialog& dice, int id, int left, int top, int width, int height)
{
    MoveWindow(Control(dice, id), left, top, width > 0 ? width : 0, height > 0 ? height : 0, TRUE);
}

void SetProgramIcon(const DiceDialog& dice)
{
    // The test programs carry no icon; the dialog then keeps the default.
    HICON icon = LoadIcon(dice.instance, MAKEINTRESOURCE(IDI_PROGRAM));
    if (icon == nullptr)
        return;
    SetClassLongPtr(dice.window, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    SendMessage(dice.window, WM_SETICON, ICON_BIG,
                reinterpret_cast<LPARAM>(LoadIcon(dice.instance, MAKEINTRESOURCE(IDI_PROGRAM))));
}

void SetFieldLimits(const DiceDialog& dice)
{
    for (const DiceField& field : diceFields) {
        SendDlgItemMessage(dice.window, field.arrows, UDM_SETRANGE, 0,
                           MAKELPARAM(highestFieldValue, field.lowest));
        SendDlgItemMessage(dice.window, field.field, EM_LIMITTEXT, fieldCharacters, 0);
    }
}

void ResetFields(const DiceDialog& dice)
{
    for (const DiceField& field : diceFields)
        SetDlgItemText(dice.window, field.field, field.initial);
    SendDlgItemMessage(dice.window, IDC_DIE_LIST, CB_SETCURSEL, defaultDie, 0);
}

void FillDieList(const DiceDialog& dice)
{
    for (const TCHAR* name : dieNames)
        SendDlgItemMessage(dice.window, IDC_DIE_LIST, CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(name));
}

// A text's width in the font the control draws with; a control without a
// font of its own draws with the system font.
int TextWidthIn(HWND control, const TCHAR* text)
{
    auto font = reinterpret_cast<HFONT>(SendMessage(control, WM_GETFONT, 0, 0));
    if (font == nullptr)
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    HDC context = GetDC(control);
    HGDIOBJ previous = SelectObject(context, font);
    SIZE size = {};
    GetTextExtentPoint32(context, text, lstrlen(text), &size);
    SelectObject(context, previous);
    ReleaseDC(control, context);
    return size.cx;
}

// The closed list shows its selection between its 3D edges and the drop-down
// button, one pixel in from either side; the template's width cuts "d100".
int DieListWidthNeeded(const DiceDialog& dice)
{
    HWND list = Control(dice, IDC_DIE_LIST);
    int widest = 0;
    for (const TCHAR* name : dieNames)
        widest = std::max(widest, TextWidthIn(list, name));
    return widest + GetSystemMetrics(SM_CXVSCROLL) +
           2 * (GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXBORDER));
}

// Moved with its closed height, the list keeps its open height (see
// PlaceFirstRow).
void WidenDieListForEveryDie(const DiceDialog& dice)
{
    const RECT place = PlaceOf(dice, IDC_DIE_LIST);
    const int width = std::max<int>(place.right - place.left, DieListWidthNeeded(dice));
    MoveControl(dice, IDC_DIE_LIST, place.left, place.top, width, place.bottom - place.top);
}

// The handheld dialog gives the shared font to its quick buttons only.
void ApplyDiceFonts(const DiceDialog& dice)
{
    for (int id = IDC_QUICK_D2; id <= IDC_QUICK_D100; ++id)
        ApplyGuiFont(dice.window, id);
    if (isHandheld)
        return;
    for (int id = IDC_DICE_COUNT; id <= IDC_DICE_TIMES; ++id)
        ApplyGuiFont(dice.window, id);
}

PlacementNames DicePlacementNames(const DiceDialog& dice)
{
    TCHAR numbers[32];
    wsprintf(numbers, TEXT("%d %d"), dice.diceNumber, DiceSlotNumber(dice));
    return MakePlacementNames(TEXT("Dice "), numbers);
}

// The saved rectangle, when all five values are there; the state value only
// has to exist, as a dialog always opens in the normal state.
bool ReadSavedRectangle(const DiceDialog& dice, WindowRectangle& saved)
{
    const PlacementNames names = DicePlacementNames(dice);
    SettingsKey settings;
    OpenSettings(settings);
    int state = 0;
    return settings.ReadNumber(names.state, &state) && settings.ReadNumber(names.left, &saved.x) &&
           settings.ReadNumber(names.top, &saved.y) &&
           settings.ReadNumber(names.width, &saved.width) &&
           settings.ReadNumber(names.height, &saved.height);
}

void MoveBesideOwnerPane(const DiceDialog& dice)
{
    RECT pane = {};
    GetWindowRect(OwnerPaneWindow(dice), &pane);
    RECT own = {};
    GetWindowRect(dice.window, &own);
    MoveWindow(dice.window, pane.left + besidePane, pane.top + besidePane, own.right - own.left,
               own.bottom - own.top, TRUE);
}

// Where the rows below the first one start, and how tall the quick buttons
// are.
struct FirstRow {
    int bottom; // handheld: the bottom of the Roll button's own row
    int buttonHeight;
};

void PlaceField(const DiceDialog& dice, const DiceField& field, int left, int height)
{
    MoveControl(dice, field.field, left, margin, fieldExtent, height);
    const int arrowsWidth = WidthOf(dice, field.arrows);
    MoveControl(dice, field.arrows, left + fieldExtent - arrowsWidth, margin, arrowsWidth,
                HeightOf(dice, field.arrows));
}

// Keeps its size.
void PlaceInFirstRow(const DiceDialog& dice, int id, int left)
{
    MoveControl(dice, id, left, margin, WidthOf(dice, id), HeightOf(dice, id));
}

// Count field, die list, "+", modifier field, "x", repeats field and, on the
// desktop, Roll, from left to right; the handheld Roll button gets a row of
// its own across the dialog.
FirstRow PlaceFirstRow(const DiceDialog& dice, int clientWidth)
{
    const int fieldHeight = HeightOf(dice, IDC_DICE_COUNT);
    const int dieLeft = margin + fieldExtent + margin;
    const int plusLeft = dieLeft + WidthOf(dice, IDC_DIE_LIST) + margin;
    const int modifierLeft = plusLeft + WidthOf(dice, IDC_DICE_PLUS) + margin;
    const int timesLeft = modifierLeft + fieldExtent + margin;
    const int repeatsLeft = timesLeft + WidthOf(dice, IDC_DICE_TIMES) + margin;

    PlaceField(dice, diceFields[0], margin, fieldHeight);
    // A drop-down list's window is only as tall as its closed box. Moved with
    // that height, it keeps the open height it has from the template, which
    // shows all nine dice; a taller height would set a new open height.
    PlaceInFirstRow(dice, IDC_DIE_LIST, dieLeft);
    PlaceInFirstRow(dice, IDC_DICE_PLUS, plusLeft);
    PlaceField(dice, diceFields[1], modifierLeft, fieldHeight);
    PlaceInFirstRow(dice, IDC_DICE_TIMES, timesLeft);
    PlaceField(dice, diceFields[2], repeatsLeft, fieldHeight);

    const int fieldBottom = margin + fieldHeight;
    if (isHandheld) {
        const int rollHeight = HeightOf(dice, IDC_ROLL);
        MoveControl(dice, IDC_ROLL, margin, fieldBottom + margin, clientWidth - 2 * margin,
                    rollHeight);
        return FirstRow{fieldBottom + margin + rollHeight, rollHeight};
    }
    MoveControl(dice, IDC_ROLL, repeatsLeft + fieldExtent + rollGap, margin,
                WidthOf(dice, IDC_ROLL), fieldHeight);
    return FirstRow{fieldBottom, fieldHeight};
}

// Nine buttons share the width: b = max(10, (W - 4) / 9 - 2), 2 pixels apart.
int QuickButtonWidth(int clientWidth)
{
    const int share = (clientWidth - 2 * margin) / quickButtonCount;
    return share - margin > narrowestQuickButton ? share - margin : narrowestQuickButton;
}

// Returns the buttons' bottom.
int PlaceQuickButtons(const DiceDialog& dice, int top, int height, int clientWidth)
{
    const int width = QuickButtonWidth(clientWidth);
    for (int i = 0; i < quickButtonCount; ++i)
        MoveControl(dice, IDC_QUICK_D2 + i, margin + i * (width + margin), top, width, height);
    return top + height;
}

// Attaching the arrows again puts them at the right end of their field and
// narrows the field by their width, so that both take the field's extent
// (the arrows lie over the field's right border).
void AttachArrows(const DiceDialog& dice)
{
    for (const DiceField& field : diceFields) {
        SendDlgItemMessage(dice.window, field.arrows, UDM_SETBUDDY,
                           reinterpret_cast<WPARAM>(Control(dice, field.field)), 0);
    }
}

void PlaceDiceControls(const DiceDialog& dice)
{
    RECT client = {};
    GetClientRect(dice.window, &client);
    const FirstRow row = PlaceFirstRow(dice, client.right);
    const int quickBottom =
        PlaceQuickButtons(dice, row.bottom + margin, row.buttonHeight, client.right);
    const int listTop = quickBottom + margin;
    MoveControl(dice, IDC_DICE_RESULTS, margin, listTop, client.right - 2 * margin,
                client.bottom - margin - listTop);
    AttachArrows(dice);
}

// A push button's caption stands inside its 3D frame and the border a
// default button adds, on both sides.
int QuickButtonWidthNeeded(const DiceDialog& dice)
{
    TCHAR caption[textBufferLength];
    int widest = 0;
    for (int id = IDC_QUICK_D2; id <= IDC_QUICK_D100; ++id) {
        GetDlgItemText(dice.window, id, caption, textBufferLength);
        widest = std::max(widest, TextWidthIn(Control(dice, id), caption));
    }
    return widest + 2 * (GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXBORDER));
}

// The client width at which the nine quick buttons share out (see
// QuickButtonWidth) a width that holds their widest caption.
int QuickRowWidthNeeded(const DiceDialog& dice)
{
    return 2 * margin + quickButtonCount * (QuickButtonWidthNeeded(dice) + margin);
}

// The template's width cuts the first row off inside Roll and the quick
// buttons' captions: a new dialog opens wide enough for both, measured from
// the controls laid out in their fonts. It never opens narrower.
void WidenForFirstRowAndQuickButtons(const DiceDialog& dice)
{
    PlaceDiceControls(dice);
    RECT client = {};
    GetClientRect(dice.window, &client);
    const int rowWidth = PlaceOf(dice, IDC_ROLL).right + margin;
    const int width =
        std::max({static_cast<int>(client.right), rowWidth, QuickRowWidthNeeded(dice)});
    RECT own = {};
    GetWindowRect(dice.window, &own);
    SetWindowPos(dice.window, nullptr, 0, 0, own.right - own.left + width - client.right,
                 own.bottom - own.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A saved place is taken as it was saved, however narrow.
void RestoreDicePlacement(const DiceDialog& dice)
{
    WindowRectangle saved = {};
    if (ReadSavedRectangle(dice, saved) &&
        FitsVirtualScreen(saved.x, saved.y, saved.width, saved.height)) {
        MoveWindow(dice.window, saved.x, saved.y, saved.width, saved.height, TRUE);
        return;
    }
    WidenForFirstRowAndQuickButtons(dice);
    MoveBesideOwnerPane(dice);
}

// A field's text as a number, reading from the given character on.
int ReadFieldNumber(const DiceDialog& dice, int id, int from)
{
    TCHAR text[readCharacters + 1] = {};
    const int length = GetDlgItemText(dice.window, id, text, readCharacters + 1);
    return length > from ? ParseFieldNumber(text + from) : 0;
}

// Each line goes on top as it is made, so the last one ends up first. The
// list does not repaint line by line: a thousand repaints of a growing list
// take seconds, the insertions alone milliseconds.
void RollIntoList(const DiceDialog& dice, const RollRequest& request)
{
    HWND list = Control(dice, IDC_DICE_RESULTS);
    SendMessage(list, WM_SETREDRAW, FALSE, 0);
    RollDice(request, [list](const char* line) {
        TCHAR shown[diceLineSize];
        WidenDiceLine(line, shown);
        SendMessage(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(shown));
    });
    SendMessage(list, WM_SETREDRAW, TRUE, 0);
    SendMessage(list, LB_SETCURSEL, 0, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// The handheld dialog's menu bar holds the eraser that clears everything.
void CreateDiceMenuBar(DiceDialog& dice)
{
    SHMENUBARINFO info = {};
    info.cbSize = sizeof info;
    info.hwndParent = dice.window;
    info.nToolBarId = IDR_DICE_MENU_BAR;
    info.hInstRes = dice.instance;
    info.nBmpId = IDB_MENU_BAR;
    info.cBmpImages = 1;
    SHCreateMenuBar(&info);
    dice.menuBar = info.hwndMB;
}

BOOL OnDiceInitDialog(HWND window, LPARAM parameter)
{
    SetWindowLongPtr(window, GWLP_USERDATA, parameter);
    DiceDialog* dice = reinterpret_cast<DiceDialog*>(parameter);
    dice->window = window;
    AddModelessDialog(window);
    if (isHandheld)
        SetUpFullScreenDialog(window);
    InitDiceDialog(*dice);
    if (isHandheld)
        CreateDiceMenuBar(*dice);
    return TRUE;
}

// The handheld keeps its soft keyboard and the dialog in step.
BOOL OnDiceShellMessage(DiceDialog& dice, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!isHandheld)
        return FALSE;
    if (message == WM_ACTIVATE)
        SHHandleWMActivate(dice.window, wParam, lParam, &dice.activation, 0);
    else
        SHHandleWMSettingChange(dice.window, wParam, lParam, &dice.activation);
    return TRUE;
}

// Desktop: the pane destroys the dialog and frees its object once this
// message handling is over. From here the object is the pane's: a second
// close request that arrives before the pane acts finds none and cannot
// hand the object over twice.
BOOL OnDiceCloseRequest(DiceDialog& dice)
{
    if (isHandheld)
        return FALSE;
    RemoveModelessDialog(dice.window);
    SetWindowLongPtr(dice.window, GWLP_USERDATA, 0);
    PostMessage(OwnerPaneWindow(dice), WM_DICE_CLOSED, 0, reinterpret_cast<LPARAM>(&dice));
    return TRUE;
}

// The handheld dialog leaves the list when its window goes.
BOOL OnDiceDestroy(const DiceDialog& dice)
{
    if (isHandheld)
        RemoveModelessDialog(dice.window);
    return FALSE;
}

// The handheld dialog does not follow moves: its shell keeps it full-screen.
BOOL OnDiceMovedOrSized(DiceDialog& dice, UINT message)
{
    if (isHandheld && message == WM_MOVE)
        return FALSE;
    LayoutDiceDialog(dice);
    return TRUE;
}

// By the control id alone; the notification code is not looked at.
BOOL OnDiceCommand(DiceDialog& dice, int id)
{
    if (id == IDOK || id == IDCANCEL) {
        if (isHandheld)
            EndDialog(dice.window, id);
        else
            PostMessage(dice.window, WM_CLOSE, 0, 0);
    } else if (id == IDC_ROLL) {
        RollFromFields(dice);
    } else if (id >= IDC_QUICK_D2 && id <= IDC_QUICK_D100) {
        QuickRoll(dice, dialogDice[id - IDC_QUICK_D2]);
    } else if (id == IDM_CLEAR_DICE) {
        ClearDice(dice);
    }
    return TRUE;
}

} // namespace

int TakeDiceNumber(DiceDialog& dice)
{
    for (int i = 0; i < diceTableSize; ++i) {
        if (diceTable[i] == 0) {
            diceTable[i] = 1;
            dice.diceNumber = i + 1;
            return dice.diceNumber;
        }
    }
    dice.diceNumber = 0;
    return 0;
}

void BrowserPane::OpenDice()
{
    auto* dice = new (std::nothrow) DiceDialog();
    if (dice == nullptr)
        return;
    dice->diceNumber = 0;
    // A desktop dialog owns its object from here, unless it could not be
    // made; a handheld one has ended when the call returns.
    if (!CreateDiceDialog(*dice, instance, this) || isHandheld)
        delete dice;
}

bool CreateDiceDialog(DiceDialog& dice, HINSTANCE instance, BrowserPane* owner)
{
    MakeUpDownClassAvailable();
    dice.instance = instance;
    dice.owner = owner;
    const auto parameter = reinterpret_cast<LPARAM>(&dice);
    if (isHandheld) {
        SHInitExtraControls();
        const DLGTEMPLATE* dialogTemplate = LoadDiceTemplate(instance);
        if (dialogTemplate == nullptr)
            return false;
        DialogBoxIndirectParam(instance, dialogTemplate, OwnerPaneWindow(dice), DiceDialogProc,
                               parameter);
        return true;
    }
    TakeDiceNumber(dice);
    HWND window =
        CreateDialogParam(instance, MAKEINTRESOURCE(IDD_DICE), nullptr, DiceDialogProc, parameter);
    if (window == nullptr) {
        FreeDiceNumber(dice);
        return false;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    return true;
}

void DestroyDiceDialog(DiceDialog& dice)
{
    DestroyWindow(dice.window);
    dice.window = nullptr;
    FreeDiceNumber(dice);
}

void InitDiceDialog(DiceDialog& dice)
{
    SetProgramIcon(dice);
    SetFieldLimits(dice);
    FillDieList(dice);
    ResetFields(dice);
    ApplyDiceFonts(dice);
    // The handheld dialog fills the screen and keeps no placement: none of
    // the desktop's placement code is built into that program.
    if constexpr (!isHandheld) {
        WidenDieListForEveryDie(dice);
        RestoreDicePlacement(dice);
    }
    LayoutDiceDialog(dice);
}

void LayoutDiceDialog(DiceDialog& dice)
{
    if constexpr (!isHandheld)
        SavePlacement(dice.window, DicePlacementNames(dice));
    PlaceDiceControls(dice);
}

void RollFromFields(DiceDialog& dice)
{
    RollRequest request;
    request.count = ReadFieldNumber(dice, IDC_DICE_COUNT, 0);
    request.sides = ReadFieldNumber(dice, IDC_DIE_LIST, 1); // "d20" gives 20
    request.modifier = ReadFieldNumber(dice, IDC_DICE_MODIFIER, 0);
    request.repeats = ReadFieldNumber(dice, IDC_DICE_REPEATS, 0);
    RollIntoList(dice, request);
}

void QuickRoll(DiceDialog& dice, int sides)
{
    RollRequest request;
    request.count = 1;
    request.sides = sides;
    request.modifier = 0;
    request.repeats = 1;
    RollIntoList(dice, request);
}

void ClearDice(DiceDialog& dice)
{
    ResetFields(dice);
    SendDlgItemMessage(dice.window, IDC_DICE_RESULTS, LB_RESETCONTENT, 0, 0);
}

INT_PTR CALLBACK DiceDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnDiceInitDialog(window, lParam);
    // The creation sends a few messages before WM_INITDIALOG, and a closing
    // desktop dialog has already handed its object to the pane.
    DiceDialog* dice = DiceOf(window);
    if (dice == nullptr)
        return FALSE;
    switch (message) {
    case WM_MOVE:
    case WM_SIZE:
        return OnDiceMovedOrSized(*dice, message);
    case WM_CLOSE:
        return OnDiceCloseRequest(*dice);
    case WM_DESTROY:
        return OnDiceDestroy(*dice);
    case WM_COMMAND:
        return OnDiceCommand(*dice, LOWORD(wParam));
    case WM_ACTIVATE:
    case WM_SETTINGCHANGE:
        return OnDiceShellMessage(*dice, message, wParam, lParam);
    }
    return FALSE;
}
