// Result rows over the titles of one category of the installed image, tested
// as the programs test the rows of their lists: a row holds a word when its
// title does, or else (where bodies count) the body of the first entry of
// the category whose title equals the row's byte for byte. The full-body
// search and the type-ahead filter of the terminal program, the host tests
// and the search benchmark run over these rows.
#pragma once

#include <string>
#include <vector>

#include "search/entry_rows.h"

class TitleRows final : public EntryRows<char> {
  public:
    // A row for every entry of the category, in image order.
    explicit TitleRows(int searchCategory, bool countBodies = true);

    bool RowHasWord(int row, const char* word, int length) const override;

    // The titles of the rows that remain, in order.
    std::vector<std::string> Titles() const;

    int category;
    bool withBodies;
};
