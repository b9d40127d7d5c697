// Result rows over a vector of titles, tested as the desktop program tests
// the rows of its result list: the row's title, or else the body of the
// first entry of the installed image's category whose title equals it byte
// for byte. The host tests and the search benchmark run the search engine
// over these rows.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "data/rules_image.h"
#include "pane/word_match.h"
#include "search/search_engine.h"

class TitleRows final : public SearchRows<char> {
public:
    explicit TitleRows(int searchCategory) : category(searchCategory)
    {
        for (int e = 0; e < GetEntryCount(category); ++e)
            titles.emplace_back(GetEntryTitle(category, e));
    }
    int CountRows() const override { return static_cast<int>(titles.size()); }
    bool RowHasWord(int row, const char* word, int length) const override
    {
        const std::string& title = titles[static_cast<std::size_t>(row)];
        const auto n = static_cast<std::size_t>(length);
        if (TextHasWord(title.c_str(), title.size(), word, n))
            return true;
        const int entry = FindEntryByTitle(category, title.c_str());
        if (entry < 0)
            return false;
        const char* body = GetEntryBody(category, entry);
        return TextHasWord(body, std::strlen(body), word, n);
    }
    void DeleteRow(int row) override { titles.erase(titles.begin() + row); }

    int category;
    std::vector<std::string> titles;
};
