// The recorder link against the real simulator on a real pseudo-terminal, with the simulator's
// faults distorting its replies. Each silent attempt costs the link's two-second time-out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/commands.h"
#include "link/comm.h"
#include "tests/support/reportLog.h"
#include "tests/support/simProcess.h"

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
        sim = std::make_unique<simProcess>(options);
        ASSERT_FALSE(sim->waitForTerminal().empty()) << "the simulator came up";
        ASSERT_TRUE(link.openSerial(sim->link));
    }
    // The device identifier, or empty when the exchange failed.
    std::string identify()
    {
        const uint8_t request[] = {hostAddress, deviceAddress, 0, 0, Identify};
        const std::size_t n = link.transact(request, sizeof request, reply.data(), reply.size());
        return n == identifyReplyLength ? std::string(reinterpret_cast<char*>(&reply[5]), 8) : std::string();
    }

    reportLog::fresh log;
    std::unique_ptr<simProcess> sim;
    comm link{reportLog::status, reportLog::error};
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
           "ReadMemory:delay=1500@1"});
    EXPECT_EQ(identify(), "RP_v0001");
    EXPECT_TRUE(reportLog::errors.empty());

    // A wrong command code after a CRC error: the wrong answer is what the user reads.
    const uint8_t clock[] = {hostAddress, deviceAddress, 0, 0, ReadClock};
    EXPECT_EQ(link.transact(clock, sizeof clock, reply.data(), reply.size()), 0u);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{wrongAnswerText});
    reportLog::clear();

    // A reply that stops after 10 of its 16 bytes: the attempt times out, the next one succeeds.
    const uint8_t load[] = {hostAddress, deviceAddress, 0, 0, ReadLoad};
    EXPECT_EQ(link.transact(load, sizeof load, reply.data(), reply.size()), readLoadReplyLength);

    // A device that answers after 1.5 s is within the time-out.
    const uint8_t memory[] = {hostAddress, deviceAddress, 0, 0, ReadMemory, 0, 0, 0x80};
    EXPECT_EQ(link.transact(memory, sizeof memory, reply.data(), reply.size()), 7u + memoryImageSize);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(commAgainstSim, ACancelEndsTheWaitForASilentDevice)
{
    start({"Identify:noreply"});
    // The user stops the operation a moment into the two-second wait of the first attempt.
    int asked = 0;
    link.setCancelCheck([&asked] { return ++asked >= 3; });
    EXPECT_EQ(identify(), "");
    EXPECT_TRUE(link.cancelled());
    EXPECT_EQ(asked, 3) << "asked at the start and every slice of the wait, until it said stop";
    EXPECT_TRUE(reportLog::errors.empty()) << "no further attempt, no text";
    EXPECT_EQ(identify(), "") << "nothing goes out any more";
    EXPECT_EQ(asked, 3);
}

TEST_F(commAgainstSim, HangUpMidExchangeClosesTheLinkUntilItIsOpenedAgain)
{
    start({"Identify:hangup=8@1"});
    EXPECT_EQ(identify(), "");
    ASSERT_FALSE(reportLog::errors.empty());
    EXPECT_EQ(reportLog::errors.back(), noAnswerText);
    reportLog::clear();
    EXPECT_EQ(identify(), "") << "the closed transport is not touched again";
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{noAnswerText});

    // The simulator offers a fresh terminal under the same name: opening it again works.
    ASSERT_EQ(sim->waitForTerminal(2).size(), 2u);
    reportLog::clear();
    ASSERT_TRUE(link.openSerial(sim->link));
    EXPECT_EQ(identify(), "RP_v0001");
    EXPECT_TRUE(reportLog::errors.empty());
}

}  // namespace
