// Runs the messages waiting for this thread as the programs' message loops
// would, modeless dialogs first, and returns when none is left.
#pragma once

#include <windows.h>

#include "shell/desktop/modeless_dialogs.h"

inline void PumpProgramMessages()
{
    MSG message;
    while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (IsModelessDialogMessage(&message))
            continue;
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
}
