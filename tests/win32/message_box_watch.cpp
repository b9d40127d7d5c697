#include "tests/win32/message_box_watch.h"

namespace {

MessageBoxWatch* activeWatch = nullptr;

TextString TextOf(HWND window)
{
    TCHAR text[1024] = {};
    GetWindowText(window, text, 1024);
    return text;
}

TextString ClassOf(HWND window)
{
    TCHAR name[64] = {};
    GetClassName(window, name, 64);
    return name;
}

bool IsMessageBox(HWND window) { return ClassOf(window) == TEXT("#32770"); }

// Reads the message box's controls: the static that holds an icon, the
// static that holds the text, and the buttons.
SeenMessageBox Describe(HWND box)
{
    SeenMessageBox seen{GetWindow(box, GW_OWNER), TextOf(box), {}, false, {}};
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        const TextString type = ClassOf(child);
        if (lstrcmpi(type.c_str(), TEXT("Button")) == 0) {
            seen.buttons.push_back(TextOf(child));
        } else if (lstrcmpi(type.c_str(), TEXT("Static")) == 0) {
            const LONG_PTR style = GetWindowLongPtr(child, GWL_STYLE);
            if ((style & SS_TYPEMASK) == SS_ICON)
                seen.hasIcon = seen.hasIcon || SendMessage(child, STM_GETICON, 0, 0) != 0;
            else if (!TextOf(child).empty())
                seen.text = TextOf(child);
        }
    }
    return seen;
}

}  // namespace

MessageBoxWatch::MessageBoxWatch()
    : hook(SetWindowsHookEx(WH_CBT, OnCbtEvent, nullptr, GetCurrentThreadId()))
{
    activeWatch = this;
}

MessageBoxWatch::~MessageBoxWatch()
{
    UnhookWindowsHookEx(hook);
    activeWatch = nullptr;
}

LRESULT CALLBACK MessageBoxWatch::OnCbtEvent(int code, WPARAM wParam, LPARAM lParam)
{
    // Dialogs that were open before the watch began (a search dialog, say)
    // share the message box's class and may be activated again when the box
    // closes: only a box created while watching is one to read.
    if (code == HCBT_CREATEWND && activeWatch != nullptr && IsMessageBox(reinterpret_cast<HWND>(wParam)))
        activeWatch->created.push_back(reinterpret_cast<HWND>(wParam));
    // A message box is activated before it has filled in its text, so it is
    // read a moment later, from a timer that its own modal loop dispatches.
    if (code == HCBT_ACTIVATE && activeWatch != nullptr) {
        const auto box = reinterpret_cast<HWND>(wParam);
        if (activeWatch->WasCreatedWhileWatching(box)) {
            activeWatch->pendingBox = box;
            activeWatch->timer = SetTimer(nullptr, 0, 10, OnTimer);
        }
    }
    return CallNextHookEx(activeWatch != nullptr ? activeWatch->hook : nullptr, code, wParam, lParam);
}

void CALLBACK MessageBoxWatch::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (activeWatch == nullptr)
        return;
    KillTimer(nullptr, activeWatch->timer);
    const HWND box = activeWatch->pendingBox;
    if (!IsWindow(box))
        return;
    activeWatch->seen.push_back(Describe(box));
    // Closed through its OK button, as a user would.
    PostMessage(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

TestOwnerWindow::TestOwnerWindow()
    : window(CreateWindowEx(0, TEXT("STATIC"), TEXT("Test owner"), WS_OVERLAPPEDWINDOW, 0, 0, 200,
                            100, nullptr, nullptr, GetModuleHandle(nullptr), nullptr))
{
}

TestOwnerWindow::~TestOwnerWindow() { DestroyWindow(window); }

bool MessageBoxWatch::WasCreatedWhileWatching(HWND window) const
{
    for (const HWND each : created) {
        if (each == window)
            return true;
    }
    return false;
}
