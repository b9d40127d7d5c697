// Entry point of the desktop program. For now it loads and checks the rules
// data, reporting a damaged resource the way the program always will; the
// main window and browser pane build on this.
#include <windows.h>

#include "data/rules_loader.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return LoadRulesData(instance, nullptr) ? 0 : 1;
}
