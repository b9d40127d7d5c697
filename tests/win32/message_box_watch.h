// Watches for message boxes raised on the test's thread, records what each
// showed and dismisses it with its OK button, so a test can check a real
// message box without anyone clicking it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

using TextString = std::basic_string<TCHAR>;

struct SeenMessageBox {
    HWND owner;
    TextString caption;
    TextString text;
    bool hasIcon;
    std::vector<TextString> buttons;  // captions of the visible buttons
};

class MessageBoxWatch {
public:
    MessageBoxWatch();
    ~MessageBoxWatch();
    MessageBoxWatch(const MessageBoxWatch&) = delete;
    MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

    const std::vector<SeenMessageBox>& Seen() const { return seen; }

private:
    static LRESULT CALLBACK OnCbtEvent(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    bool WasCreatedWhileWatching(HWND window) const;

    HHOOK hook;
    std::vector<HWND> created;
    HWND pendingBox = nullptr;
    UINT_PTR timer = 0;
    std::vector<SeenMessageBox> seen;
};

// A hidden top-level window to own the message boxes of a test.
class TestOwnerWindow {
public:
    TestOwnerWindow();
    ~TestOwnerWindow();
    HWND Handle() const { return window; }

private:
    HWND window;
};
