// The full-body search's filtering: a query split into words at blanks, and
// each word applied to a list of result rows, deleting the rows that fail it;
// and the type-ahead filter's rule over the same rows.
// The rows are whatever list the caller has (the search dialog's list box,
// a vector of titles); the same code serves both character widths.
#pragma once

// A list of result rows, each standing for the first entry of the search
// category whose title equals the row's text.
template <typename Char> class SearchRows {
  public:
    virtual int CountRows() const = 0;
    // Whether the row's entry holds the word of length characters in its
    // title or body; a word of length 0 is held by every entry.
    virtual bool RowHasWord(int row, const Char* word, int length) const = 0;
    virtual void DeleteRow(int row) = 0;

  protected:
    ~SearchRows() = default;
};

// Deletes every row that fails one word of length characters. A leading
// minus sign negates the word: the rows that hold the rest of it fail.
template <typename Char> void ApplyWord(SearchRows<Char>& rows, const Char* word, int length);

// Applies each word of the terminated query in turn. Only the blank (0x20)
// separates words; every extra blank applies an empty word, which removes
// nothing.
template <typename Char> void ApplyQuery(SearchRows<Char>& rows, const Char* query);

// The same over a query of length characters, which may hold any character
// (a word holding a terminator is held by no row).
template <typename Char> void ApplyQuery(SearchRows<Char>& rows, const Char* query, int length);

// The type-ahead filter's rule over the same rows: the text is split into
// words at blanks, and every row that does not hold each word is deleted. A
// minus sign is part of its word; empty words are skipped.
template <typename Char> void ApplyTypedWords(SearchRows<Char>& rows, const Char* text, int length);
