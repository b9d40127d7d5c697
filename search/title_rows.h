// Result rows over the titles of one category of the installed image, tested
// as the desktop program tests the rows of its lists: a row holds a word when
// its title does, or else (where bodies count) the body of the first entry of
// the category whose title equals the row's byte for byte. The full-body
// search and the type-ahead filter of the terminal program, the host tests
// and the search benchmark run over these rows.
#pragma once

#include <string>
#include <vector>

#include "search/search_engine.h"

class TitleRows final : public SearchRows<char> {
  public:
    // A row for every entry of the category, in image order.
    explicit TitleRows(int searchCategory, bool countBodies = true);

    int CountRows() const override { return static_cast<int>(titles.size()); }
    bool RowHasWord(int row, const char* word, int length) const override;
    void DeleteRow(int row) override { titles.erase(titles.begin() + row); }

    int category;
    bool withBodies;
    std::vector<std::string> titles;
};
