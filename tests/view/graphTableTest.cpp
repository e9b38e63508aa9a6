#include "view/graphTable.h"

#include <gtest/gtest.h>

#include "tests/support/timeZone.h"
#include "tests/view/testGraphs.h"

namespace {

// Three graphs: an ordinary lift at 60 %, an overload of 112 % tripping the limiter twice with
// mechanisms 1 and 3, and one at 80 % with mechanism 2; the recorder held two ordinary graphs
// and one overload graph.
std::unique_ptr<devLink> sampleCrane()
{
    auto crane = std::make_unique<devLink>();
    crane->maxWeight = 20;
    crane->cntN = 2;
    crane->cntE = 1;
    crane->graphs.pushBack(graphOf(1230768000, {{0, load(10)}, {30, load(60)}, {95, load(5)}}).release());
    crane->graphs.pushBack(graphOf(1230771600, {{0, load(50)}, {10, 0x41}, {20, load(112)}, {25, 0x04},
                                               {26, 0x45}, {40, load(90)}, {3700, 0x00}}).release());
    crane->graphs.pushBack(graphOf(1230700000, {{0, 0x02}, {5, load(80)}, {9, load(20)}}).release());
    return crane;
}

std::vector<int> order(const std::vector<graphTableRow>& rows)
{
    std::vector<int> indices;
    for (const graphTableRow& row : rows)
        indices.push_back(row.index);
    return indices;
}

TEST(graphTable, CellsOfEachColumn)
{
    ScopedTimeZone zone("UTC");
    SKIP_UNLESS_IN_ZONE(zone);
    const std::vector<graphTableRow> rows = graphTableRows(*sampleCrane());
    ASSERT_EQ(rows.size(), 3u);
    const graphTableRow& overload = rows[1];
    std::vector<std::string> cells;
    for (int c = 0; c < graphColumnCount; ++c)
        cells.push_back(graphCellText(overload, static_cast<graphColumn>(c)));
    EXPECT_EQ(cells, (std::vector<std::string>{"2", "01/01/2009 01:00:00", "обычная", "1:01:40", "112",
                                               "22.40", "20.0", "да (2)", "1, 3"}));
    EXPECT_EQ(graphCellText(rows[2], graphColumn::store), "перегрузки");
    EXPECT_EQ(graphCellText(rows[2], graphColumn::limiter), "нет");
    EXPECT_EQ(graphCellText(rows[0], graphColumn::mechanisms), "—");
    EXPECT_EQ(graphCellText(rows[0], graphColumn::duration), "0:01:35");
    EXPECT_STREQ(graphColumnTitle(graphColumn::above100), "Выше 100 %, с");
}

TEST(graphTable, SortsByEveryColumnBothWays)
{
    std::vector<graphTableRow> rows = graphTableRows(*sampleCrane());
    sortGraphRows(rows, graphColumn::peakPercent, false);
    EXPECT_EQ(order(rows), (std::vector<int>{1, 2, 0}));
    sortGraphRows(rows, graphColumn::start, true);
    EXPECT_EQ(order(rows), (std::vector<int>{2, 0, 1}));
    sortGraphRows(rows, graphColumn::duration, false);
    EXPECT_EQ(order(rows), (std::vector<int>{1, 0, 2}));
    sortGraphRows(rows, graphColumn::mechanisms, true);
    EXPECT_EQ(order(rows), (std::vector<int>{1, 2, 0}));   // "1, 3", "2", "—"
    sortGraphRows(rows, graphColumn::limiter, false);
    EXPECT_EQ(order(rows), (std::vector<int>{1, 0, 2}));   // ties in graph order, either way
    sortGraphRows(rows, graphColumn::limiter, true);
    EXPECT_EQ(order(rows), (std::vector<int>{0, 2, 1}));
    sortGraphRows(rows, graphColumn::number, false);
    EXPECT_EQ(order(rows), (std::vector<int>{2, 1, 0}));
}

}  // namespace
