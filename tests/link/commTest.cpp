#include "link/comm.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
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
const char crcErrorText[] = "Ошибка контрольной суммы при приеме";
const char wrongAnswerText[] = "Неверный ответ от устройства";

const Bytes identify = {0x01, 0x01, 0x00, 0x00, Identify};
const Bytes& identifyReply = exampleIdentifyReply;

Bytes withBadCrc(Bytes packet)
{
    packet.back() ^= 0x01;
    return packet;
}

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

TEST_F(commOverPty, RequestsGoOutFramedAndRepliesComeBack)
{
    peer.start([](int, const Bytes& request) {
        return ptyPeer::Answer{request[4] == Identify ? identifyReply
                                                      : framed({0x01, 0x01, 0, 0, request[4]})};
    });
    ASSERT_TRUE(link.openSerial("COM2"));
    EXPECT_EQ(link.connectionKind(), comm::serialKind);

    ASSERT_EQ(transact(identify), identifyReply.size());
    EXPECT_EQ(replyBytes(identifyReply.size()), identifyReply);
    // The length field of a template does not matter: transact writes it.
    EXPECT_EQ(transact({0x01, 0x01, 0x55, 0x55, ReadClock}), 7u);
    EXPECT_EQ(transact({0x01, 0x01, 0x00, 0x00, ReadMemory, 0x00, 0x00, 0x80}), 7u);
    EXPECT_EQ(transact({0x01, 0x01, 0x00, 0x00, WriteByte, 0x00, 0x05, 0x41}), 7u);
    EXPECT_EQ(transact({0x01, 0x01, 0x00, 0x00, ReadGraph, 0x00}), 7u);
    EXPECT_EQ(transact({0x01, 0x01, 0x00, 0x00, SelectSlot, 0x00, 0x00}), 7u);

    // A request without its whole header cannot be framed and does not go out.
    EXPECT_EQ(link.transact(identify.data(), 4, reply.data(), reply.size()), 0u);
    EXPECT_EQ(peer.requests(), exampleRequests);
    EXPECT_TRUE(reportLog::errors.empty());
}

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
    ASSERT_TRUE(link.openSerial("COM2"));

    ASSERT_EQ(transact(request), 5u + 256 + 2);
    EXPECT_EQ(Bytes(reply.begin() + 5, reply.begin() + 5 + 256), Bytes(data.rbegin(), data.rend()));
    ASSERT_EQ(peer.requests().size(), 1u);
    EXPECT_EQ(peer.requests()[0], framed(request));
}

TEST_F(commOverPty, SilentDeviceGetsThreeAttempts)
{
    peer.start([](int, const Bytes&) { return ptyPeer::Answer{}; });
    ASSERT_TRUE(link.openSerial("COM2"));

    EXPECT_EQ(transact(identify), 0u);
    EXPECT_EQ(peer.requests().size(), 3u);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{noAnswerText});
}

TEST_F(commOverPty, ClearingAfterEachFailedAttemptDiscardsTheRestOfTheReply)
{
    // A length field below 4 ends the reply after its first 4 bytes, so a whole valid reply
    // stays queued behind it. Read by the next attempt it would pass as the answer; the
    // clearing after every failed attempt, the last included, discards it.
    const Bytes stale = framed({0x01, 0x01, 0x00, 0x00, Identify, 0xAA});
    peer.start([&](int index, const Bytes&) {
        if (index < 3) {
            Bytes bytes = {0x01, 0x01, 0x00, 0x02};
            bytes.insert(bytes.end(), stale.begin(), stale.end());
            return ptyPeer::Answer{bytes};
        }
        return ptyPeer::Answer{framed({0x01, 0x01, 0x00, 0x00, Identify, 0xBB})};
    });
    ASSERT_TRUE(link.openSerial("COM2"));

    EXPECT_EQ(transact(identify), 0u);
    EXPECT_EQ(peer.requests().size(), 3u);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{noAnswerText});

    ASSERT_EQ(transact(identify), 8u);
    EXPECT_EQ(reply[5], 0xBB);
}

TEST_F(commOverPty, SuccessAfterABadCrcReportsNothing)
{
    peer.start([](int index, const Bytes&) {
        return ptyPeer::Answer{index == 0 ? withBadCrc(identifyReply) : identifyReply};
    });
    ASSERT_TRUE(link.openSerial("COM2"));

    EXPECT_EQ(transact(identify), identifyReply.size());
    EXPECT_EQ(peer.requests().size(), 2u);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(commOverPty, WorstFailureIsReported)
{
    const Bytes otherCommand = framed({0x01, 0x01, 0x00, 0x00, ReadClock});
    peer.start([&](int index, const Bytes&) {
        return ptyPeer::Answer{index == 1 ? otherCommand : withBadCrc(identifyReply)};
    });
    ASSERT_TRUE(link.openSerial("COM2"));

    EXPECT_EQ(transact(identify), 0u);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{wrongAnswerText});
    reportLog::clear();
    EXPECT_EQ(transact(identify), 0u);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{crcErrorText});
    EXPECT_EQ(peer.requests().size(), 6u);
}

TEST_F(commOverPty, ReplyCarriesTheAddressBytesExchanged)
{
    const Bytes request = {0x01, 0x02, 0x00, 0x00, Identify};
    peer.start([](int index, const Bytes&) {
        const uint8_t first = index == 0 ? 0x01 : 0x02;
        const uint8_t second = index == 0 ? 0x02 : 0x01;
        return ptyPeer::Answer{framed({first, second, 0x00, 0x00, Identify})};
    });
    ASSERT_TRUE(link.openSerial("COM2"));

    EXPECT_EQ(transact(request), 7u);
    EXPECT_EQ(peer.requests().size(), 2u);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(commOverPty, SlowReplyIsReadNormally)
{
    peer.start([](int, const Bytes&) { return ptyPeer::Answer{identifyReply, milliseconds(1500)}; });
    ASSERT_TRUE(link.openSerial("COM2"));

    EXPECT_EQ(transact(identify), identifyReply.size());
    EXPECT_EQ(peer.requests().size(), 1u);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(commOverPty, ReplyIsNeverWrittenBeyondCapacity)
{
    peer.start([](int, const Bytes&) { return ptyPeer::Answer{identifyReply}; });
    ASSERT_TRUE(link.openSerial("COM2"));

    Bytes buffer(32, 0x5A);
    EXPECT_EQ(link.transact(identify.data(), identify.size(), buffer.data(), 14), 0u);
    EXPECT_EQ(Bytes(buffer.begin() + 14, buffer.end()), Bytes(18, 0x5A));
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{noAnswerText});
    EXPECT_EQ(peer.requests().size(), 3u);

    // A reply that just fits is taken.
    EXPECT_EQ(link.transact(identify.data(), identify.size(), buffer.data(), 15), 15u);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 15), identifyReply);
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
    ASSERT_TRUE(link.openSerial("COM2"));
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
    EXPECT_FALSE(link.openSerial("COM3"));
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

void reportToStderr(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

TEST(commDeathTest, TransactWithoutOpenEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    comm link(reportToStderr, reportToStderr);
    uint8_t reply[16];
    EXPECT_EXIT(link.transact(identify.data(), identify.size(), reply, sizeof reply),
                ::testing::ExitedWithCode(1), "Неизвестный тип соединения: -1");
}

}  // namespace
