// Finds, in an entry's body, the names of other entries, so that the reading
// view can show them as links. Portable: 8-bit Windows-1252 text in, byte
// ranges out.
//
// The rule, applied to every line of a body:
// - A mention is a run of the body equal to a title of any category, whole
//   words only (the bytes on either side are no letters or digits; Latin
//   letters from 0xC0 up count as letters, the apostrophes ' and 0x92 do not).
// - In prose the mention must match the title exactly and begin with a
//   capital letter, so a common lowercase word that merely equals a title
//   ("swim", "light", "fly") is never a link.
// - In a structured field that names entries of certain categories, those
//   categories' titles also match without regard to the case of A to Z:
//   "Skills:" and "Synergy:" (Skills), "Feats:" (Feats), "Prerequisites:"
//   (Feats, Skills, Special Abilities), "Special Attacks:" and "Special
//   Qualities:" (Special Abilities, Spells), "Spell-Like Abilities:" (Spells).
//   In the two "Special" fields, "immunity to" and "immune to" stand for
//   Immunities and "resistance to" for Energy Resistance, and link there.
// - Where mentions overlap, the longest wins; of equal ones, the earliest.
// - The entry's own title is never a link to anything.
// - Where a title stands in several categories, the entry's own category is
//   preferred, then the order of the category list; within a category, the
//   first entry of that title.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct EntryRef {
    int category = -1;
    int entry = -1;
};

struct FoundLink {
    std::size_t begin = 0;   // byte offset in the body
    std::size_t length = 0;  // bytes
    EntryRef target;
};

// The titles to find, by category, in the order of the category list, with
// the categories' names (which select the structured fields' categories).
struct TitleSet {
    std::vector<std::string> categoryNames;
    std::vector<std::vector<std::string>> titles;  // [category][entry]
};

class LinkFinder {
public:
    // Builds the matcher over every title: time and memory linear in the
    // titles' total length.
    void Build(const TitleSet& titles);

    // The links of an entry's body, in order of position, not overlapping.
    // Linear in the body's length (times the longest title's length at most).
    std::vector<FoundLink> FindLinks(int category, int entry, std::string_view body) const;

    // The entry a mention names, by the preference above, matching without
    // regard to the case of A to Z; false when no title matches.
    bool ResolveMention(std::string_view mention, int fromCategory, EntryRef* target) const;

private:
    struct Impl;
    std::shared_ptr<const Impl> impl;
};

// The finder over the installed rules image, built on first use and again
// whenever another image has been installed since.
const LinkFinder& GetImageLinkFinder();
