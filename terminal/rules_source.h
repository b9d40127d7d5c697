// Where the terminal program's rules come from: the image built into it, or
// a file named with --rules, either a packed resource ("vellumpack pack"
// output) or a built program carrying one, inflated and checked as the
// Windows programs check theirs. Installed for the core's accessors.
#pragma once

#include <cstddef>
#include <string>

// The rules image built into the program: the image the build packed, not
// compressed, so that no run spends its start inflating it.
struct BuiltInImage {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
};

// Installs the rules of the file at path, or the built-in image (once it has
// passed the image check) where path is empty. False, with a one-line reason naming the file, when
// the file cannot be read or holds no well-formed rules.
bool InstallRules(const std::string& path, const BuiltInImage& builtIn, std::string& error);
