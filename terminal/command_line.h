// The terminal program's command line: its commands and options, read with
// CLI11, and the run of the command chosen.
#pragma once

#include <string>
#include <vector>

#include "terminal/rules_source.h"

// Arguments of find, filter and roll that begin with '-' but are no option of
// the program ("-cold" to exclude, a modifier "-1") are words: they are moved
// behind a "--", after every option, so that the parser takes them as words.
// Other commands' arguments are left as they are. Without the program's name.
std::vector<std::string> SeparateDashWords(const std::vector<std::string>& arguments);

// Runs the program as its command line asks, with the built-in rules unless
// --rules names others, and returns its exit code.
int RunVellum(int argc, const char* const* argv, const BuiltInImage& builtIn);
