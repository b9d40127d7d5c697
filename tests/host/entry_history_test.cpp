// Back and Forward over the entries a window has shown.
#include "pane/entry_history.h"

#include <gtest/gtest.h>

namespace {

EntryRef Entry(int entry) { return EntryRef{0, entry}; }

TEST(EntryHistory, WalksBackAndForwardAndDropsTheForwardPartOnANewVisit)
{
    EntryHistory history;
    EXPECT_FALSE(history.CanGoBack());
    history.Visit(Entry(1));
    history.Visit(Entry(2));
    history.Visit(Entry(2));  // shown again: no new place
    history.Visit(Entry(3));
    EXPECT_EQ(history.Back().entry, 2);
    EXPECT_EQ(history.Back().entry, 1);
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_EQ(history.Forward().entry, 2);
    history.Visit(Entry(7));
    EXPECT_FALSE(history.CanGoForward());
    EXPECT_EQ(history.Back().entry, 2);
}

TEST(EntryHistory, KeepsTheLatestHundredEntries)
{
    EntryHistory history;
    for (int e = 0; e < 150; ++e)
        history.Visit(Entry(e));
    int steps = 0;
    EntryRef oldest;
    while (history.CanGoBack()) {
        oldest = history.Back();
        ++steps;
    }
    EXPECT_EQ(steps, 99);
    EXPECT_EQ(oldest.entry, 50);
}

}  // namespace
