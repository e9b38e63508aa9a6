// The recorder link's framing, attempts and verdicts, against a scripted device in the link's own
// process: an attempt that times out costs no real time.
#include "link/comm.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "link/commands.h"
#include "sim/inProcessDevice.h"
#include "tests/support/packetExamples.h"
#include "tests/support/reportLog.h"

namespace {

using Bytes = std::vector<uint8_t>;

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

// The reply's bytes, the milliseconds before the first and between the others, and whether the
// device hangs up after them.
simReply replying(Bytes bytes, unsigned delayMs = 0, unsigned gapMs = 0, bool hangUp = false)
{
    simReply reply;
    reply.bytes = std::move(bytes);
    reply.delayMs = delayMs;
    reply.byteGapMs = gapMs;
    reply.hangUp = hangUp;
    return reply;
}

// A link on a device that answers the requests as the test's script says.
class commOnScript : public ::testing::Test {
protected:
    // The reply to request number index, counted from 0.
    using Script = std::function<simReply(int index, const Bytes& request)>;

    void play(Script script)
    {
        answer = std::move(script);
        ASSERT_TRUE(link.openSerial("COM2", {}));
    }
    std::size_t transact(const Bytes& request)
    {
        return link.transact(request.data(), request.size(), reply.data(), reply.size());
    }
    Bytes replyBytes(std::size_t n) const { return Bytes(reply.begin(), reply.begin() + n); }
    std::size_t requestCount() const { return device.requests().size(); }

    reportLog::fresh log;
    Script answer;
    inProcessDevice device{[this](const Bytes& request) {
        return answer(static_cast<int>(device.requests().size()) - 1, request);
    }};
    comm link{reportLog::status, reportLog::error, device};
    Bytes reply = Bytes(replyCapacity);
};

TEST_F(commOnScript, RequestsGoOutFramedAndRepliesComeBack)
{
    play([](int, const Bytes& request) {
        return replying(request[4] == Identify ? identifyReply : framed({0x01, 0x01, 0, 0, request[4]}));
    });
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
    EXPECT_EQ(device.requests(), exampleRequests);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(commOnScript, SilentDeviceGetsThreeAttempts)
{
    play([](int, const Bytes&) { return simReply{}; });
    EXPECT_EQ(transact(identify), 0u);
    EXPECT_EQ(requestCount(), 3u);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{noAnswerText});
}

TEST_F(commOnScript, ClearingAfterEachFailedAttemptDiscardsTheRestOfTheReply)
{
    // A length field below 4 ends the reply after its first 4 bytes, so a whole valid reply
    // stays queued behind it. Read by the next attempt it would pass as the answer; the
    // clearing after every failed attempt, the last included, discards it.
    const Bytes stale = framed({0x01, 0x01, 0x00, 0x00, Identify, 0xAA});
    play([&](int index, const Bytes&) {
        if (index < 3) {
            Bytes bytes = {0x01, 0x01, 0x00, 0x02};
            bytes.insert(bytes.end(), stale.begin(), stale.end());
            return replying(bytes);
        }
        return replying(framed({0x01, 0x01, 0x00, 0x00, Identify, 0xBB}));
    });
    EXPECT_EQ(transact(identify), 0u);
    EXPECT_EQ(requestCount(), 3u);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{noAnswerText});

    ASSERT_EQ(transact(identify), 8u);
    EXPECT_EQ(reply[5], 0xBB);
}

TEST_F(commOnScript, AReplyMayComeSlowlyButNotTooLate)
{
    play([](int index, const Bytes&) {
        switch (index) {
        case 0: return replying(identifyReply, 1500);        // 1.5 s before its first byte
        case 1: return replying(identifyReply, 1900, 150);   // 1.9 s, then a byte every 150 ms
        case 2: return replying(identifyReply, 2500);        // too late for its attempt...
        default: return simReply{};                          // ...but in time for the next
        }
    });
    EXPECT_EQ(transact(identify), identifyReply.size());
    EXPECT_EQ(transact(identify), identifyReply.size());
    EXPECT_EQ(requestCount(), 2u);
    EXPECT_EQ(transact(identify), identifyReply.size());
    EXPECT_EQ(requestCount(), 4u);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(commOnScript, SuccessAfterABadCrcReportsNothing)
{
    play([](int index, const Bytes&) { return replying(index == 0 ? withBadCrc(identifyReply) : identifyReply); });
    EXPECT_EQ(transact(identify), identifyReply.size());
    EXPECT_EQ(requestCount(), 2u);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(commOnScript, WorstFailureIsReported)
{
    const Bytes otherCommand = framed({0x01, 0x01, 0x00, 0x00, ReadClock});
    play([&](int index, const Bytes&) { return replying(index == 1 ? otherCommand : withBadCrc(identifyReply)); });
    EXPECT_EQ(transact(identify), 0u);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{wrongAnswerText});
    reportLog::clear();
    EXPECT_EQ(transact(identify), 0u);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{crcErrorText});
    EXPECT_EQ(requestCount(), 6u);
}

TEST_F(commOnScript, ReplyCarriesTheAddressBytesExchanged)
{
    const Bytes request = {0x01, 0x02, 0x00, 0x00, Identify};
    play([](int index, const Bytes&) {
        const uint8_t first = index == 0 ? 0x01 : 0x02;
        const uint8_t second = index == 0 ? 0x02 : 0x01;
        return replying(framed({first, second, 0x00, 0x00, Identify}));
    });
    EXPECT_EQ(transact(request), 7u);
    EXPECT_EQ(requestCount(), 2u);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(commOnScript, ReplyIsNeverWrittenBeyondCapacity)
{
    play([](int, const Bytes&) { return replying(identifyReply); });
    Bytes buffer(32, 0x5A);
    EXPECT_EQ(link.transact(identify.data(), identify.size(), buffer.data(), 14), 0u);
    EXPECT_EQ(Bytes(buffer.begin() + 14, buffer.end()), Bytes(18, 0x5A));
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{noAnswerText});
    EXPECT_EQ(requestCount(), 3u);

    // A reply that just fits is taken.
    EXPECT_EQ(link.transact(identify.data(), identify.size(), buffer.data(), 15), 15u);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 15), identifyReply);
}

TEST_F(commOnScript, HangUpClosesTheLinkUntilItIsOpenedAgain)
{
    play([](int index, const Bytes&) {
        return index == 0 ? replying(Bytes(identifyReply.begin(), identifyReply.begin() + 8), 0, 0, true)
                          : replying(identifyReply);
    });
    EXPECT_EQ(transact(identify), 0u);
    const std::vector<std::string> expected = {"не могу принять данные: 5", noAnswerText};
    EXPECT_EQ(reportLog::errors, expected);
    EXPECT_EQ(requestCount(), 1u) << "the closed transport is not touched again";

    reportLog::clear();
    EXPECT_EQ(transact(identify), 0u);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{noAnswerText});
    ASSERT_TRUE(link.openSerial("COM2", {}));
    EXPECT_EQ(transact(identify), identifyReply.size());
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
