// Plans the tab stops of the tables in a body: see table_plan.h.
#include "pane/table_plan.h"

#include <algorithm>
#include <climits>

namespace {

// Far beyond any window, and far enough below INT_MAX that adding a width
// and a gap cannot overflow.
constexpr int farthestStop = INT_MAX / 4;

bool HoldsTab(std::string_view line) { return line.find('\t') != std::string_view::npos; }

std::vector<std::string_view> SplitCells(std::string_view row)
{
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = row.find('\t', start);
        if (tab == std::string_view::npos) {
            cells.push_back(row.substr(start));
            return cells;
        }
        cells.push_back(row.substr(start, tab - start));
        start = tab + 1;
    }
}

int Bounded(long long position) { return static_cast<int>(std::min<long long>(position, farthestStop)); }

}  // namespace

std::vector<std::string_view> SplitBodyLines(std::string_view body)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= body.size()) {
        std::size_t end = body.find('\n', start);
        if (end == std::string_view::npos)
            end = body.size();
        std::size_t textEnd = end;
        if (textEnd > start && body[textEnd - 1] == '\r')
            --textEnd;
        lines.push_back(body.substr(start, textEnd - start));
        start = end + 1;
    }
    return lines;
}

std::vector<int> PlanTableStops(const std::vector<std::string_view>& rows, const CellWidth& width,
                                int gap)
{
    // widest[k]: the widest cell of column k among the rows that go on
    // past it. A row's last cell never widens its column.
    std::vector<int> widest;
    for (const std::string_view row : rows) {
        const std::vector<std::string_view> cells = SplitCells(row);
        if (widest.size() < cells.size() - 1)
            widest.resize(cells.size() - 1, 0);
        for (std::size_t k = 0; k + 1 < cells.size(); ++k)
            widest[k] = std::max(widest[k], std::max(0, width(cells[k])));
    }
    std::vector<int> stops;
    long long position = 0;
    for (const int cellWidth : widest) {
        position = Bounded(position + cellWidth + gap);
        stops.push_back(static_cast<int>(position));
    }
    return stops;
}

std::vector<BodyTable> PlanBodyTables(std::string_view body, const CellWidth& width, int gap)
{
    const std::vector<std::string_view> lines = SplitBodyLines(body);
    std::vector<BodyTable> tables;
    std::size_t i = 0;
    while (i < lines.size()) {
        if (!HoldsTab(lines[i])) {
            ++i;
            continue;
        }
        BodyTable table;
        table.firstLine = i;
        while (i < lines.size() && HoldsTab(lines[i]))
            ++i;
        table.lineCount = i - table.firstLine;
        const std::vector<std::string_view> rows(lines.begin() + static_cast<std::ptrdiff_t>(table.firstLine),
                                                 lines.begin() + static_cast<std::ptrdiff_t>(i));
        table.stops = PlanTableStops(rows, width, gap);
        tables.push_back(std::move(table));
    }
    return tables;
}
