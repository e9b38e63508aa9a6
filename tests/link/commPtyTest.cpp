// The recorder link on a real pseudo-terminal: what only a real serial line shows (its byte
// transparency, real time, a hang-up of the far end) and the failures of real opens.
#include "link/comm.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "link/commands.h"
#include "tests/support/packetExamples.h"
#include "tests/support/ptyPeer.h"
#include "tests/support/reportLog.h"
#include "tests/support/simProcess.h"

namespace {

using Bytes = std::vector<uint8_t>;
using std::chrono::milliseconds;

const char noAnswerText[] = "Устройство не работает или ошибка контрольной суммы при передаче";

const Bytes identify = {0x01, 0x01, 0x00, 0x00, Identify};
const Bytes& identifyReply = exampleIdentifyReply;

// A link on port "COM2", which the environment points at the slave end of a pseudo-terminal.
class commOverPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        reportLog::clear();
        setenv("BRENNIX_COM2", peer.slavePath().c_str(), 1);
    }
    void TearDown() override { unsetenv("BRENNIX_COM2"); }

    std::size_t transact(const Bytes& request)
    {
        return link.transact(request.data(), request.size(), reply.data(), reply.size());
    }
    Bytes replyBytes(std::size_t n) const { return Bytes(reply.begin(), reply.begin() + n); }

    ptyPeer peer;
    comm link{reportLog::status, reportLog::error};
    Bytes reply = Bytes(replyCapacity);
};

TEST_F(commOverPty, EveryByteValuePassesUnalteredBothWays)
{
    // Control characters, CR/LF, XON/XOFF, 0x7F and 0xFF would all be eaten or changed by a
    // terminal line left in text mode.
    Bytes request = {0x01, 0x01, 0x00, 0x00, ReadMemory};
    Bytes data;
    for (int value = 0; value < 256; ++value)
        data.push_back(static_cast<uint8_t>(value));
    request.insert(request.end(), data.begin(), data.end());
    peer.start([&](int, const Bytes&) {
        Bytes body = {0x01, 0x01, 0x00, 0x00, ReadMemory};
        body.insert(body.end(), data.rbegin(), data.rend());
        return ptyPeer::Answer{framed(body)};
    });
    ASSERT_TRUE(link.openSerial("COM2", {}));

    ASSERT_EQ(transact(request), 5u + 256 + 2);
    EXPECT_EQ(Bytes(reply.begin() + 5, reply.begin() + 5 + 256), Bytes(data.rbegin(), data.rend()));
    ASSERT_EQ(peer.requests().size(), 1u);
    EXPECT_EQ(peer.requests()[0], framed(request));
}

TEST_F(commOverPty, SlowReplyIsReadNormally)
{
    peer.start([](int, const Bytes&) { return ptyPeer::Answer{identifyReply, milliseconds(1500)}; });
    ASSERT_TRUE(link.openSerial("COM2", {}));

    EXPECT_EQ(transact(identify), identifyReply.size());
    EXPECT_EQ(peer.requests().size(), 1u);
    EXPECT_TRUE(reportLog::errors.empty());
}

// The descriptor the link holds on the slave end (the one that is not the peer's own).
int linkDescriptor(const ptyPeer& peer)
{
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const auto target = std::filesystem::read_symlink(entry.path(), error);
        const int fd = std::atoi(entry.path().filename().c_str());
        if (!error && target == peer.slavePath() && fd != peer.slaveFd())
            return fd;
    }
    return -1;
}

TEST_F(commOverPty, HangUpClosesTheLinkForGood)
{
    peer.start([](int, const Bytes&) {
        ptyPeer::Answer answer;
        answer.hangUp = true;
        return answer;
    });
    ASSERT_TRUE(link.openSerial("COM2", {}));
    const int linkFd = linkDescriptor(peer);
    ASSERT_GE(linkFd, 0);

    EXPECT_EQ(transact(identify), 0u);
    const std::vector<std::string> expected = {"не могу принять данные: 5", noAnswerText};
    EXPECT_EQ(reportLog::errors, expected);
    EXPECT_EQ(peer.requests().size(), 1u);

    // The released number now stands for a pipe: the link must neither write to it, nor purge
    // it, nor close it.
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    ASSERT_EQ(dup2(pipeEnds[1], linkFd), linkFd);
    reportLog::clear();
    EXPECT_EQ(transact(identify), 0u);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{noAnswerText});
    link.close();
    pollfd entry{pipeEnds[0], POLLIN, 0};
    EXPECT_EQ(poll(&entry, 1, 0), 0);
    EXPECT_NE(fcntl(linkFd, F_GETFD), -1);
    close(linkFd);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
}

TEST(comm, FailedOpensLeaveAClosedLink)
{
    reportLog::clear();
    const scopedVariable port("BRENNIX_COM3", "/nonexistent/tty");
    const scopedVariable noAir("BRENNIX_IRDA", "");
    comm link(reportLog::status, reportLog::error);
    link.close();  // never opened: nothing to do
    EXPECT_FALSE(link.openSerial("COM3", {}));
    EXPECT_EQ(link.connectionKind(), comm::serialKind);
    uint8_t reply[16];
    EXPECT_EQ(link.transact(identify.data(), identify.size(), reply, sizeof reply), 0u);
    link.close();
    std::vector<std::string> expected = {"не могу открыть последовательный порт: 2 (COM3)",
                                         noAnswerText};
    EXPECT_EQ(reportLog::errors, expected);

    reportLog::clear();
    EXPECT_FALSE(link.openIrda());
    EXPECT_EQ(link.connectionKind(), comm::irdaKind);
    EXPECT_EQ(link.transact(identify.data(), identify.size(), reply, sizeof reply), 0u);
    expected = {"ошибка функции socket(): ", noAnswerText};
    EXPECT_EQ(reportLog::errors, expected);
}

// The real simulator on its own pseudo-terminal.
class commAgainstSimOnPty : public ::testing::Test {
protected:
    // Starts a recorder with the faults and opens the link on it.
    void start(std::vector<std::string> faults)
    {
        std::vector<std::string> options;
        for (const std::string& fault : faults)
            options.insert(options.end(), {"--fault", fault});
        sim = std::make_unique<simProcess>(options);
        ASSERT_FALSE(sim->waitForTerminal().empty()) << "the simulator came up";
        ASSERT_TRUE(link.openSerial(sim->link, {}));
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

TEST_F(commAgainstSimOnPty, ACancelEndsTheWaitForASilentDevice)
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

TEST_F(commAgainstSimOnPty, HangUpMidExchangeClosesTheLinkUntilItIsOpenedAgain)
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
    ASSERT_TRUE(link.openSerial(sim->link, {}));
    EXPECT_EQ(identify(), "RP_v0001");
    EXPECT_TRUE(reportLog::errors.empty());
}

}  // namespace
