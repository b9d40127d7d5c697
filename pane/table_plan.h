// Tab stops that line up the columns of the tables in an entry's body, in any
// font. Portable: the caller measures, this plans.
//
// A table is a run of consecutive lines that hold tab characters; the cells
// of a line are the texts between its tabs. Column k of every row of a table
// starts at one position: the widest cell before it in its column plus a gap,
// taken over the rows that have a cell after it (a row's last cell may run on,
// so it does not widen its column).
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

// One table of a body: its lines, as byte offsets into the body.
struct BodyTable {
    std::size_t firstLine = 0;  // index of the table's first line in the body
    std::size_t lineCount = 0;
    std::vector<int> stops;     // the tab stops of every line of the table
};

// The width of a cell's text, in whatever unit the caller measures in.
using CellWidth = std::function<int(std::string_view cell)>;

// The lines of a body split at CR LF (or a bare LF), without their breaks.
std::vector<std::string_view> SplitBodyLines(std::string_view body);

// The stops for one table's rows, each row a line holding tabs: stop k is
// where column k + 1 begins. Rows with fewer cells take the first stops.
std::vector<int> PlanTableStops(const std::vector<std::string_view>& rows, const CellWidth& width,
                                int gap);

// Every table of the body, with its stops.
std::vector<BodyTable> PlanBodyTables(std::string_view body, const CellWidth& width, int gap);
