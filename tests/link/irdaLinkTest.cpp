// A whole readout and a settings update through the link opened over infrared, against the
// simulator in the emulated air: the same operations as over the serial line.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "data/readout.h"
#include "link/codings.h"
#include "link/comm.h"
#include "link/commands.h"
#include "setup/settingsUpdate.h"
#include "tests/support/reportLog.h"
#include "tests/support/simProcess.h"
#include "tests/support/timeZone.h"

namespace {

const std::vector<std::string> collector = {"--collector", "2", "--seed", "7", "--clock",
                                            "2024-03-15 10:00:00"};

// What the readout found, crane by crane, that does not depend on when it ran.
std::string summary(const aList& cranes)
{
    std::ostringstream text;
    for (const aLink* node = cranes.head; node; node = node->next) {
        const devLink& crane = static_cast<const devLink&>(*node);
        text << crane.regNo << ' ' << crane.cyclesTotal << ' ' << crane.graphs.count() << '\n';
    }
    return text.str();
}

std::string readOver(simLine line, const std::vector<std::string>& options)
{
    simProcess sim(options, line);
    aList cranes;
    if (line == simLine::irda) {
        EXPECT_TRUE(sim.waitForAir());
        const scopedIrdaAir air(sim.air);
        comm link(reportLog::status, reportLog::error);
        EXPECT_TRUE(link.openIrda());
        EXPECT_TRUE(readDevice(link, cranes, computeRecorderEpoch(), reportLog::status, reportLog::error));
    } else {
        EXPECT_FALSE(sim.waitForTerminal().empty());
        const scopedComPort port(1, sim.link);
        comm link(reportLog::status, reportLog::error);
        EXPECT_TRUE(link.openSerial("COM1", {}));
        EXPECT_TRUE(readDevice(link, cranes, computeRecorderEpoch(), reportLog::status, reportLog::error));
    }
    return summary(cranes);
}

}  // namespace

TEST(irdaLink, ReadsACollectorAsOverTheSerialLine)
{
    const ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    const reportLog::fresh reports;
    const std::string serial = readOver(simLine::pty, collector);
    ASSERT_TRUE(reportLog::errors.empty());

    // A damaged reply on the way is retried after the drain, as on the serial line.
    std::vector<std::string> options = collector;
    options.insert(options.end(), {"--fault", "ReadGraph#3:crc@1"});
    const std::string infrared = readOver(simLine::irda, options);
    EXPECT_TRUE(reportLog::errors.empty()) << ::testing::PrintToString(reportLog::errors);
    EXPECT_EQ(infrared, serial);
    EXPECT_NE(infrared.find('\n'), infrared.rfind('\n'));   // two cranes
}

TEST(irdaLink, WritesTheSettingsAndTheClock)
{
    const ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    const reportLog::fresh reports;
    simProcess sim({"--clock", "2024-03-15 10:00:00"}, simLine::irda);
    ASSERT_TRUE(sim.waitForAir());
    const scopedIrdaAir air(sim.air);
    settingsFields fields;
    fields.regNo = "4711";
    fields.serNo = "SER1";
    fields.invNo = "INV1";
    fields.workSince = 1433136600;
    fields.regiSince = 1584262800;
    fields.fullCode = "220";
    fields.zeroCode = "20";
    fields.capacity = "25";
    fields.serviceLife = "10";
    fields.groupSelection = 4;
    fields.tripSelection = 109;
    fields.resetSelection = 99;
    {
        comm link(reportLog::status, reportLog::error);
        ASSERT_TRUE(link.openIrda());
        EXPECT_TRUE(writeSettings(link, fields, 1710500000, reportLog::status, reportLog::error,
                                  [](const settingsQuestion&) { return true; }));
    }
    EXPECT_TRUE(reportLog::errors.empty()) << ::testing::PrintToString(reportLog::errors);
    ASSERT_EQ(sim.terminate(), 0);
    const std::string dump = sim.dumpText();
    std::size_t writes = 0;
    for (std::size_t at = dump.find("\nwrite 0 "); at != std::string::npos;
         at = dump.find("\nwrite 0 ", at + 1))
        ++writes;
    EXPECT_EQ(writes, 64u);
    EXPECT_NE(dump.find("set-clock 1710500000 "), std::string::npos);
    // "4711" from address 0 of the memory.
    EXPECT_NE(dump.find("memory 0 0000 34 37 31 31"), std::string::npos);
}

TEST(irdaLink, ADeviceThatNeverGoesQuietCannotHoldTheLink)
{
    // Instead of its reply the device talks on for a minute. Each clearing between the attempts
    // ends a receive wait after the failed reply, and the exchange fails within seconds (else
    // the first clearing waits the minute out).
    const reportLog::fresh reports;
    simProcess sim({"--fault", "Identify:babble@1"}, simLine::irda);
    ASSERT_TRUE(sim.waitForAir());
    const scopedIrdaAir air(sim.air);
    comm link(reportLog::status, reportLog::error);
    ASSERT_TRUE(link.openIrda());
    const uint8_t identify[] = {hostAddress, deviceAddress, 0, 0, Identify};
    std::vector<uint8_t> reply(replyCapacity);
    EXPECT_EQ(link.transact(identify, sizeof identify, reply.data(), reply.size()), 0u);
    EXPECT_EQ(reportLog::errors,
              std::vector<std::string>{"Устройство не работает или ошибка контрольной суммы при передаче"});
}

TEST(irdaLink, AStopWhileTheLineIsClearedEndsTheExchange)
{
    // Every reply to a byte write has a bad CRC, and each attempt is followed by a two-second
    // drain. The user stops the link in the first drain (1 s in) or in the one after the last
    // attempt (5 s in): no further request goes out, and the stop is not reported as the
    // device's failure.
    for (const int stopAfter : {1, 5}) {
        SCOPED_TRACE(stopAfter);
        const reportLog::fresh reports;
        simProcess sim({"--fault", "WriteByte:crc"}, simLine::irda);
        ASSERT_TRUE(sim.waitForAir());
        const scopedIrdaAir air(sim.air);
        {
            comm link(reportLog::status, reportLog::error);
            ASSERT_TRUE(link.openIrda());
            const auto start = std::chrono::steady_clock::now();
            link.setCancelCheck([start, stopAfter] {
                return std::chrono::steady_clock::now() - start > std::chrono::seconds(stopAfter);
            });
            const uint8_t write[] = {hostAddress, deviceAddress, 0, 0, WriteByte, 0x00, 0x05, 0x41};
            std::vector<uint8_t> reply(replyCapacity);
            EXPECT_EQ(link.transact(write, sizeof write, reply.data(), reply.size()), 0u);
            EXPECT_TRUE(link.cancelled());
        }
        EXPECT_TRUE(reportLog::errors.empty()) << ::testing::PrintToString(reportLog::errors);
        ASSERT_EQ(sim.terminate(), 0);
        const std::string dump = sim.dumpText();
        std::size_t writes = 0;
        for (std::size_t at = dump.find("\nwrite 0 0005 41"); at != std::string::npos;
             at = dump.find("\nwrite 0 0005 41", at + 1))
            ++writes;
        EXPECT_EQ(writes, stopAfter == 1 ? 1u : 3u);
    }
}
