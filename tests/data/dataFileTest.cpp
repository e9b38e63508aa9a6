#include "data/dataFile.h"
#include "data/devLink.h"
#include "data/wholeFile.h"
#include "tests/support/reportLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string joined(std::initializer_list<const char*> lines, const char* eol)
{
    std::string text;
    for (const char* line : lines)
        text.append(line).append(eol);
    return text;
}

cycLink* graphOf(int32_t timeStamp, std::initializer_list<std::pair<uint16_t, uint8_t>> points)
{
    auto* graph = new cycLink;
    graph->timeStamp = timeStamp;
    for (const auto& [time, value] : points)
        graph->Points.insert(graph->Points.end(), {uint8_t(time >> 8), uint8_t(time), value});
    graph->Npoints = static_cast<uint16_t>(points.size());
    graph->decodePoints();
    return graph;
}

devLink* smallCrane()
{
    auto* crane = new devLink;
    crane->name = "12 01/02/2024 03:04:05";
    crane->regNo = "12";
    crane->serNo = "\xC7-5";
    crane->invNo = "\"q\"";
    crane->timeStamp = 1706756645;
    crane->regiSince = -1;
    crane->maxWeight = 12.5f;
    crane->workMaxSeconds = 3153600000u;  // 100 years: above 2^31
    crane->workMaxYears = 100;
    crane->workMaxGrp = 5;
    crane->cubeSum = 0.1f;
    crane->cyclesTotal = 10;
    crane->cycles[0] = 1;
    crane->cycles[3] = 4;
    crane->hourCounter[0] = 0.5f;
    crane->hourCounter[5] = 1e-5f;
    crane->weightTotal = 1234567;
    crane->cntN = 1;
    crane->adcZS = 20;
    crane->adcFZS = 200;
    crane->ogpH = 110;
    crane->ogpL = 90;
    crane->graphs.pushBack(graphOf(1706756000, {{0, 0x81}, {1, 0x82}, {0x0102, 0x83}, {0xFFFF, 0xAB}}));
    return crane;
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

// Saving into a real directory, with the failures a disk or a path can cause.
class DataFileSave : public DataFile {
protected:
    void SetUp() override
    {
        DataFile::SetUp();
        directory = fs::temp_directory_path() / ("brennix-save-" + std::to_string(::getpid()));
        fs::remove_all(directory);
        fs::create_directories(directory);
        target = (directory / "cranes.brx").string();
        saved.pushBack(smallCrane());
    }
    void TearDown() override { fs::remove_all(directory); }

    std::size_t filesInDirectory() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(directory), {}));
    }

    fs::path directory;
    std::string target;
    aList saved;
};

TEST_F(DataFileSave, ReplacesTheFileAndKeepsItsPermissions)
{
    std::ofstream(target) << "old";
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(writeDataFile(target, saved, reportLog::error));
    EXPECT_EQ(readWholeFile(target), dataFileText(saved));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(filesInDirectory(), 1u);
    ASSERT_EQ(readDataFile(target, cranes, reportLog::error), DataFileResult::ok);
    EXPECT_EQ(dataFileText(cranes), dataFileText(saved));
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(DataFileSave, AFailedSaveLeavesTheOldFileWhole)
{
    std::ofstream(target) << "old contents";
    // A disk that fills up while writing: the size limit makes the writes fail.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit;
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    rlimit small = oldLimit;
    small.rlim_cur = 100;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool written = writeDataFile(target, saved, reportLog::error);
    ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);

    fs::create_directory(directory / "taken");
    EXPECT_FALSE(writeDataFile((directory / "taken").string(), saved, reportLog::error));
    EXPECT_FALSE(writeDataFile((directory / "missing" / "x.brx").string(), saved, reportLog::error));

    EXPECT_EQ(readWholeFile(target), "old contents");
    EXPECT_EQ(filesInDirectory(), 2u);  // no temporary file is left behind
    EXPECT_EQ(reportLog::errors, std::vector<std::string>(3, "Ошибка при записи файла данных"));
}

// What a save may replace: a regular file the user may write, through its links, keeping its
// permissions and owner; anything else stays as it was and the save reports the write error.
TEST_F(DataFileSave, ReplacesOnlyWhatTheUserMayWrite)
{
    const std::string text = dataFileText(saved);
    std::ofstream(target) << "read-only";
    ::chmod(target.c_str(), 0444);
    EXPECT_FALSE(writeDataFile(target, saved, reportLog::error));
    EXPECT_EQ(readWholeFile(target), "read-only");

    const std::string linked = (directory / "linked.brx").string();
    std::ofstream(linked) << "old";
    ::chmod(linked.c_str(), 0640);
    fs::create_symlink("linked.brx", directory / "link.brx");
    ASSERT_TRUE(writeDataFile((directory / "link.brx").string(), saved, reportLog::error));
    EXPECT_TRUE(fs::is_symlink(directory / "link.brx"));
    EXPECT_EQ(readWholeFile(linked), text);
    EXPECT_EQ(fs::status(linked).permissions(), fs::perms(0640));

    if (::geteuid() == 0) {   // files of another user: only the administrator can make them
        const uid_t other = 65534;
        const std::string theirs = (directory / "theirs.brx").string();
        const std::string shared = (directory / "shared.brx").string();
        std::ofstream(theirs) << "theirs";
        std::ofstream(shared) << "shared";
        ::chmod(shared.c_str(), 0666);
        ASSERT_EQ(::chown(theirs.c_str(), other, other), 0);
        ASSERT_EQ(::chown(shared.c_str(), other, other), 0);
        EXPECT_FALSE(writeDataFile(theirs, saved, reportLog::error)) << "only its owner may write it";
        EXPECT_EQ(readWholeFile(theirs), "theirs");
        ASSERT_TRUE(writeDataFile(shared, saved, reportLog::error));
        struct stat info;
        ASSERT_EQ(::stat(shared.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, other);
        EXPECT_EQ(info.st_mode & 07777, 0666u);
    }
    EXPECT_EQ(reportLog::errors,
              std::vector<std::string>(::geteuid() == 0 ? 2 : 1, "Ошибка при записи файла данных"));
}

// A save killed while it writes leaves its temporary file; the next save into that folder
// removes it, but not the one of a save still running.
TEST_F(DataFileSave, TemporariesOfKilledSavesDoNotPileUp)
{
    // A child that the file size limit stops in the middle of its save: killed, or halted alive.
    const auto saveStoppedInTheMiddle = [this](bool kill) {
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL);
            if (!kill)
                std::signal(SIGXFSZ, [](int) { ::raise(SIGSTOP); });
            rlimit limits{0, 0};   // no core file
            ::setrlimit(RLIMIT_CORE, &limits);
            limits = {100, 100};
            ::setrlimit(RLIMIT_FSIZE, &limits);
            writeDataFile(target, saved, reportLog::error);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, WUNTRACED);
        EXPECT_TRUE(kill ? WIFSIGNALED(status) : WIFSTOPPED(status));
        return child;
    };
    saveStoppedInTheMiddle(true);
    ASSERT_EQ(filesInDirectory(), 1u) << "the killed save's temporary file";
    ASSERT_TRUE(writeDataFile(target, saved, reportLog::error));
    EXPECT_EQ(filesInDirectory(), 1u) << "the target alone";

    const pid_t halted = saveStoppedInTheMiddle(false);
    EXPECT_EQ(filesInDirectory(), 2u);
    EXPECT_TRUE(writeDataFile(target, saved, reportLog::error));
    EXPECT_EQ(filesInDirectory(), 2u) << "the halted save's temporary file stays";
    ::kill(halted, SIGKILL);
    ::waitpid(halted, nullptr, 0);
    EXPECT_TRUE(writeDataFile(target, saved, reportLog::error));
    EXPECT_EQ(filesInDirectory(), 1u);
}

// The size of this process's data segment (VmData, which includes a sanitizer's reservations).
rlim_t dataSegmentBytes()
{
    std::ifstream status("/proc/self/status");
    std::string field;
    rlim_t kilobytes = 0;
    while (status >> field && field != "VmData:")
        status.ignore(4096, '\n');
    status >> kilobytes;
    return kilobytes * 1024;
}

// Only regular files are read: a FIFO without a writer and an endless device give the read
// error at once. Run in a child, so that a reader that waits or grows for ever ends the test.
TEST_F(DataFileSave, OnlyRegularFilesAreRead)
{
    const std::string fifo = (directory / "fifo.brx").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(20);
        rlimit memory{dataSegmentBytes() + (1u << 30), RLIM_INFINITY};   // 1 GB more at most
        ::setrlimit(RLIMIT_DATA, &memory);
        aList read;
        const bool refused = readDataFile(fifo, read, reportLog::error) == DataFileResult::readError &&
                             readDataFile("/dev/zero", read, reportLog::error) == DataFileResult::readError;
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

}  // namespace
