#include "tests/win32/modal_dialog_driver.h"

namespace {

ModalDialogDriver* activeDriver = nullptr;

// A dialog that has not shown itself within this many ticks is not coming.
constexpr int maxMisses = 500;
constexpr UINT tickMilliseconds = 10;

struct DialogSearch {
    const TCHAR* caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    TCHAR type[16] = {};
    TCHAR text[64] = {};
    GetClassName(window, type, 16);
    GetWindowText(window, text, 64);
    if (lstrcmp(type, TEXT("#32770")) == 0 && lstrcmp(text, search->caption) == 0 &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

ModalDialogDriver::ModalDialogDriver(const TCHAR* dialogCaption,
                                     std::vector<DialogStep> dialogSteps)
    : caption(dialogCaption), steps(std::move(dialogSteps))
{
    activeDriver = this;
    Arm();
}

ModalDialogDriver::~ModalDialogDriver()
{
    if (timer != 0)
        KillTimer(nullptr, timer);
    activeDriver = nullptr;
}

void ModalDialogDriver::Arm()
{
    timer = SetTimer(nullptr, 0, tickMilliseconds, OnTimer);
}

void CALLBACK ModalDialogDriver::OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    // A thread timer outlives nothing it should not: one of another driver
    // is stopped here.
    if (activeDriver == nullptr || activeDriver->timer != id) {
        KillTimer(nullptr, id);
        return;
    }
    activeDriver->Tick();
}

void ModalDialogDriver::Tick()
{
    // The timer stays off while a step runs: a message box raised by the
    // step runs a modal loop of its own that would dispatch it again.
    KillTimer(nullptr, timer);
    timer = 0;
    const HWND dialog = FindDialog();
    if (dialog == nullptr) {
        if (++misses < maxMisses)
            Arm();
        return;
    }
    if (stepsRun < static_cast<int>(steps.size())) {
        steps[static_cast<std::size_t>(stepsRun++)](dialog);
        Arm();
        return;
    }
    leftOpen = true;
    EndDialog(dialog, 0);
}

HWND ModalDialogDriver::FindDialog() const
{
    DialogSearch search{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
