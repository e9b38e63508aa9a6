#include "sim/scenario.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "data/cp1251.h"
#include "link/codings.h"
#include "link/commands.h"
#include "platform/localTime.h"
#include "sim/generator.h"

namespace {

// A malformed line; the parser adds the line number.
struct scenarioError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

uint64_t number(const std::string& text, uint64_t max)
{
    if (text.empty() || text.size() > 20 || !std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        throw scenarioError("'" + text + "' is not a whole number");
    const unsigned long long v = std::strtoull(text.c_str(), nullptr, 10);
    if (v > max || (text.size() == 20 && text > "18446744073709551615"))
        throw scenarioError("'" + text + "' is above " + std::to_string(max));
    return v;
}

double real(const std::string& text)
{
    std::size_t used = 0;
    double v = 0;
    try {
        v = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !(v >= 0))
        throw scenarioError("'" + text + "' is not a number of zero or more");
    return v;
}

int32_t date(const std::string& text)
{
    const std::optional<int32_t> t = parseDate(text);
    if (!t)
        throw scenarioError("'" + text + "' is not a date YYYY-MM-DD [HH:MM:SS]");
    return *t;
}

std::string text(const std::string& utf8, std::size_t size)
{
    std::string bytes;
    if (!utf8ToCp1251(utf8, bytes))
        throw scenarioError("'" + utf8 + "' cannot be written in Windows-1251");
    if (bytes.size() > size)
        throw scenarioError("'" + utf8 + "' is longer than " + std::to_string(size) + " characters");
    return bytes;
}

byteString hex(const std::string& text)
{
    byteString out;
    int high = -1;
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)))
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            throw scenarioError(std::string("'") + c + "' is not a hex digit");
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
        if (high < 0) {
            high = digit;
        } else {
            out.push_back(static_cast<uint8_t>(high << 4 | digit));
            high = -1;
        }
    }
    if (high >= 0)
        throw scenarioError("odd number of hex digits");
    return out;
}

// "T:L<percent>" or "T:S<hex state>" into a 3-byte point.
void point(const std::string& item, byteString& points)
{
    const std::size_t colon = item.find(':');
    if (colon == std::string::npos || colon + 2 > item.size())
        throw scenarioError("'" + item + "' is not a point T:L<percent> or T:S<hex>");
    const auto time = static_cast<uint16_t>(number(item.substr(0, colon), 65535));
    const char kind = item[colon + 1];
    const std::string value = item.substr(colon + 2);
    uint8_t byte = 0;
    if (kind == 'L') {
        byte = static_cast<uint8_t>(0x80 | number(value, 127));
    } else if (kind == 'S') {
        const byteString state = hex(value);
        if (state.size() != 1 || state[0] > 0x7F)
            throw scenarioError("'" + item + "': a state is one hex byte 00..7F");
        byte = state[0];
    } else {
        throw scenarioError("'" + item + "' is not a point T:L<percent> or T:S<hex>");
    }
    points.push_back(static_cast<uint8_t>(time >> 8));
    points.push_back(static_cast<uint8_t>(time));
    points.push_back(byte);
}

class scenarioParser {
public:
    explicit scenarioParser(scenarioContext context) : context(context) { content.clock = context.clock; }

    void line(const std::string& keyword, const std::string& value)
    {
        if (keyword == "crane")
            return startCrane(value);
        if (!crane)
            return deviceLine(keyword, value);
        if (keyword == "points" || keyword == "hex")
            return graphLine(keyword, value);
        finishGraph();
        craneLine(keyword, value);
    }

    simContent finish()
    {
        finishCrane();
        if (content.kind == deviceKind::recorder && content.slots.empty())
            content.slots.push_back(buildSlot(generateCrane(context.seed, 0, content.clock)));
        return std::move(content);
    }

private:
    struct pendingGraph {
        int kind = 0;
        bool raw = false;
        int32_t start = 0;
        byteString bytes;
    };

    void deviceLine(const std::string& keyword, const std::string& value)
    {
        if (keyword == "device") {
            if (value != "recorder" && value != "collector")
                throw scenarioError("device is recorder or collector");
            content.kind = value == "collector" ? deviceKind::collector : deviceKind::recorder;
            if (!identifierSet)
                content.identifier = defaultIdentifier(content.kind);
        } else if (keyword == "identifier") {
            if (value.size() != 8)
                throw scenarioError("the identifier has 8 characters");
            content.identifier = value;
            identifierSet = true;
        } else if (keyword == "clock") {
            if (!context.clockFixed)
                content.clock = date(value);
        } else if (keyword == "seed") {
            if (!context.seedFixed)
                context.seed = number(value, UINT64_MAX);
        } else if (keyword == "load") {
            content.loadCode = static_cast<uint8_t>(number(value, 255));
        } else {
            throw scenarioError("unknown device keyword '" + keyword + "'");
        }
    }

    void startCrane(const std::string& value)
    {
        finishCrane();
        if (content.kind == deviceKind::recorder && !content.slots.empty())
            throw scenarioError("a recorder holds one crane");
        if (value == "generate")
            crane = generateCrane(context.seed, static_cast<unsigned>(content.slots.size()), content.clock);
        else if (value.empty())
            crane = craneSpec{};
        else
            throw scenarioError("write 'crane' or 'crane generate'");
        crane->readout = content.clock;
        graphsGiven[0] = graphsGiven[1] = false;
        weightTotal.reset();
    }

    void craneLine(const std::string& keyword, const std::string& value)
    {
        craneSpec& c = *crane;
        const std::vector<std::string> items = words(value);
        if (keyword == "regNo")
            c.regNo = text(value, 8);
        else if (keyword == "serNo")
            c.serNo = text(value, 8);
        else if (keyword == "invNo")
            c.invNo = text(value, 8);
        else if (keyword == "workSince")
            c.workSince = date(value);
        else if (keyword == "regiSince")
            c.regiSince = date(value);
        else if (keyword == "capacity")
            c.capacityTonnes = static_cast<unsigned>(number(value, 1280));
        else if (keyword == "fullCode")
            c.fullCode = static_cast<uint8_t>(number(value, 255));
        else if (keyword == "zeroCode")
            c.zeroCode = static_cast<uint8_t>(number(value, 255));
        else if (keyword == "serviceYears")
            c.serviceYears = static_cast<uint8_t>(number(value, 255));
        else if (keyword == "serviceSeconds")
            c.serviceSeconds = static_cast<uint32_t>(number(value, UINT32_MAX));
        else if (keyword == "group")
            c.group = static_cast<uint8_t>(number(value, 255));
        else if (keyword == "ogp") {
            expectCount(items, 2, 2);
            c.ogpH = static_cast<uint8_t>(number(items[0], 255));
            c.ogpL = static_cast<uint8_t>(number(items[1], 255));
        } else if (keyword == "cycles") {
            expectCount(items, 1, c.cycles.size());
            c.cycles = {};
            for (std::size_t i = 0; i < items.size(); ++i)
                c.cycles[i] = static_cast<uint32_t>(number(items[i], 0xFFFFFF));
        } else if (keyword == "cyclesTotal")
            c.cyclesTotal = static_cast<uint32_t>(number(value, 0xFFFFFF));
        else if (keyword == "hours") {
            expectCount(items, 1, c.hourSeconds.size());
            c.hourSeconds = {};
            for (std::size_t i = 0; i < items.size(); ++i) {
                const double seconds = real(items[i]) * 3600;
                if (seconds > UINT32_MAX)
                    throw scenarioError("'" + items[i] + "' hours do not fit the counter");
                c.hourSeconds[i] = static_cast<uint32_t>(seconds + 0.5);
            }
        } else if (keyword == "loadSum") {
            c.loadSum = static_cast<uint32_t>(number(value, UINT32_MAX));
            weightTotal.reset();
        } else if (keyword == "weightTotal")
            weightTotal = real(value);
        else if (keyword == "cubeSum")
            c.cubeSum = real(value);
        else if (keyword == "graphCounts") {
            expectCount(items, 3, 3);
            c.graphCounts = std::array<uint8_t, 3>{};
            for (std::size_t i = 0; i < 3; ++i)
                (*c.graphCounts)[i] = static_cast<uint8_t>(number(items[i], 255));
        } else if (keyword == "readout")
            c.readout = date(value);
        else if (keyword == "slotRegNo")
            c.slotRegNo = text(value, slotRegNoSize);
        else if (keyword == "graph")
            startGraph(items);
        else if (keyword == "memory") {
            const byteString bytes = hex(value);
            if (!c.rawMemory)
                c.rawMemory.emplace();
            c.rawMemory->insert(c.rawMemory->end(), bytes.begin(), bytes.end());
            if (c.rawMemory->size() > memoryImageSize)
                throw scenarioError("the memory holds " + std::to_string(memoryImageSize) + " bytes");
        } else if (keyword == "poke") {
            if (items.size() < 2)
                throw scenarioError("write poke OFFSET HEX");
            const std::size_t offset = number(items[0], memoryImageSize - 1);
            byteString bytes = hex(value.substr(items[0].size()));
            if (offset + bytes.size() > memoryImageSize)
                throw scenarioError("the patch runs past the memory's end");
            c.memoryPatches.emplace_back(offset, std::move(bytes));
        } else if (keyword == "slotReply")
            c.slotReply = hex(value);
        else
            throw scenarioError("unknown crane keyword '" + keyword + "'");
    }

    static void expectCount(const std::vector<std::string>& items, std::size_t least, std::size_t most)
    {
        if (items.size() < least || items.size() > most)
            throw scenarioError("expected " + std::to_string(least) + (least == most ? "" : " to " + std::to_string(most)) + " values");
    }

    void startGraph(const std::vector<std::string>& items)
    {
        if (items.size() < 2 || (items[0] != "ordinary" && items[0] != "overload"))
            throw scenarioError("write graph ordinary|overload DATE, or graph ordinary|overload raw");
        pendingGraph g;
        g.kind = items[0] == "overload" ? 1 : 0;
        g.raw = items[1] == "raw";
        if (!g.raw)
            g.start = date(items[1] + (items.size() > 2 ? " " + items[2] : ""));
        if (!graphsGiven[g.kind])
            crane->graphs[g.kind].clear();
        graphsGiven[g.kind] = true;
        graph = std::move(g);
    }

    void graphLine(const std::string& keyword, const std::string& value)
    {
        if (!graph || graph->raw != (keyword == "hex"))
            throw scenarioError("'" + keyword + "' belongs to a " + (keyword == "hex" ? "raw graph" : "graph with a date"));
        if (graph->raw) {
            const byteString bytes = hex(value);
            graph->bytes.insert(graph->bytes.end(), bytes.begin(), bytes.end());
            return;
        }
        for (const std::string& item : words(value))
            point(item, graph->bytes);
    }

    void finishGraph()
    {
        if (!graph)
            return;
        pendingGraph g = std::move(*graph);
        graph.reset();
        if (crane->graphs[g.kind].size() >= 30)
            throw scenarioError("a store holds 30 graphs");
        if (g.raw) {
            crane->graphs[g.kind].push_back(std::move(g.bytes));
            return;
        }
        if (g.bytes.size() < 6 || getBe16(&g.bytes[0]) != 0 || getBe16(&g.bytes[3]) != 0)
            throw scenarioError("a graph starts with two points at time 0");
        if (g.bytes.size() / 3 * 3 + 3 > 0xFFFF - 11)
            throw scenarioError("the graph has too many points for one reply");
        crane->graphs[g.kind].push_back(graphRecord(g.start, g.bytes));
    }

    void finishCrane()
    {
        finishGraph();
        if (!crane)
            return;
        if (weightTotal) {
            const uint8_t capacity = capacityByte(crane->capacityTonnes);
            crane->loadSum = capacity ? static_cast<uint32_t>(*weightTotal * crane->fullCode / capacity + 0.5) : 0;
        }
        content.slots.push_back(buildSlot(*crane));
        crane.reset();
    }

    scenarioContext context;
    simContent content;
    bool identifierSet = false;
    std::optional<craneSpec> crane;
    std::optional<pendingGraph> graph;
    bool graphsGiven[2] = {false, false};
    std::optional<double> weightTotal;
};

}  // namespace

std::optional<int32_t> parseDate(const std::string& text)
{
    tm t{};
    char rest = 0;
    const int fields = std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d %c", &t.tm_year, &t.tm_mon, &t.tm_mday,
                                   &t.tm_hour, &t.tm_min, &t.tm_sec, &rest);
    if ((fields != 3 && fields != 6) || t.tm_year < 1900 || t.tm_year > 2099 || t.tm_mon < 1 || t.tm_mon > 12
        || t.tm_mday < 1 || t.tm_mday > 31 || t.tm_hour < 0 || t.tm_hour > 23 || t.tm_min < 0 || t.tm_min > 59
        || t.tm_sec < 0 || t.tm_sec > 59)
        return std::nullopt;
    t.tm_year -= 1900;
    t.tm_mon -= 1;
    t.tm_isdst = -1;
    return static_cast<int32_t>(fromLocalFields(t));
}

std::optional<simContent> parseScenario(std::istream& in, scenarioContext context, std::string& error)
{
    scenarioParser parser(context);
    std::string line;
    int lineNumber = 0;
    try {
        while (std::getline(in, line)) {
            ++lineNumber;
            while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
                line.pop_back();
            const std::size_t start = line.find_first_not_of(" \t");
            if (start == std::string::npos || line[start] == '#')
                continue;
            const std::size_t keywordEnd = line.find_first_of(" \t", start);
            const std::string keyword = line.substr(start, keywordEnd - start);
            const std::size_t valueStart = line.find_first_not_of(" \t", keywordEnd == std::string::npos ? line.size() : keywordEnd);
            parser.line(keyword, valueStart == std::string::npos ? std::string() : line.substr(valueStart));
        }
        lineNumber = 0;
        return parser.finish();
    } catch (const scenarioError& e) {
        error = (lineNumber ? "line " + std::to_string(lineNumber) + ": " : std::string()) + e.what();
        return std::nullopt;
    }
}
