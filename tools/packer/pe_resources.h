// Reading and rewriting the resources of a 64-bit Windows program (PE32+) on
// any host: the resource tree read into a flat list, and a copy of the
// program given a new tree in a section of its own, every other section left
// where it was.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A type or a name in the resource tree: a number, or a text (UTF-16, upper
// case as resource compilers store it: "DATAFILES").
struct ResourceKey {
    std::u16string text;  // empty for a number
    std::uint16_t number = 0;

    static ResourceKey Number(std::uint16_t number) { return ResourceKey{{}, number}; }
    static ResourceKey Text(std::u16string text) { return ResourceKey{std::move(text), 0}; }
    bool IsText() const { return !text.empty(); }
};

bool operator==(const ResourceKey& a, const ResourceKey& b);
// The order the loader's binary search expects: texts before numbers, texts
// by their UTF-16 code units, numbers ascending.
bool operator<(const ResourceKey& a, const ResourceKey& b);

// One leaf of the tree: type, name and language, and the bytes it holds.
struct ProgramResource {
    ResourceKey type;
    ResourceKey name;
    std::uint16_t language = 0;
    std::uint32_t codePage = 0;
    std::vector<unsigned char> data;
};

// True when both name the same type, name and language.
bool SameResource(const ProgramResource& a, const ProgramResource& b);

// Reads every resource of a PE32+ program, in the order of its tree. False,
// with a one-line reason, for a file that is no PE32+ program, is cut short
// or points outside itself, has no resource section, or whose resource tree
// is damaged (not three levels, shared or looping directories, one resource
// twice).
bool ReadProgramResources(const std::vector<unsigned char>& program,
                          std::vector<ProgramResource>& resources, std::string& error);

// Writes a copy of the program whose resource tree holds exactly these
// resources (in the loader's order). The tree goes into the program's last
// section when that section already holds the tree and ends the file (so a
// second rewrite does not grow the file); otherwise into a new section after
// all others, with the old tree's bytes zeroed. No other section moves, and
// no other section's header changes but the old tree's section's name. The
// checksum is recomputed and a signature, which the new bytes break, dropped.
// False, with a reason, when the program cannot be read or has no room for
// another section header.
bool WriteProgramResources(const std::vector<unsigned char>& program,
                           std::vector<ProgramResource> resources,
                           std::vector<unsigned char>& result, std::string& error);
