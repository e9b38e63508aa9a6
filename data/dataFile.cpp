#include "data/dataFile.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "data/clause.h"
#include "data/clauseReader.h"
#include "data/clauseWriter.h"
#include "data/devLink.h"
#include "data/wholeFile.h"
#include "link/codings.h"

namespace {

constexpr char readErrorText[] = "Ошибка при чтении файла данных";
constexpr char decodeErrorText[] = "Ошибка при декодировании цикла %d: невозможно сконвертировать байт %d";
constexpr char writeErrorText[] = "Ошибка при записи файла данных";

constexpr char craneType[] = "RAM";
constexpr char graphType[] = "Cycle";

// "cycles#1" for element 0 of cycles: the counters are numbered from 1 in the file.
std::string numberedName(const char* stem, int element)
{
    return std::string(stem) + "#" + std::to_string(element + 1);
}

// The attributes of a crane clause between `type` and `Ncycles`, in file order, each with its
// default on reading. Reading and writing both walk this one list.
template <typename Crane, typename Visit>
void forEachCraneField(Crane& crane, Visit&& visit)
{
    visit("regNo", crane.regNo, "-");
    visit("serNo", crane.serNo, "-");
    visit("invNo", crane.invNo, "-");
    visit("timeStamp", crane.timeStamp, 0);
    visit("workSince", crane.workSince, 0);
    visit("regiSince", crane.regiSince, 0);
    visit("maxWeight", crane.maxWeight, 1.0);
    visit("workMaxSeconds", crane.workMaxSeconds, 1);
    visit("workMaxYears", crane.workMaxYears, 1);
    visit("workMaxGrp", crane.workMaxGrp, 0);
    visit("cubeSum", crane.cubeSum, 0.0);
    visit("cyclesTotal", crane.cyclesTotal, 0);
    for (int i = 0; i < cycleCounterCount; ++i)
        visit(numberedName("cycles", i), crane.cycles[i], 0);
    for (int i = 0; i < hourCounterCount; ++i)
        visit(numberedName("hourCounter", i), crane.hourCounter[i], 0.0);
    visit("weightTotal", crane.weightTotal, 0.0);
    visit("cntN", crane.cntN, 0);
    visit("cntE", crane.cntE, 0);
    visit("adcZS", crane.adcZS, 0);
    visit("adcFZS", crane.adcFZS, 0);
    visit("ogpH", crane.ogpH, 0);
    visit("ogpL", crane.ogpL, 0);
}

template <typename T>
using IfInteger = std::enable_if_t<std::is_integral_v<T>, int>;

// Missing or mistyped attributes leave the default; integer fields keep the low bits of the
// number read (8 for bytes, 32 for the counters and times); floats are narrowed.
struct FieldReader {
    const Clause& clause;

    void operator()(const std::string& name, std::string& field, const char* fallback) const
    {
        field = std::string(clause.text(name).value_or(fallback));
    }
    void operator()(const std::string& name, float& field, double fallback) const
    {
        field = static_cast<float>(clause.real(name).value_or(fallback));
    }
    template <typename Integer, IfInteger<Integer> = 0>
    void operator()(const std::string& name, Integer& field, int fallback) const
    {
        field = static_cast<Integer>(clause.integer(name).value_or(fallback));
    }
};

struct FieldWriter {
    Clause& clause;

    void operator()(const std::string& name, const std::string& field, const char*) const
    {
        clause.addString(name, field);
    }
    void operator()(const std::string& name, const float& field, double) const { clause.addReal(name, field); }
    template <typename Integer, IfInteger<Integer> = 0>
    void operator()(const std::string& name, const Integer& field, int) const
    {
        // Unsigned 32-bit fields go out as the 32-bit signed number the program has always
        // written, so 3000000000 is -1294967296 in every file.
        if constexpr (std::is_same_v<Integer, uint32_t>)
            clause.addInteger(name, static_cast<int32_t>(field));
        else
            clause.addInteger(name, field);
    }
};

// The k of a graph functor's "#k" as "%d" writes it: 1 .. INT_MAX, no sign, no leading zero;
// 0 for any other text.
int graphNumber(std::string_view digits)
{
    if (digits.empty() || digits[0] < '1' || digits[0] > '9')
        return 0;
    int number = 0;
    const char* end = digits.data() + digits.size();
    const auto result = std::from_chars(digits.data(), end, number);
    return result.ec == std::errc() && result.ptr == end ? number : 0;
}

// A byte from its pair of characters, or from the single one left at the end of the text,
// converted as the program has always converted it: as a C hexadecimal number field (leading
// white space, an optional sign, then hexadecimal digits up to the end), keeping the low 8 bits.
std::optional<uint8_t> hexByte(std::string_view field)
{
    std::size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || (field[i] >= '\t' && field[i] <= '\r')))
        ++i;
    const bool negative = i < field.size() && field[i] == '-';
    if (i < field.size() && (field[i] == '-' || field[i] == '+'))
        ++i;
    if (i == field.size())
        return std::nullopt;
    unsigned value = 0;
    for (; i < field.size(); ++i) {
        const int digit = hexDigit(field[i]);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<uint8_t>(negative ? 0u - value : value);
}

// Fills every byte of points, byte k from the characters at 2k of the text; the index of the
// first byte that does not convert, if any. Characters beyond the last byte are not looked at.
std::optional<int> decodeHexPoints(std::string_view text, std::vector<uint8_t>& points)
{
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (2 * i + 1 < text.size()) {   // the usual two digits
            const int high = hexDigit(text[2 * i]);
            const int low = hexDigit(text[2 * i + 1]);
            if (high >= 0 && low >= 0) {
                points[i] = static_cast<uint8_t>(high << 4 | low);
                continue;
            }
        }
        const std::optional<uint8_t> byte = 2 * i < text.size() ? hexByte(text.substr(2 * i, 2)) : std::nullopt;
        if (!byte)
            return static_cast<int>(i);
        points[i] = *byte;
    }
    return std::nullopt;
}

std::string hexText(const std::vector<uint8_t>& points, std::size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text(2 * count, '0');
    for (std::size_t i = 0; i < count; ++i) {
        text[2 * i] = digits[points[i] >> 4];
        text[2 * i + 1] = digits[points[i] & 0x0F];
    }
    return text;
}

std::unique_ptr<devLink> craneFrom(const Clause& clause)
{
    auto crane = std::make_unique<devLink>();
    crane->name = clause.functor;
    forEachCraneField(*crane, FieldReader{clause});
    crane->Ncycles = static_cast<int32_t>(clause.integer("Ncycles").value_or(0));
    return crane;
}

Clause craneClause(const devLink& crane)
{
    Clause clause(crane.name);
    clause.addString("type", craneType);
    forEachCraneField(crane, FieldWriter{clause});
    clause.addInteger("Ncycles", static_cast<int64_t>(crane.graphs.count()));
    return clause;
}

Clause graphClause(const std::string& craneName, int number, const cycLink& graph)
{
    // Only whole points that the buffer holds, so the file never announces more than it carries.
    const std::size_t points = std::min<std::size_t>(graph.Npoints, graph.Points.size() / 3);
    Clause clause(craneName + "#" + std::to_string(number));
    clause.addString("type", graphType);
    clause.addInteger("timeStamp", graph.timeStamp);
    clause.addInteger("Npoints", static_cast<int64_t>(points));
    clause.addString("Points", hexText(graph.Points, 3 * points));
    return clause;
}

bool isCraneClause(const Clause& clause)
{
    return clause.text("type") == std::string_view(craneType);
}

// What the reader keeps of a graph clause: its fields, with the points already converted from
// their text, or the index of the first byte that does not convert.
struct GraphRecord {
    int32_t timeStamp = 0;
    uint16_t Npoints = 0;
    std::vector<uint8_t> points;
    std::optional<int> badByte;
};

GraphRecord graphRecordFrom(const Clause& clause)
{
    GraphRecord record;
    record.timeStamp = static_cast<int32_t>(clause.integer("timeStamp").value_or(0));
    record.Npoints = static_cast<uint16_t>(clause.integer("Npoints").value_or(0));
    // Byte i needs text from character 2i on: a text too short for Npoints fails at the first
    // byte beyond it, so no more is ever allocated than the text can fill.
    const std::string_view text = clause.text("Points").value_or("");
    const std::size_t wanted = std::size_t{3} * record.Npoints;
    const std::size_t held = std::min(wanted, (text.size() + 1) / 2);
    record.points.resize(held);
    record.badByte = decodeHexPoints(text, record.points);
    if (!record.badByte && held < wanted)
        record.badByte = static_cast<int>(held);
    if (record.badByte)
        record.points = std::vector<uint8_t>();
    return record;
}

// A file's content, gathered clause by clause as the text is parsed, so that no clause's text is
// held beyond its own parsing: the cranes in file order, and for each functor "<name>#<k>" the
// first clause of that functor (graphs are looked up from the start of the file), grouped by
// name and ordered by k.
struct FileContent {
    std::vector<std::unique_ptr<devLink>> cranes;
    std::unordered_map<std::string, std::map<int, GraphRecord>> graphs;

    void take(const Clause& clause)
    {
        if (isCraneClause(clause))
            cranes.push_back(craneFrom(clause));
        const std::size_t hash = clause.functor.rfind('#');
        if (hash == std::string::npos)
            return;
        const int number = graphNumber(std::string_view(clause.functor).substr(hash + 1));
        if (number == 0)
            return;
        std::map<int, GraphRecord>& ofName = graphs[clause.functor.substr(0, hash)];
        if (ofName.find(number) == ofName.end())
            ofName.emplace(number, graphRecordFrom(clause));
    }
};

std::optional<FileContent> readContent(std::string_view text)
{
    FileContent content;
    if (!readClauses(text, [&content](Clause&& clause) { content.take(clause); }))
        return std::nullopt;
    return content;
}

// Every crane of the content goes to the back of the list, then each receives its graphs 1 ..
// Ncycles that exist, keeping those with more than three load samples. A graph whose points did
// not convert reports the error and ends the reading there.
DataFileResult appendContent(FileContent content, aList& cranes, ReportCallback errorCallback)
{
    // Cranes of the same name share their graphs: the last of them may take the points over.
    std::unordered_map<std::string, const devLink*> lastOfName;
    for (const auto& crane : content.cranes)
        lastOfName[crane->name] = crane.get();
    std::vector<devLink*> read;
    for (auto& crane : content.cranes) {
        read.push_back(crane.release());
        cranes.pushBack(read.back());
    }
    for (devLink* crane : read) {
        const auto found = content.graphs.find(crane->name);
        if (found == content.graphs.end())
            continue;
        const bool lastUse = lastOfName[crane->name] == crane;
        for (auto& [number, record] : found->second) {
            if (number > crane->Ncycles)
                break;
            if (record.badByte) {
                errorCallback(decodeErrorText, number - 1, *record.badByte);
                return DataFileResult::decodeError;
            }
            auto graph = std::make_unique<cycLink>();
            graph->timeStamp = record.timeStamp;
            graph->Npoints = record.Npoints;
            graph->Points = lastUse ? std::move(record.points) : record.points;
            graph->decodePoints();
            if (graph->worthKeeping())
                crane->graphs.pushBack(graph.release());
        }
    }
    return DataFileResult::ok;
}

}  // namespace

DataFileResult readDataText(std::string_view text, aList& cranes, ReportCallback errorCallback)
{
    std::optional<FileContent> content = readContent(text);
    if (!content) {
        errorCallback(readErrorText);
        return DataFileResult::readError;
    }
    return appendContent(std::move(*content), cranes, errorCallback);
}

DataFileResult readDataFile(const std::string& path, aList& cranes, ReportCallback errorCallback)
{
    std::optional<std::string> text = readWholeFile(path);
    std::optional<FileContent> content = text ? readContent(*text) : std::nullopt;
    if (!content) {
        errorCallback(readErrorText);
        return DataFileResult::readError;
    }
    text.reset();   // the text goes before the graphs' points are decoded
    return appendContent(std::move(*content), cranes, errorCallback);
}

namespace {

// Somewhat more than the text will take, so that it is allocated once: a graph's clause is its
// points' text, its name and about 90 bytes; a crane's clause under 1 kB besides its texts.
std::size_t textSizeBound(const aList& cranes)
{
    std::size_t bytes = 0;
    for (const devLink* crane = firstCrane(cranes); crane; crane = nextCrane(crane)) {
        bytes += 1024 + 2 * (crane->name.size() + crane->regNo.size() + crane->serNo.size() +
                             crane->invNo.size());
        for (const cycLink* graph = firstGraph(*crane); graph; graph = nextGraph(graph))
            bytes += 128 + 2 * crane->name.size() + 2 * graph->Points.size();
    }
    return bytes;
}

}  // namespace

std::string dataFileText(const aList& cranes)
{
    std::string text;
    text.reserve(textSizeBound(cranes));
    for (const devLink* crane = firstCrane(cranes); crane; crane = nextCrane(crane)) {
        appendClause(text, craneClause(*crane));
        int number = 0;
        for (const cycLink* graph = firstGraph(*crane); graph; graph = nextGraph(graph))
            appendClause(text, graphClause(crane->name, ++number, *graph));
    }
    return text;
}

bool writeDataFile(const std::string& path, const aList& cranes, ReportCallback errorCallback)
{
    if (replaceWholeFile(path, dataFileText(cranes)))
        return true;
    errorCallback(writeErrorText);
    return false;
}
