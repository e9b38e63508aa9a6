#include "sim/device.h"

#include <gtest/gtest.h>

#include "link/codings.h"
#include "sim/packet.h"
#include "tests/sim/simTestSupport.h"
#include "tests/support/timeZone.h"

using namespace simtest;

namespace {

class simDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { SKIP_UNLESS_IN_ZONE(zone); }
    ScopedTimeZone zone{"Europe/Moscow"};
    int32_t hostTime = 1700000000;

    simDevice device(deviceKind kind)
    {
        return simDevice(smallContent(kind), faultPlan(), [this] { return hostTime; });
    }
};

TEST_F(simDeviceTest, RecorderAnswersEachCommandWithItsLayout)
{
    simDevice d = device(deviceKind::recorder);
    const bytes identify = d.answer(request(0x09)).bytes;
    EXPECT_EQ(identify, (bytes{0x01, 0x01, 0x00, 0x0F, 0x09, 0x52, 0x50, 0x5F, 0x76, 0x30, 0x30, 0x30, 0x31, 0x9D, 0xD2}));

    const bytes memory = d.answer(request(0x03, {0x00, 0x00, 0x80})).bytes;
    expectReply(memory, 0x03, 135);
    EXPECT_EQ(data(memory), d.content().slots[0].memory);
    expectReply(d.answer(request(0x03, {0x00, 0x00, 0x40})).bytes, 0x03, 71);

    const bytes write = d.answer(request(0x04, {0x00, 0x05, 0x41})).bytes;
    expectReply(write, 0x04, 10);
    EXPECT_EQ(data(write), (bytes{0x00, 0x05, 0x41}));

    const bytes load = d.answer(request(0x06)).bytes;
    expectReply(load, 0x06, 16);
    EXPECT_EQ(load[5], 87);

    const bytes graph = d.answer(request(0x07, {0})).bytes;
    expectReply(graph, 0x07, 7 + 2 + 7 + 2 + 2 * 3);
    EXPECT_EQ(getBe16(&graph[5]), 9 + 2 * 3);   // L: clock, two value bytes, two 3-byte points
    EXPECT_EQ(fromBcdClock(&graph[7]), start - 3600);
    EXPECT_EQ((bytes{graph[14], graph[15]}), (bytes{0x00, 0x85}));
    EXPECT_EQ(bytes(graph.begin() + 16, graph.end() - 2), (bytes{0, 4, 0x01, 0, 6, 0xA0}));

    const bytes clock = d.answer(request(0x01)).bytes;
    expectReply(clock, 0x01, 14);
    EXPECT_EQ(fromBcdClock(&clock[5]), start);
    EXPECT_EQ(clock[8], 5);   // a Friday

    expectReply(d.answer(request(0x02, {0x00, 0x30, 0x12, 0x01, 0x01, 0x04, 0x24})).bytes, 0x02, 7);
}

TEST_F(simDeviceTest, CollectorServesTheSelectedSlot)
{
    simDevice d = device(deviceKind::collector);
    EXPECT_EQ(data(d.answer(request(0x09)).bytes), (bytes{'V', 'E', 'L', 'M', '0', '0', '0', '1'}));
    const bytes count = d.answer(request(0x23)).bytes;
    expectReply(count, 0x23, 9);
    EXPECT_EQ(getBe16(&count[5]), 2);

    const bytes select = d.answer(request(0x3E, {0x00, 0x01})).bytes;
    expectReply(select, 0x3E, 25);
    EXPECT_EQ(getBe16(&select[5]), 1);
    EXPECT_EQ(std::string(select.begin() + 7, select.begin() + 19), std::string("K-2\0\0\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(recorderTime(getBe32(&select[19]), computeRecorderEpoch()), start - 86400);
    EXPECT_EQ(d.answer(request(0x03, {0x00, 0x00, 0x80})).bytes[5 + 38], 210);

    // A slot that does not exist is echoed as 0xFFFF and the selection stays.
    const bytes missing = d.answer(request(0x3E, {0x00, 0x07})).bytes;
    expectReply(missing, 0x3E, 25);
    EXPECT_EQ(getBe16(&missing[5]), 0xFFFF);
    EXPECT_EQ(d.selectedSlot(), 1u);
    d.answer(request(0x04, {0x00, 0x00, 0x55}));
    EXPECT_EQ(d.content().slots[1].memory[0], 0x55);
    EXPECT_EQ(d.content().slots[0].memory[0], 'R');
}

TEST_F(simDeviceTest, RequestsItCannotParseGetNoReply)
{
    simDevice d = device(deviceKind::recorder);
    EXPECT_TRUE(d.answer(request(0x23)).bytes.empty());              // collector command
    EXPECT_TRUE(d.answer(request(0x3E, {0, 0})).bytes.empty());
    EXPECT_TRUE(d.answer(request(0x55)).bytes.empty());              // unknown command
    EXPECT_TRUE(d.answer(request(0x03, {0x00, 0x00})).bytes.empty()); // too short
    EXPECT_TRUE(d.answer(request(0x02, {0x00, 0x30})).bytes.empty());
    bytes damaged = request(0x09);
    damaged.back() ^= 0x40;
    EXPECT_TRUE(d.answer(damaged).bytes.empty());
    EXPECT_FALSE(d.lastClockSet().has_value());
}

TEST_F(simDeviceTest, RequestsItCannotServeGetAReplyWithoutData)
{
    simDevice d = device(deviceKind::recorder);
    expectReply(d.answer(request(0x03, {0x00, 0x70, 0x20})).bytes, 0x03, 7);   // past byte 127
    expectReply(d.answer(request(0x04, {0x00, 0x80, 0x01})).bytes, 0x04, 7);
    EXPECT_TRUE(d.writes().empty());
    expectReply(d.answer(request(0x07, {1})).bytes, 0x07, 7);    // only graph 0 is stored
    expectReply(d.answer(request(0x07, {30})).bytes, 0x07, 7);   // no overload graph
    expectReply(d.answer(request(0x07, {60})).bytes, 0x07, 7);

    simContent empty;
    empty.kind = deviceKind::collector;
    simDevice none(empty, faultPlan());
    expectReply(none.answer(request(0x03, {0x00, 0x00, 0x80})).bytes, 0x03, 7);
    EXPECT_EQ(getBe16(&none.answer(request(0x23)).bytes[5]), 0);
}

TEST_F(simDeviceTest, WrittenBytesAreReadBack)
{
    simDevice d = device(deviceKind::recorder);
    bytes block(64);
    for (unsigned a = 0; a < 64; ++a) {
        block[a] = static_cast<uint8_t>(a * 7 + 3);
        expectReply(d.answer(request(0x04, {0x00, static_cast<uint8_t>(a), block[a]})).bytes, 0x04, 10);
    }
    EXPECT_EQ(data(d.answer(request(0x03, {0x00, 0x00, 0x40})).bytes), block);
    ASSERT_EQ(d.writes().size(), 64u);
    EXPECT_EQ(d.writes()[63].address, 63);
    EXPECT_EQ(d.writes()[63].value, block[63]);
}

TEST_F(simDeviceTest, SetClockSetsTheRunningDeviceClock)
{
    simDevice d = device(deviceKind::recorder);
    hostTime += 100;
    EXPECT_EQ(fromBcdClock(&d.answer(request(0x01)).bytes[5]), start + 100);

    // 12:30:00 on Monday 01/04/2024, then five seconds pass.
    const bytes set = {0x00, 0x30, 0x12, 0x01, 0x01, 0x04, 0x24};
    d.answer(request(0x02, set));
    hostTime += 5;
    const bytes clock = d.answer(request(0x01)).bytes;
    EXPECT_EQ(data(clock), (bytes{0x05, 0x30, 0x12, 0x01, 0x01, 0x04, 0x24}));
    ASSERT_TRUE(d.lastClockSet().has_value());
    EXPECT_EQ(bytes(d.lastClockSet()->begin(), d.lastClockSet()->end()), set);
}

TEST_F(simDeviceTest, TheClockKeepsItsFieldsInSummerTime)
{
    ScopedTimeZone berlin("Europe/Berlin");
    SKIP_UNLESS_IN_ZONE(berlin);
    simDevice d = device(deviceKind::recorder);
    // 12:30:00 on Monday 01/07/2024, summer time in Berlin; the clock ticks on from its fields.
    d.answer(request(0x02, {0x00, 0x30, 0x12, 0x01, 0x01, 0x07, 0x24}));
    hostTime += 3600;
    EXPECT_EQ(data(d.answer(request(0x01)).bytes), (bytes{0x00, 0x30, 0x13, 0x01, 0x01, 0x07, 0x24}));
}

TEST(requestFramer, CutsTheStreamIntoFrames)
{
    requestFramer framer;
    const bytes identify = request(0x09), memory = request(0x03, {0, 0, 0x80});
    bytes stream = identify;
    stream.insert(stream.end(), memory.begin(), memory.end());
    std::vector<bytes> frames;
    for (const uint8_t b : stream)
        if (auto f = framer.push(b, 0))
            frames.push_back(*f);
    EXPECT_EQ(frames, (std::vector<bytes>{identify, memory}));

    // Bytes whose length field cannot be a request are skipped until a frame lines up.
    std::optional<bytes> last;
    for (const uint8_t b : bytes{0xFF, 0xFF, 0xFF, 0xFF})
        last = framer.push(b, 10);
    for (const uint8_t b : identify)
        last = framer.push(b, 10);
    EXPECT_EQ(last, identify);
}

TEST(requestFramer, SilenceDropsAPartialFrame)
{
    requestFramer framer;
    const bytes identify = request(0x09);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(framer.push(identify[i], 1000));
    std::optional<bytes> last;
    for (const uint8_t b : identify)
        last = framer.push(b, 1000 + requestFramer::silenceMs + 1);
    EXPECT_EQ(last, identify);

    // Without the pause the same bytes would have continued the partial frame.
    requestFramer again;
    for (int i = 0; i < 4; ++i)
        again.push(identify[i], 1000);
    last.reset();
    for (const uint8_t b : identify)
        if (auto f = again.push(b, 1100))
            last = f;
    EXPECT_NE(last, identify);
}

}  // namespace
