// The interactive browser that "vellum" without a command opens on a
// terminal, over the rules already installed.
#pragma once

// Runs the browser until the user leaves it; returns the exit code.
int RunInteractive();
