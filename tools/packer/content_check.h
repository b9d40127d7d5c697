// The content checker: holds the rules content to its category targets, to
// the field layout of each category, to cross references that resolve, to
// unique titles, to paragraphs that are not copied between entries and to
// one wording of each creature type's traits.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tools/packer/content_source.h"

// One line of targets.txt: a category folder, the number of entries it is to
// reach, whether it is complete, and the title two adjacent entries may share.
struct CategoryTarget {
    std::string folder;
    int target = 0;
    bool complete = false;
    std::string pairTitle;  // Windows-1252, empty for none
    std::string file;
    int line = 0;
};

// One line of creature-traits.txt: a creature type (or subtype) and the one
// wording of its traits, which every creature of the type carries in a
// paragraph "<Type> Traits: <wording>".
struct CreatureTraits {
    std::string type;     // Windows-1252
    std::string wording;  // Windows-1252
    std::string file;
    int line = 0;
};

// A problem or a note, located in a source file. Texts are UTF-8.
struct CheckFinding {
    std::string file;
    int line = 0;
    std::string text;
    bool failure = true;  // false: reported only (a name in an incomplete category)
};

// A category's size against its target, for the summary.
struct CategoryProgress {
    std::string name;  // UTF-8
    int count = 0;
    int target = 0;
    bool complete = false;
};

// A name in an entry's body that the checker resolved to the title of an
// entry. Texts are Windows-1252; the name is the run of the body line that
// names the title, as written ("Weapon Focus" of "Weapon Focus (bite)").
struct ResolvedReference {
    std::string file;
    int line = 0;
    std::string title;         // of the entry that holds the name
    std::string folder;        // of the entry's category
    std::string name;
    std::string targetFolder;  // of the category the name is a title of
};

struct ContentReport {
    std::vector<CheckFinding> findings;         // in order of file and line
    std::vector<ResolvedReference> references;  // in order of checking
    std::vector<CategoryProgress> progress;
    int entries = 0;
    int Failures() const;
    int Notes() const;
};

// Parses targets.txt; appends targets, and "file:line: problem" texts for
// everything refused.
void ParseTargetList(std::string_view utf8, const std::string& fileName,
                     std::vector<CategoryTarget>& targets, std::vector<std::string>& errors);

// Parses creature-traits.txt; appends wordings, and "file:line: problem"
// texts for everything refused.
void ParseCreatureTraits(std::string_view utf8, const std::string& fileName,
                         std::vector<CreatureTraits>& traits, std::vector<std::string>& errors);

// Checks categories as the packer read them (entries in source order).
ContentReport CheckContent(const std::vector<SourceCategory>& categories,
                           const std::vector<CategoryTarget>& targets,
                           const std::vector<CreatureTraits>& traits = {});

// Reads the content tree, its targets.txt and its creature-traits.txt (a
// tree without creatures may leave that out), reporting what the packer
// refuses as failures, and checks what it read.
ContentReport CheckContentTree(const std::filesystem::path& root);

// "file:line: text", with "note: " before the text of a note.
std::string FormatFinding(const CheckFinding& finding);
