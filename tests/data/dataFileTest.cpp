#include "data/dataFile.h"
#include "data/devLink.h"
#include "tests/data/dataFileCranes.h"
#include "tests/support/reportLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

using namespace datatest;

namespace {

namespace fs = std::filesystem;

std::string joined(std::initializer_list<const char*> lines, const char* eol)
{
    std::string text;
    for (const char* line : lines)
        text.append(line).append(eol);
    return text;
}

class DataFile : public ::testing::Test {
protected:
    void SetUp() override { reportLog::errors.clear(); }

    DataFileResult read(const std::string& text) { return readDataText(text, cranes, reportLog::error); }
    const devLink& crane(std::size_t index) const
    {
        const devLink* c = firstCrane(cranes);
        for (std::size_t i = 0; c && i < index; ++i)
            c = nextCrane(c);
        EXPECT_TRUE(c);
        return *c;
    }
    std::vector<int32_t> graphTimes(std::size_t index) const
    {
        std::vector<int32_t> times;
        for (const cycLink* g = firstGraph(crane(index)); g; g = nextGraph(g))
            times.push_back(g->timeStamp);
        return times;
    }

    aList cranes;
};

// Four load samples: a graph that is kept.
constexpr char fourLoads[] = "000081000182000283000384";

std::string craneText(const std::string& name, const std::string& attributes)
{
    return "'" + name + "'(type = \"RAM\", " + attributes + ").\n";
}

std::string graphText(const std::string& functor, int timeStamp, int points, const std::string& hex)
{
    return "'" + functor + "'(type = \"Cycle\", timeStamp = " + std::to_string(timeStamp) +
           ", 'Npoints' = " + std::to_string(points) + ", 'Points' = \"" + hex + "\").\n";
}

// The writer's text pins every field bit-exact (its layout is checked byte for byte below), so
// equal texts before and after a round trip mean equal cranes.
TEST_F(DataFile, RoundTripKeepsEveryFieldBitExact)
{
    aList saved;
    devLink* first = smallCrane();
    first->workSince = std::numeric_limits<int32_t>::min();
    first->cubeSum = 123456.789f;
    first->cyclesTotal = 0xFFFFFF;
    const uint32_t cycles[] = {1, 2, 3, 0x80000000u, 0xFFFFFFFFu};
    const float hours[] = {1e-5f, 1.4e-45f, std::numeric_limits<float>::max(), -0.0f, 0.1f, 6.5f};
    std::copy(std::begin(cycles), std::end(cycles), first->cycles);
    std::copy(std::begin(hours), std::end(hours), first->hourCounter);
    first->weightTotal = 1.17549435e-38f;
    first->cntE = 255;
    first->graphs.pushBack(graphOf(4, {{0, 0x80}, {1, 0xFF}, {2, 0x40}, {3, 0x81}, {9, 0x90}}));
    saved.pushBack(first);
    auto* second = new devLink;
    second->name = "\xCA\xF0\xE0\xED: 2 'a\\b'";
    saved.pushBack(second);
    const std::string text = dataFileText(saved);
    EXPECT_NE(text.find("\n  'cycles#1' = 1,\n"), std::string::npos);
    EXPECT_NE(text.find("\n  'cycles#5' = -1,\n"), std::string::npos);
    EXPECT_NE(text.find("\n  'hourCounter#6' = 6.5,\n"), std::string::npos);

    ASSERT_EQ(read(text), DataFileResult::ok);
    EXPECT_EQ(dataFileText(cranes), text);
    EXPECT_EQ(crane(0).Ncycles, 2);
    EXPECT_EQ(nextGraph(firstGraph(crane(0)))->loadCount(), 4);
    EXPECT_TRUE(reportLog::errors.empty());

    // Graphs of three load samples or of none are written, but not read back.
    first->graphs.pushBack(graphOf(5, {{0, 0x81}, {1, 0x82}, {2, 0x83}, {3, 0x03}}));
    first->graphs.pushBack(graphOf(6, {}));
    const std::string more = dataFileText(saved);
    EXPECT_NE(more.find("#4'(type = \"Cycle\",\n  timeStamp = 6,\n  'Npoints' = 0,\n  'Points' = \"\")."),
              std::string::npos);
    cranes.clear();
    ASSERT_EQ(read(more), DataFileResult::ok);
    EXPECT_EQ(crane(0).Ncycles, 4);
    EXPECT_EQ(graphTimes(0), std::vector<int32_t>({1706756000, 4}));
}

TEST_F(DataFile, WritesTheOldLayoutByteForByte)
{
    aList saved;
    saved.pushBack(smallCrane());
    EXPECT_EQ(dataFileText(saved),
              joined({"'12 01/02/2024 03:04:05'(type = \"RAM\",", "  regNo = \"12\",", "  serNo = \"\xC7-5\",",
                      "  invNo = \"\\\"q\\\"\",", "  timeStamp = 1706756645,", "  workSince = 0,", "  regiSince = -1,",
                      "  maxWeight = 12.5,", "  workMaxSeconds = -1141367296,", "  workMaxYears = 100,",
                      "  workMaxGrp = 5,", "  cubeSum = 0.100000001,", "  cyclesTotal = 10,", "  'cycles#1' = 1,",
                      "  'cycles#2' = 0,", "  'cycles#3' = 0,", "  'cycles#4' = 4,", "  'cycles#5' = 0,",
                      "  'hourCounter#1' = 0.5,", "  'hourCounter#2' = 0,", "  'hourCounter#3' = 0,",
                      "  'hourCounter#4' = 0,", "  'hourCounter#5' = 0,", "  'hourCounter#6' = 9.99999975e-06,",
                      "  weightTotal = 1234567,", "  cntN = 1,", "  cntE = 0,", "  adcZS = 20,", "  adcFZS = 200,",
                      "  ogpH = 110,", "  ogpL = 90,", "  'Ncycles' = 1).", "",
                      "'12 01/02/2024 03:04:05#1'(type = \"Cycle\",", "  timeStamp = 1706756000,", "  'Npoints' = 4,",
                      "  'Points' = \"000081000182010283FFFFAB\").", ""},
                     "\n"));
}

TEST_F(DataFile, ReadsFilesOfTheOldWriter)
{
    for (const char* eol : {"\r\n", "\n"}) {
        cranes.clear();
        const std::string text = joined(
            {"'\xCA\xF0\xE0\xED 1/2 08/03/2024 10:15:00'(type = \"RAM\",", "  serNo = \"\\\\srv\\\"7\",",
             "  invNo = \"\xC8\xED\xE2", "2\",", "  maxWeight = 12.7,", "  workMaxSeconds = -1141367296,",
             "  cubeSum = 1.23457e+06,", "  'cycles#5' = 500,", "  'hourCounter#1' = 1e-05,",
             "  'hourCounter#6' = 4321.5,", "  weightTotal = 12345.7,", "  'Ncycles' = 1).", "",
             "'\xCA\xF0\xE0\xED 1/2 08/03/2024 10:15:00#1'(type = \"Cycle\",", "  timeStamp = 1709880000,",
             "  'Npoints' = 4,", "  'Points' = \"000081000182010283FFFFFF\").", ""},
            eol);
        ASSERT_EQ(read(text), DataFileResult::ok) << eol;
        const devLink& c = crane(0);
        EXPECT_EQ(c.name, "\xCA\xF0\xE0\xED 1/2 08/03/2024 10:15:00");
        EXPECT_EQ(c.serNo, "\\srv\"7");
        EXPECT_EQ(c.invNo, "\xC8\xED\xE2\n2") << "a line break inside a text is a line feed";
        EXPECT_EQ(c.maxWeight, 12.7f);
        EXPECT_EQ(c.workMaxSeconds, 3153600000u);
        EXPECT_EQ(c.cubeSum, 1234570.0f);
        EXPECT_EQ(c.cycles[4], 500u);
        EXPECT_EQ(c.hourCounter[0], 1e-5f);
        EXPECT_EQ(c.hourCounter[5], 4321.5f);
        EXPECT_EQ(c.weightTotal, 12345.7f);
        EXPECT_EQ(graphTimes(0), std::vector<int32_t>({1709880000}));
    }
}

TEST_F(DataFile, MissingMistypedAndOversizedAttributes)
{
    ASSERT_EQ(read(craneText("a", "regNo = 5, maxWeight = \"x\", workMaxSeconds = -1294967296, cntN = 300, "
                                  "'cycles#2' = 3000000000, cubeSum = 2, timeStamp = 7.9, 'Ncycles' = 1") +
                   graphText("a#1", 1, 65540, fourLoads)),
              DataFileResult::ok);
    const devLink& c = crane(0);
    EXPECT_EQ(c.regNo, "-");
    EXPECT_EQ(c.serNo, "-");
    EXPECT_EQ(c.maxWeight, 1.0f);
    EXPECT_EQ(c.workMaxSeconds, 3000000000u);
    EXPECT_EQ(c.workMaxYears, 1);
    EXPECT_EQ(c.cntN, 44);
    EXPECT_EQ(c.cycles[1], 3000000000u);
    EXPECT_EQ(c.cubeSum, 2.0f);
    EXPECT_EQ(c.timeStamp, 7);
    EXPECT_EQ(firstGraph(c)->Npoints, 4);  // the low 16 bits
}

TEST_F(DataFile, GraphsAreFoundByCraneNameAndNumberUpToNcycles)
{
    const std::string text =
        craneText("a", "'Ncycles' = 5") + graphText("a#3", 3, 4, fourLoads) + "other(type = \"Cycle\").\n" +
        graphText("a#1", 1, 4, fourLoads) + graphText("a#6", 6, 4, "bad") + graphText("a#02", 2, 4, fourLoads) +
        craneText("a", "'Ncycles' = 1") + graphText("a#1", 9, 4, fourLoads) + craneText("b", "x = 1") +
        graphText("b#1", 1, 4, fourLoads) + craneText("c#1", "'Ncycles' = 2147483647") +
        graphText("c#1#2", 2, 4, fourLoads) + craneText("d", "'Ncycles' = -1") + graphText("d#1", 1, 4, fourLoads) +
        "x(type = \"ram\"). y. [type = \"RAM\"].";
    ASSERT_EQ(read(text), DataFileResult::ok);
    ASSERT_EQ(cranes.count(), 5u);
    EXPECT_EQ(graphTimes(0), std::vector<int32_t>({1, 3}));  // #2 and #4 absent, #6 beyond Ncycles
    EXPECT_EQ(graphTimes(1), std::vector<int32_t>({1}));     // the same name: the first clause again
    EXPECT_TRUE(graphTimes(2).empty());                      // no Ncycles: no graphs
    EXPECT_EQ(graphTimes(3), std::vector<int32_t>({2}));
    EXPECT_TRUE(graphTimes(4).empty());
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(DataFile, PointsTextDecoding)
{
    struct Case {
        int points;
        std::string hex;
        std::vector<uint8_t> bytes;  // empty: the graph is not kept
    };
    const std::vector<uint8_t> four = {0, 0, 0x81, 0, 1, 0x82, 0, 2, 0x83, 0, 3, 0x84};
    std::vector<uint8_t> fiveWithState = four;
    fiveWithState.insert(fiveWithState.end(), {0, 4, 0x0C});
    const Case cases[] = {
        {4, fourLoads, four},
        {4, std::string(fourLoads) + "ZZ", four},  // read only as far as needed
        {5, std::string(fourLoads) + "0004C", fiveWithState},  // a last lone character is one digit
        {4, "+000-1000182000283 0 3fc", {0, 0, 0xFF, 0, 1, 0x82, 0, 2, 0x83, 0, 3, 0xFC}},  // as C reads hex
        {0, "", {}},
    };
    for (const Case& c : cases) {
        cranes.clear();
        ASSERT_EQ(read(craneText("a", "'Ncycles' = 1") + graphText("a#1", 1, c.points, c.hex)), DataFileResult::ok)
            << c.hex;
        const cycLink* graph = firstGraph(crane(0));
        EXPECT_EQ(graph ? graph->Points : std::vector<uint8_t>(), c.bytes) << c.hex;
    }
    const std::pair<std::string, int> failures[] = {{"", 0}, {"0000810001", 5}, {"00008G", 2}, {"000081000182000283 -", 9},
                                                     {"00 -", 1}, {"0x0081", 0}};
    for (const auto& [hex, badByte] : failures) {
        reportLog::errors.clear();
        EXPECT_EQ(read(craneText("a", "'Ncycles' = 1") + graphText("a#1", 1, 4, hex)), DataFileResult::decodeError);
        EXPECT_EQ(reportLog::errors, std::vector<std::string>({"Ошибка при декодировании цикла 0: невозможно "
                                                             "сконвертировать байт " + std::to_string(badByte)}))
            << hex;
    }
}

TEST_F(DataFile, DecodeErrorKeepsTheCranesAndTheGraphsBeforeIt)
{
    const std::string text = craneText("a", "'Ncycles' = 3") + graphText("a#1", 1, 4, fourLoads) +
                             graphText("a#2", 2, 4, "0000") + graphText("a#3", 3, 4, fourLoads) +
                             craneText("b", "'Ncycles' = 1") + graphText("b#1", 1, 4, fourLoads);
    EXPECT_EQ(read(text), DataFileResult::decodeError);
    ASSERT_EQ(cranes.count(), 2u);
    EXPECT_EQ(graphTimes(0), std::vector<int32_t>({1}));
    EXPECT_TRUE(graphTimes(1).empty());
    EXPECT_EQ(reportLog::errors,
              std::vector<std::string>({"Ошибка при декодировании цикла 1: невозможно сконвертировать байт 2"}));
}

TEST_F(DataFile, UnreadableFilesAndFilesWithoutCranes)
{
    EXPECT_EQ(read(craneText("a", "'Ncycles' = 0") + "b(x = 1)"), DataFileResult::readError);
    EXPECT_EQ(readDataFile("/nonexistent/file.brx", cranes, reportLog::error), DataFileResult::readError);
    EXPECT_EQ(readDataFile(fs::temp_directory_path().string(), cranes, reportLog::error), DataFileResult::readError);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>(3, "Ошибка при чтении файла данных"));
    EXPECT_EQ(read("x(type = \"Cycle\"). y(type = 1)."), DataFileResult::ok);
    EXPECT_TRUE(cranes.empty());
}

}  // namespace
