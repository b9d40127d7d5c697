// The rules content sources: categories.txt names the categories in order
// (folder, a tab, the name); each folder holds *.txt files of entries. In an
// entry file a line "== Title" starts an entry and the lines up to the next
// such line are its body, without the empty lines at its end. A body line
// that starts with a backslash loses that backslash, so a body can hold a
// line starting with "== ". Lines before the first entry are empty or start
// with '#'.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Texts are held in Windows-1252 with CR LF line breaks, as in the image.
struct SourceEntry {
    std::string title;
    std::string body;
    std::string file;  // where the entry was read, for messages and tie-breaks
    int line = 0;
};

struct SourceCategory {
    std::string name;
    std::string folder;
    std::vector<SourceEntry> entries;
};

// Parses one entry file; appends its entries, and "file:line: problem" texts
// for everything refused.
void ParseEntryFile(std::string_view utf8, const std::string& fileName,
                    std::vector<SourceEntry>& entries, std::vector<std::string>& errors);

// Parses categories.txt; appends categories with their folder and name.
void ParseCategoryList(std::string_view utf8, const std::string& fileName,
                       std::vector<SourceCategory>& categories, std::vector<std::string>& errors);

// Reads categories.txt and every entry file of every category under root,
// files in order of name. Returns false when anything was refused.
bool ReadContentTree(const std::filesystem::path& root, std::vector<SourceCategory>& categories,
                     std::vector<std::string>& errors);

// The source text of a list of entries, in UTF-8 with LF line breaks.
bool FormatEntryFile(const std::vector<SourceEntry>& entries, std::string& utf8,
                     std::string& error);

// A folder name for a category name: lower-case letters and digits joined by
// single hyphens.
std::string FolderNameFor(std::string_view categoryName);
