#include "link/codings.h"
#include "link/crc16.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

#include "data/timeText.h"
#include "tests/support/packetExamples.h"
#include "tests/support/timeZone.h"

namespace {

TEST(crc16, TableAndCheckValues)
{
    crc16 crc;
    EXPECT_EQ(crc.packetCrc(nullptr, 0), 0x1D0F);
    const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(crc.packetCrc(digits, 9), 0xE5CC);
    const uint8_t abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(crc.packetCrc(abc, 3), 0x8CDA);
    crc.compute(nullptr, 0);
    EXPECT_EQ(crc.value(), 0xFFFF);
    // The table terms T[1], T[2], T[255] show through single bytes fed into a zero register
    // (the register after a whole valid packet): byte i, then two zeros leave T[i].
    const std::pair<uint8_t, uint16_t> terms[] = {{1, 0x1021}, {2, 0x2042}, {255, 0x1EF0}};
    for (const auto& [i, term] : terms) {
        ASSERT_EQ(crc.compute(exampleIdentifyReply.data(), exampleIdentifyReply.size()), 0);
        crc.update(i);
        crc.update(0);
        EXPECT_EQ(crc.update(0), term);
    }
}

TEST(crc16, PacketExamplesEndWithTheirCrcAndCheckToZero)
{
    std::vector<std::vector<uint8_t>> packets = exampleRequests;
    packets.push_back(exampleIdentifyReply);
    crc16 crc;
    for (const auto& p : packets) {
        const size_t body = p.size() - 2;
        EXPECT_EQ(crc.packetCrc(p.data(), body), getBe16(p.data() + body));
        EXPECT_EQ(crc.compute(p.data(), p.size()), 0);
        std::vector<uint8_t> damaged = p;
        damaged[4] ^= 0x10;
        EXPECT_NE(crc.compute(damaged.data(), damaged.size()), 0);
    }
}

TEST(codings, ByteOrder)
{
    EXPECT_EQ(swap16(0x1234), 0x3412);
    EXPECT_EQ(swap32(0x12345678u), 0x78563412u);
    const uint8_t bytes[] = {0x12, 0xCC, 0x03, 0x00};
    EXPECT_EQ(getBe32(bytes), 315360000u);
    EXPECT_EQ(getBe24(bytes), 0x12CC03u);
    uint8_t out[4];
    putBe32(out, 315360000u);
    EXPECT_EQ(std::memcmp(out, bytes, 4), 0);
}

TEST(codings, BcdClockBothWays)
{
    ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    const uint8_t clock[7] = {0x56, 0x34, 0x12, 0x03, 0x24, 0x12, 0x08};  // Wed 24/12/2008 12:34:56
    const int32_t t = fromBcdClock(clock);
    EXPECT_EQ(dateTimeText(t), "24/12/2008 12:34:56");
    uint8_t back[7];
    toBcdClock(t, back);
    EXPECT_EQ(std::memcmp(back, clock, 7), 0);
    // The weekday byte is ignored when decoding; 7 stands for Sunday when encoding.
    uint8_t otherDay[7];
    std::memcpy(otherDay, clock, 7);
    otherDay[3] = 0x06;
    EXPECT_EQ(fromBcdClock(otherDay), t);
    toBcdClock(t + 4 * 86400, back);
    EXPECT_EQ(back[3], 0x07);
}

TEST(codings, ClocksAreStandardTimeInSummer)
{
    ScopedTimeZone zone("Europe/Berlin");
    SKIP_UNLESS_IN_ZONE(zone);
    const uint8_t july[7] = {0x00, 0x00, 0x12, 0x01, 0x01, 0x07, 0x24};
    // Decoded as standard time: noon CET is 13:00 local summer time.
    EXPECT_EQ(dateTimeText(fromBcdClock(july)), "01/07/2024 13:00:00");
}

TEST(codings, BinaryClockBothWays)
{
    ScopedTimeZone zone("UTC");
    SKIP_UNLESS_IN_ZONE(zone);
    const uint8_t clock[7] = {5, 4, 3, 2, 7, 3, 106};  // Tue 07/03/2006 03:04:05
    const int32_t t = fromBinaryClock(clock);
    EXPECT_EQ(dateTimeText(t), "07/03/2006 03:04:05");
    uint8_t back[7];
    toBinaryClock(t, back);
    EXPECT_EQ(std::memcmp(back, clock, 7), 0);
}

TEST(codings, Float24)
{
    const uint8_t one[3] = {0x01, 0x40, 0x00};
    EXPECT_EQ(decodeFloat24(one), 1.0f);
    const uint8_t minusOne[3] = {0x81, 0x40, 0x00};  // x = -1: 16384 * 2^-16
    EXPECT_EQ(decodeFloat24(minusOne), 0.25f);
    const uint8_t big[3] = {0x80, 0xFF, 0xFF};  // x = 128
    EXPECT_EQ(decodeFloat24(big), static_cast<float>(65535.0 * 0x1p113));
    const uint8_t zero[3] = {0x05, 0x00, 0x00};
    EXPECT_EQ(decodeFloat24(zero), 0.0f);
    const uint8_t tiny[3] = {0xFF, 0x00, 0x01};  // x = -127
    EXPECT_EQ(decodeFloat24(tiny), static_cast<float>(0x1p-142));
}

}  // namespace
