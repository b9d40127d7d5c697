// Entries that share a title stand for the first of them wherever a row of a
// list holds a title: a row is tested on the first entry's body. This gives
// each entry that first entry, found once per category rather than by a walk
// over the titles for every row.
#pragma once

#include <vector>

// For each entry of the category of the installed image, the first entry
// whose title equals its title byte for byte (itself, but for the later of
// twins). Made on first use and kept until another image is installed.
const std::vector<int>& FirstEntriesOfTitles(int category);
