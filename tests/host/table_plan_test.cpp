// The table planner: which lines form a table, and stops that start every
// column of a table at one position.
#include "pane/table_plan.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// One unit per byte, so expected stops can be read off the texts.
int Length(std::string_view cell) { return static_cast<int>(cell.size()); }

struct TableCase {
    const char* what;
    const char* body;
    std::vector<std::vector<int>> stops;  // per table
    std::vector<std::size_t> firstLines;
};

TEST(PlanBodyTables, StartsEachColumnOfATableAtOnePosition)
{
    const TableCase cases[] = {
        {"a column takes its widest cell from any row", "Level\tDamage\tArea\r\n1\t1d6\t5 ft.\r\n12\t10d6\t40 ft.",
         {{6, 13}}, {0}},
        {"a short row takes the first stops and does not narrow the table",
         "Roll\tResult\tNote\r\n01-100\tAll", {{7, 14}}, {0}},
        {"a row's last cell runs on without widening its column",
         "DC\tTask\r\n10\tA very long note that runs on past every column", {{3}}, {0}},
        {"a line without tabs ends a table; each table has its own stops",
         "Level:\tMage 1\r\nRange:\tTouch\r\n\r\nA paragraph.\r\nDie\tEffect\r\nd4\tx",
         {{7}, {4}}, {0, 4}},
        {"a body without tabs has no tables", "Only prose.\r\nMore prose.", {}, {}},
        {"a table at the very end, after a bare LF", "Intro\nA\tB\nCC\tD", {{3}}, {1}},
    };
    for (const TableCase& c : cases) {
        const std::vector<BodyTable> tables = PlanBodyTables(c.body, Length, 1);
        ASSERT_EQ(tables.size(), c.stops.size()) << c.what;
        for (std::size_t t = 0; t < tables.size(); ++t) {
            EXPECT_EQ(tables[t].stops, c.stops[t]) << c.what;
            EXPECT_EQ(tables[t].firstLine, c.firstLines[t]) << c.what;
        }
    }
}

TEST(PlanTableStops, CellsWiderThanAnyWindowStayInOrderWithoutOverflow)
{
    const std::string wide(16000, 'w');
    const std::string row = wide + "\t" + wide + "\t" + wide + "\tend";
    const auto huge = [](std::string_view cell) { return static_cast<int>(cell.size()) * 100000; };
    const std::vector<int> stops = PlanTableStops({row}, huge, 5);
    ASSERT_EQ(stops.size(), 3u);
    EXPECT_GT(stops[0], 0);
    EXPECT_LE(stops[0], stops[1]);
    EXPECT_LE(stops[1], stops[2]);
}

}  // namespace
