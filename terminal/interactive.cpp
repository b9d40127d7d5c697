// The interactive browser: not built yet. This is its one seam; the command
// line calls it with the rules installed.
#include "terminal/interactive.h"

#include <cstdio>

#include "terminal/commands.h"

int RunInteractive()
{
    std::fputs("interactive mode is not built yet; vellum --help lists the commands\n", stderr);
    return exitUsage;
}
