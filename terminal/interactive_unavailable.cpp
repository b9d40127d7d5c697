// The interactive browser where the program is built without curses (a
// Windows build that has none): it says so. The commands work as ever.
#include "terminal/interactive.h"

#include "terminal/commands.h"

int RunInteractive()
{
    Complain("this build has no interactive browser (it needs curses); vellum --help lists the "
             "commands");
    return exitUsage;
}
