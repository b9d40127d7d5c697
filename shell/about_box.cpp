#include "shell/about_box.h"

void ShowAboutBox(HWND owner)
{
    MessageBox(owner, TEXT("Vellum Rules\nby Quorvan\n\n<vellum@\n  quorvan.example>"),
               TEXT("Vellum Rules 2.6.6"), MB_OK | MB_ICONINFORMATION);
}
