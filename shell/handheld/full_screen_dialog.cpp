#include "shell/handheld/full_screen_dialog.h"

#include "shell/handheld/aygshell.h"

void SetUpFullScreenDialog(HWND dialog)
{
    SHINITDLGINFO fullScreen = {};
    fullScreen.dwMask = SHIDIM_FLAGS;
    fullScreen.hDlg = dialog;
    fullScreen.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;
    SHInitDialog(&fullScreen);
}
