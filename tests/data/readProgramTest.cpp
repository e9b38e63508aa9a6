// The console reader brennix-read against the simulator on a pseudo-terminal, run as a user runs
// it, with the file named in Cyrillic letters and spaces.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data/dataFile.h"
#include "data/readout.h"
#include "link/codings.h"
#include "link/comm.h"
#include "tests/support/inProcessSim.h"
#include "tests/support/reportLog.h"
#include "tests/support/simProcess.h"
#include "tests/support/timeZone.h"

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> collector = {"--collector", "2", "--seed", "7", "--clock", "2024-03-15 10:00:00"};

// One run of the program with the arguments (each quoted for the shell), its port COM3 on the
// device at `line`; its standard output and error are kept.
struct programRun {
    programRun(const std::string& line, const std::string& folder, const std::vector<std::string>& arguments)
    {
        std::string command = "BRENNIX_COM3='" + line + "' " + BRENNIX_READ_PATH;
        for (const std::string& argument : arguments)
            command += " '" + argument + "'";
        command += " >'" + folder + "/out' 2>'" + folder + "/err'";
        const int result = std::system(command.c_str());
        status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
        out = readTextFile(folder + "/out");
        err = readTextFile(folder + "/err");
    }

    int status;
    std::string out, err;
};

TEST(readProgram, ReadsACollectorIntoTheDataFileTheReadoutMakes)
{
    const ScopedTimeZone zone("Europe/Berlin");
    SKIP_UNLESS_IN_ZONE(zone);
    simProcess sim(collector);
    ASSERT_FALSE(sim.waitForTerminal().empty());
    const std::string file = sim.dir + "/кран № 1.brx";
    const programRun run(sim.link, sim.dir, {"COM3", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("Обнаружен регистратор параметров \"VELM0001\"\n", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\nCчитывание данных успешно завершено\nЗаписано кранов: 2 в файл «" + file + "»\n"),
              std::string::npos)
        << run.out;

    // The same device read in this process gives the same file.
    const reportLog::fresh log;
    inProcessSim same(collector);
    aList cranes;
    {
        comm link(reportLog::status, reportLog::error, same.transports);
        ASSERT_TRUE(link.openSerial("COM3", {}));
        ASSERT_TRUE(readDevice(link, cranes, computeRecorderEpoch(), reportLog::status, reportLog::error));
    }
    EXPECT_EQ(readTextFile(file), dataFileText(cranes));
}

TEST(readProgram, FailuresKeepWhatWasReadAndEndWithStatusOne)
{
    std::vector<std::string> options = collector;
    options.insert(options.end(), {"--fault", "SelectSlot/slot=1:length=3"});
    simProcess sim(options);
    ASSERT_FALSE(sim.waitForTerminal().empty());
    const std::string file = sim.dir + "/part.brx";
    programRun run(sim.link, sim.dir, {"COM3", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "brennix-read: Ошибка при установке текущего слота: 1\n");
    aList cranes;
    EXPECT_EQ(readDataFile(file, cranes, reportLog::error), DataFileResult::ok);
    EXPECT_EQ(cranes.count(), 1u) << "the first slot's crane";

    // No device on the port: no crane, no file.
    const std::string none = sim.dir + "/none.brx";
    run = programRun(sim.dir + "/no-such-tty", sim.dir, {"COM3", none});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "brennix-read: не могу открыть последовательный порт: 2 (COM3)\n");
    EXPECT_FALSE(fs::exists(none));

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{}, {"COM3"}, {"--speed", "fast", "COM3", none}, {"--help"}}) {
        run = programRun(sim.link, sim.dir, wrong);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("Использование: brennix-read [--speed БИТ/С] ПОРТ ФАЙЛ.brx\n", 0), 0u);
        EXPECT_FALSE(fs::exists(none));
    }
}

}  // namespace
