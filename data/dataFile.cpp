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

// The first clause of each functor "<name>#<k>", grouped by name and ordered by k: one pass
// over the file finds the graphs of every crane, however many clauses it holds.
class GraphClauses {
public:
    explicit GraphClauses(const std::vector<Clause>& clauses)
    {
        for (const Clause& clause : clauses) {
            const std::size_t hash = clause.functor.rfind('#');
            if (hash == std::string::npos)
                continue;
            const int number = graphNumber(std::string_view(clause.functor).substr(hash + 1));
            if (number > 0)
                byName[clause.functor.substr(0, hash)].emplace(number, &clause);
        }
    }

    const std::map<int, const Clause*>& of(const std::string& name) const
    {
        static const std::map<int, const Clause*> none;
        const auto found = byName.find(name);
        return found == byName.end() ? none : found->second;
    }

private:
    std::unordered_map<std::string, std::map<int, const Clause*>> byName;
};

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
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
    std::string text;
    text.reserve(2 * count);
    for (std::size_t i = 0; i < count; ++i) {
        text += digits[points[i] >> 4];
        text += digits[points[i] & 0x0F];
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

}  // namespace

DataFileResult readDataText(std::string_view text, aList& cranes, ReportCallback errorCallback)
{
    const std::optional<std::vector<Clause>> clauses = readClauses(text);
    if (!clauses) {
        errorCallback(readErrorText);
        return DataFileResult::readError;
    }
    std::vector<devLink*> read;
    for (const Clause& clause : *clauses) {
        if (isCraneClause(clause)) {
            read.push_back(craneFrom(clause).release());
            cranes.pushBack(read.back());
        }
    }
    const GraphClauses graphClauses(*clauses);
    for (devLink* crane : read) {
        for (const auto& [number, clause] : graphClauses.of(crane->name)) {
            if (number > crane->Ncycles)
                break;
            auto graph = std::make_unique<cycLink>();
            graph->timeStamp = static_cast<int32_t>(clause->integer("timeStamp").value_or(0));
            graph->Npoints = static_cast<uint16_t>(clause->integer("Npoints").value_or(0));
            graph->Points.resize(std::size_t{3} * graph->Npoints);
            if (const auto badByte = decodeHexPoints(clause->text("Points").value_or(""), graph->Points)) {
                errorCallback(decodeErrorText, number - 1, *badByte);
                return DataFileResult::decodeError;
            }
            graph->decodePoints();
            if (graph->worthKeeping())
                crane->graphs.pushBack(graph.release());
        }
    }
    return DataFileResult::ok;
}

DataFileResult readDataFile(const std::string& path, aList& cranes, ReportCallback errorCallback)
{
    const std::optional<std::string> text = readWholeFile(path);
    if (!text) {
        errorCallback(readErrorText);
        return DataFileResult::readError;
    }
    return readDataText(*text, cranes, errorCallback);
}

std::string dataFileText(const aList& cranes)
{
    std::string text;
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
