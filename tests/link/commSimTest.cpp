// The recorder link against the simulator's device in the link's own process, with the
// simulator's faults distorting its replies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/commands.h"
#include "link/comm.h"
#include "tests/support/inProcessSim.h"
#include "tests/support/reportLog.h"

namespace {

const char noAnswerText[] = "Устройство не работает или ошибка контрольной суммы при передаче";
const char wrongAnswerText[] = "Неверный ответ от устройства";

class commAgainstSim : public ::testing::Test {
protected:
    // Starts a recorder with the faults and opens the link on it.
    void start(std::vector<std::string> faults)
    {
        std::vector<std::string> options;
        for (const std::string& fault : faults)
            options.insert(options.end(), {"--fault", fault});
        sim = std::make_unique<inProcessSim>(options);
        link = std::make_unique<comm>(reportLog::status, reportLog::error, sim->transports);
        ASSERT_TRUE(link->openSerial("COM1", {}));
    }
    std::size_t transact(const std::vector<uint8_t>& request)
    {
        return link->transact(request.data(), request.size(), reply.data(), reply.size());
    }
    // The device identifier, or empty when the exchange failed.
    std::string identify()
    {
        const std::size_t n = transact({hostAddress, deviceAddress, 0, 0, Identify});
        return n == identifyReplyLength ? std::string(reinterpret_cast<char*>(&reply[5]), 8) : std::string();
    }

    reportLog::fresh log;
    std::unique_ptr<inProcessSim> sim;
    std::unique_ptr<comm> link;
    std::vector<uint8_t> reply = std::vector<uint8_t>(replyCapacity);
};

TEST_F(commAgainstSim, SilentDeviceGetsThreeAttemptsThenTheLinkGoesOn)
{
    start({"Identify:noreply@3"});
    EXPECT_EQ(identify(), "");
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{noAnswerText});
    reportLog::clear();
    EXPECT_EQ(identify(), "RP_v0001") << "the fourth request is answered at once";
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(commAgainstSim, DistortedRepliesAreRetriedAndReportedByTheWorstOutcome)
{
    // Two bad CRCs, then the good reply on the last attempt: nothing to report.
    start({"Identify:crc@2", "ReadClock:crc@1", "ReadClock:command@2", "ReadLoad:truncate=10@1",
           "ReadMemory:delay=1500@1", "ReadMemory:delay=2500@1"});
    EXPECT_EQ(identify(), "RP_v0001");
    EXPECT_TRUE(reportLog::errors.empty());

    // A wrong command code after a CRC error: the wrong answer is what the user reads.
    EXPECT_EQ(transact({hostAddress, deviceAddress, 0, 0, ReadClock}), 0u);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{wrongAnswerText});
    reportLog::clear();

    // A reply that stops after 10 of its 16 bytes: the attempt times out, the next one succeeds.
    EXPECT_EQ(transact({hostAddress, deviceAddress, 0, 0, ReadLoad}), readLoadReplyLength);

    // A device that answers after 1.5 s is within the time-out; one that answers after 2.5 s is
    // not, but its late reply answers the next attempt.
    const std::vector<uint8_t> memory = {hostAddress, deviceAddress, 0, 0, ReadMemory, 0, 0, 0x80};
    EXPECT_EQ(transact(memory), 7u + memoryImageSize);
    EXPECT_EQ(transact(memory), 7u + memoryImageSize);
    EXPECT_TRUE(reportLog::errors.empty());
    EXPECT_EQ(sim->transports.requests().size(), 3u + 3u + 2u + 1u + 2u);
}

TEST_F(commAgainstSim, HangUpMidExchangeClosesTheLinkUntilItIsOpenedAgain)
{
    start({"Identify:hangup=8@1"});
    EXPECT_EQ(identify(), "");
    const std::vector<std::string> expected = {"не могу принять данные: 5", noAnswerText};
    EXPECT_EQ(reportLog::errors, expected);
    reportLog::clear();
    EXPECT_EQ(identify(), "") << "the closed transport is not touched again";
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{noAnswerText});

    reportLog::clear();
    ASSERT_TRUE(link->openSerial("COM1", {}));
    EXPECT_EQ(identify(), "RP_v0001");
    EXPECT_TRUE(reportLog::errors.empty());
}

}  // namespace
