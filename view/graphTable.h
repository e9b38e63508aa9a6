// The table of a crane's graphs: one row per graph with its overload figures, the text of each
// cell and the order when sorted by a column.
#pragma once

#include <string>
#include <vector>

#include "data/devLink.h"
#include "view/graphFigures.h"

struct graphTableRow {
    int index;   // position in the crane's graphs, from 0
    graphStore store;
    graphFigures figures;
};

std::vector<graphTableRow> graphTableRows(const devLink& crane);

enum class graphColumn {
    number,
    start,
    store,
    duration,
    peakPercent,
    peakTonnes,
    above100,
    limiter,
    mechanisms,
};
constexpr int graphColumnCount = 9;

const char* graphColumnTitle(graphColumn column);
std::string graphCellText(const graphTableRow& row, graphColumn column);

// Sorts by the column's values (not their texts), rows of equal value in graph order.
void sortGraphRows(std::vector<graphTableRow>& rows, graphColumn column, bool ascending);
