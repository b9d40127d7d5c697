// The terminal program's commands over the installed rules and the dice
// engine. Each writes what it finds to out (text, or JSON where chosen) and
// its complaints to standard error, and returns the program's exit code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dice/dice_notation.h"

enum ExitCode : int {
    exitFound = 0,
    exitNothingFound = 1,
    exitUsage = 2,
    exitBadRules = 3,
};

struct OutputChoices {
    bool json = false;
    bool styled = false; // headings and titles bold, links underlined
    int width = 80;      // columns an entry's lines wrap at; 0 for none
};

// Writes "vellum: " and the message to standard error.
void Complain(const std::string& message);

// The category named by an argument, or -1 for every category where the
// argument is empty. False, with a complaint naming the categories, when it
// names none or several.
bool ResolveCategory(const std::string& name, int& category);

int ListCategories(const OutputChoices& choices, std::string& out);

// The titles of one category (category 0 or more) in image order, or of
// every category grouped under its name; with countOnly, how many.
int ListTitles(int category, bool countOnly, const OutputChoices& choices, std::string& out);

// The entries titled as each argument, as the view shows them.
int ShowEntries(const std::vector<std::string>& titles, int category, const OutputChoices& choices,
                std::string& out);

// The full-body search: the words joined by blanks are the query.
int FindEntries(const std::vector<std::string>& words, int category, const OutputChoices& choices,
                std::string& out);

// The type-ahead filter, over titles, or titles and bodies.
int FilterEntries(const std::vector<std::string>& words, int category, bool bodies,
                  const OutputChoices& choices, std::string& out);

// The titles of a category, in image order, that the full-body search keeps
// for a query in the image's text.
std::vector<std::string> SearchTitles(int category, const std::string& query);

// The titles of a category, in image order, that the type-ahead filter keeps
// for a text in the image's text: titles only, or (bodies) titles and bodies.
std::vector<std::string> TypeAheadTitles(int category, const std::string& text, bool bodies);

// What is wrong with a notation text, and where: "..., at character N".
std::string NotationErrorText(const std::string& text, const NotationError& error);

// Rolls the notation that the arguments, joined by blanks, spell, with the
// generator seeded as a dice dialog seeded with the seed would be.
int RollNotation(const std::vector<std::string>& expressions, std::uint32_t seed,
                 const OutputChoices& choices, std::string& out);

// A seed that differs from run to run, from the clock.
std::uint32_t SeedFromClock();
