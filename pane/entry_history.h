// The entries a main window has shown, for Back and Forward: a list with a
// current place, like a browser's. Not stored between runs.
#pragma once

#include <cstddef>
#include <vector>

#include "pane/link_finder.h"

class EntryHistory {
public:
    static constexpr std::size_t capacity = 100;

    // A newly shown entry ends the list after the current place (the entries
    // that Forward would have reached are dropped) unless it is the current
    // one again; the oldest entry goes when the list is full.
    void Visit(EntryRef shown);
    bool CanGoBack() const { return current > 0; }
    bool CanGoForward() const { return current + 1 < entries.size(); }
    // Moves the current place and returns the entry there; the caller checks
    // CanGoBack or CanGoForward first.
    EntryRef Back() { return entries[--current]; }
    EntryRef Forward() { return entries[++current]; }

private:
    std::vector<EntryRef> entries;
    std::size_t current = 0;
};
