#include "view/graphTable.h"

#include <algorithm>

#include "data/timeText.h"
#include "view/numberText.h"

std::vector<graphTableRow> graphTableRows(const devLink& crane)
{
    const std::vector<graphStore> stores = storesOf(crane);
    std::vector<graphTableRow> rows;
    int index = 0;
    for (const cycLink* graph = firstGraph(crane); graph; graph = nextGraph(graph), ++index)
        rows.push_back({index, stores[index], figuresOf(*graph, crane.maxWeight)});
    return rows;
}

const char* graphColumnTitle(graphColumn column)
{
    switch (column) {
    case graphColumn::number: return "№";
    case graphColumn::start: return "Начало";
    case graphColumn::store: return "Память";
    case graphColumn::duration: return "Длительность";
    case graphColumn::peakPercent: return "Пик, %";
    case graphColumn::peakTonnes: return "Пик, т";
    case graphColumn::above100: return "Выше 100 %, с";
    case graphColumn::limiter: return "ОГП";
    case graphColumn::mechanisms: return "Механизмы";
    }
    return "";
}

namespace {

const char* storeText(graphStore store)
{
    switch (store) {
    case graphStore::ordinary: return "обычная";
    case graphStore::overload: return "перегрузки";
    case graphStore::unknown: break;
    }
    return "неизвестно";
}

std::string mechanismsText(uint8_t ran)
{
    std::string text;
    for (int m = 1; m <= hourCounterCount; ++m)
        if (ran & (1 << (m - 1)))
            text += (text.empty() ? "" : ", ") + std::to_string(m);
    return text.empty() ? "—" : text;
}

std::string limiterText(int trips)
{
    if (trips == 0)
        return "нет";
    return trips == 1 ? "да" : printfText("да (%d)", trips);
}

// The value a number column sorts by.
double sortKey(const graphTableRow& row, graphColumn column)
{
    const graphFigures& f = row.figures;
    switch (column) {
    case graphColumn::number: return static_cast<double>(row.index);
    case graphColumn::start: return static_cast<double>(f.start);
    case graphColumn::store: return static_cast<double>(row.store);
    case graphColumn::duration: return static_cast<double>(f.durationSeconds);
    case graphColumn::peakPercent: return static_cast<double>(f.peakPercent);
    case graphColumn::peakTonnes: return f.peakTonnes;
    case graphColumn::above100: return f.secondsAbove100;
    case graphColumn::limiter: return static_cast<double>(f.limiterTrips);
    case graphColumn::mechanisms: break;
    }
    return 0.0;
}

}  // namespace

std::string graphCellText(const graphTableRow& row, graphColumn column)
{
    const graphFigures& f = row.figures;
    switch (column) {
    case graphColumn::number: return std::to_string(row.index + 1);
    case graphColumn::start: return dateTimeText(f.start);
    case graphColumn::store: return storeText(row.store);
    case graphColumn::duration:
        return printfText("%lld:%02lld:%02lld", static_cast<long long>(f.durationSeconds / 3600),
                          static_cast<long long>(f.durationSeconds / 60 % 60),
                          static_cast<long long>(f.durationSeconds % 60));
    case graphColumn::peakPercent: return std::to_string(f.peakPercent);
    case graphColumn::peakTonnes: return fixedText(f.peakTonnes, 2);
    case graphColumn::above100: return fixedText(f.secondsAbove100, 1);
    case graphColumn::limiter: return limiterText(f.limiterTrips);
    case graphColumn::mechanisms: return mechanismsText(f.mechanismsRan);
    }
    return std::string();
}

void sortGraphRows(std::vector<graphTableRow>& rows, graphColumn column, bool ascending)
{
    // The mechanisms sort as their lists read: "1" before "1, 2" before "2"; none ("—") last.
    const auto before = [column](const graphTableRow& a, const graphTableRow& b) {
        if (column == graphColumn::mechanisms)
            return graphCellText(a, column) < graphCellText(b, column);
        return sortKey(a, column) < sortKey(b, column);
    };
    std::sort(rows.begin(), rows.end(), [&](const graphTableRow& a, const graphTableRow& b) {
        const graphTableRow& first = ascending ? a : b;
        const graphTableRow& second = ascending ? b : a;
        if (before(first, second) || before(second, first))
            return before(first, second);
        return a.index < b.index;
    });
}
