// Result rows that each stand for an entry of a category, in a vector: the
// list the search works on before a control shows what remains.
#pragma once

#include <cstddef>
#include <vector>

#include "search/search_engine.h"

template <typename Char> class EntryRows : public SearchRows<Char> {
  public:
    // A row for every entry of a category of count entries, in image order.
    explicit EntryRows(int count)
    {
        entries.reserve(static_cast<std::size_t>(count));
        for (int e = 0; e < count; ++e)
            entries.push_back(e);
        deleted.assign(entries.size(), false);
    }

    int CountRows() const override
    {
        CloseUpRows();
        return static_cast<int>(entries.size());
    }
    void DeleteRow(int row) override
    {
        deleted[static_cast<std::size_t>(row)] = true;
        anyDeleted = true;
    }

    // The entries of the rows that remain, in order.
    const std::vector<int>& Entries() const
    {
        CloseUpRows();
        return entries;
    }

  protected:
    int EntryOf(int row) const { return entries[static_cast<std::size_t>(row)]; }

  private:
    // A deleted row is only marked; the rows are closed up when next
    // counted, which the search does once a word, so a word costs one pass
    // however many rows it deletes.
    void CloseUpRows() const
    {
        if (!anyDeleted)
            return;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (!deleted[i])
                entries[kept++] = entries[i];
        }
        entries.resize(kept);
        deleted.assign(kept, false);
        anyDeleted = false;
    }

    mutable std::vector<int> entries;
    mutable std::vector<bool> deleted;
    mutable bool anyDeleted = false;
};
