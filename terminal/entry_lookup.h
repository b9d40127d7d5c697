// Finding what the user names on the command line in the installed rules:
// arguments turned into the image's Windows-1252, categories by name, entries
// by title, and the titles closest to one that names nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pane/link_finder.h"

// An argument as the image's text: UTF-8 converted to Windows-1252, where a
// character the code page lacks becomes a byte no text of the image holds
// (its terminator), so that it matches nothing; an argument that is not UTF-8
// is taken byte for byte as Windows-1252.
std::string ArgumentAsImageText(const std::string& argument);

// An argument for a message or a script, as UTF-8 and safe to show.
std::string ArgumentAsShown(const std::string& argument);

// The category a name names: the one equal to it without regard to the case
// of A to Z, or else the only one whose name begins with it; -1 for none or
// several.
int FindCategoryNamed(const std::string& name);

// Every entry titled as the text, without regard to the case of A to Z: by
// category (only the given one where it is 0 or more), then in image order.
std::vector<EntryRef> FindEntriesTitled(std::string_view title, int category);

// Up to count entries whose titles are closest to the text (without regard
// to the case of A to Z): titles that hold it, or lie a few edits from it,
// nearest first.
std::vector<EntryRef> ClosestTitles(std::string_view text, int category, std::size_t count);
