// Back and Forward over the shown entries: see entry_history.h.
#include "pane/entry_history.h"

namespace {

bool SameEntry(EntryRef a, EntryRef b) { return a.category == b.category && a.entry == b.entry; }

}  // namespace

void EntryHistory::Visit(EntryRef shown)
{
    if (!entries.empty() && SameEntry(entries[current], shown))
        return;
    if (!entries.empty())
        entries.resize(current + 1);
    entries.push_back(shown);
    if (entries.size() > capacity)
        entries.erase(entries.begin());
    current = entries.size() - 1;
}
