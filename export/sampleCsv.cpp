#include "export/sampleCsv.h"

#include "view/rawPoints.h"

namespace {

void appendHeader(std::string& out, csvFormat format, bool graphColumn)
{
    csvRow row(out, format);
    if (graphColumn)
        row.text("График");
    row.text("Время").text("Секунды от начала").text("Нагрузка, %").text("Нагрузка, т");
    for (const char* mechanism : {"Мех 1", "Мех 2", "Мех 3", "Мех 4", "Мех 5", "Мех 6"})
        row.text(mechanism);
    row.text("ОГП");
}

// The load and state after the points of one second.
struct sampleRow {
    int64_t seconds;
    bool hasLoad;
    int load;
    uint8_t state;
};

void appendRow(std::string& out, csvFormat format, int graphNumber, const cycLink& graph,
               float maxWeight, clockText& clock, const sampleRow& s)
{
    csvRow row(out, format);
    if (graphNumber > 0)
        row.integer(graphNumber);
    row.text(clock.dateTime(int64_t{graph.timeStamp} + s.seconds)).integer(s.seconds);
    if (s.hasLoad)
        row.integer(s.load).number(static_cast<double>(maxWeight) * s.load / 100, 3);
    else
        row.empty().empty();
    for (int bit = 0; bit < 7; ++bit)
        row.integer((s.state >> bit) & 1);
}

// graphNumber 0: no graph column.
void appendSamples(std::string& out, csvFormat format, const devLink& crane, const cycLink& graph,
                   int graphNumber)
{
    clockText clock;
    pointClock times;
    sampleRow current{0, false, 0, 0};
    bool pending = false;
    const std::size_t n = rawPointCount(graph);
    for (std::size_t i = 0; i < n; ++i) {
        const int64_t t = times.secondsOf(rawPointTime(graph, i));
        if (pending && t != current.seconds)
            appendRow(out, format, graphNumber, graph, crane.maxWeight, clock, current);
        current.seconds = t;
        pending = true;
        const uint8_t value = rawPointValue(graph, i);
        if (isLoadSample(value)) {
            current.hasLoad = true;
            current.load = value & 0x7F;
        } else {
            current.state = value;
        }
    }
    if (pending)
        appendRow(out, format, graphNumber, graph, crane.maxWeight, clock, current);
}

}  // namespace

std::string graphSamplesCsv(const devLink& crane, const cycLink& graph, csvFormat format)
{
    std::string out = utf8ByteOrderMark;
    out.reserve(rawPointCount(graph) * 48 + 256);
    appendHeader(out, format, false);
    appendSamples(out, format, crane, graph, 0);
    return out;
}

std::string craneSamplesCsv(const devLink& crane, csvFormat format)
{
    std::string out = utf8ByteOrderMark;
    appendHeader(out, format, true);
    int number = 1;
    for (const cycLink* graph = firstGraph(crane); graph; graph = nextGraph(graph))
        appendSamples(out, format, crane, *graph, number++);
    return out;
}
