#include "data/readout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "data/timeText.h"
#include "link/codings.h"
#include "tests/support/timeZone.h"

namespace {

std::vector<uint8_t> blankImage() { return std::vector<uint8_t>(128, 0); }

TEST(decodeMemoryImage, TextsDatesAndCounters)
{
    ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    auto image = blankImage();
    std::memcpy(image.data(), "AB123456", 8);      // 8 characters: no terminator
    std::memcpy(image.data() + 8, "Z7\0junk", 7);  // cut at the first NUL
    std::memcpy(image.data() + 16, "\xC8\xED\xE2", 3);
    const uint8_t workSince[7] = {0, 30, 8, 1, 15, 3, 105};  // 15/03/2005 08:30:00
    std::memcpy(image.data() + 24, workSince, 7);
    const uint8_t regiSince[7] = {0, 0, 12, 1, 1, 12, 108};  // 01/12/2008 12:00:00
    std::memcpy(image.data() + 31, regiSince, 7);
    putBe32(image.data() + 41, 315360000u);
    image[45] = 10;
    image[46] = 5;
    image[47] = 20;
    image[48] = 200;
    image[51] = 105;
    image[52] = 90;
    image[64] = 0x01;  // cyclesTotal 0x010203
    image[65] = 0x02;
    image[66] = 0x03;
    for (int i = 0; i < 5; ++i)
        image[67 + 3 * i + 2] = static_cast<uint8_t>(i + 1);
    putBe32(image.data() + 86, 5400);        // 1.5 hours
    putBe32(image.data() + 86 + 20, 36000);  // mechanism 6: 10 hours
    const uint8_t cube[3] = {0x01, 0x40, 0x00};
    std::memcpy(image.data() + 114, cube, 3);
    image[117] = 7;
    image[118] = 3;

    devLink crane;
    decodeMemoryImage(image.data(), crane, true);
    EXPECT_EQ(crane.regNo, "AB123456");
    EXPECT_EQ(crane.serNo, "Z7");
    EXPECT_EQ(crane.invNo, "\xC8\xED\xE2");
    EXPECT_EQ(dateTimeText(crane.workSince), "15/03/2005 08:30:00");
    EXPECT_EQ(dateTimeText(crane.regiSince), "01/12/2008 12:00:00");
    EXPECT_EQ(crane.workMaxSeconds, 315360000u);
    EXPECT_EQ(crane.workMaxYears, 10);
    EXPECT_EQ(crane.workMaxGrp, 5);
    EXPECT_EQ(crane.adcZS, 20);
    EXPECT_EQ(crane.adcFZS, 200);
    EXPECT_EQ(crane.ogpH, 105);
    EXPECT_EQ(crane.ogpL, 90);
    EXPECT_EQ(crane.cyclesTotal, 0x010203u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(crane.cycles[i], static_cast<uint32_t>(i + 1));
    EXPECT_EQ(crane.hourCounter[0], 1.5f);
    EXPECT_EQ(crane.hourCounter[5], 10.0f);
    EXPECT_EQ(crane.cubeSum, 1.0f);
    EXPECT_EQ(crane.cntN, 7);
    EXPECT_EQ(crane.cntE, 3);

    devLink fromSlot;
    fromSlot.regNo = "slot";
    decodeMemoryImage(image.data(), fromSlot, false);
    EXPECT_EQ(fromSlot.regNo, "slot");  // a collector slot names the crane itself
}

TEST(decodeMemoryImage, CapacityByteAndLoadSum)
{
    struct Case {
        uint8_t capacity;
        float tonnes;
    };
    for (const Case c : {Case{100, 100}, Case{127, 127}, Case{128, 10}, Case{255, 1280}}) {
        auto image = blankImage();
        image[40] = c.capacity;
        image[38] = 200;
        putBe32(image.data() + 110, 1000);
        devLink crane;
        decodeMemoryImage(image.data(), crane, true);
        EXPECT_EQ(crane.maxWeight, c.tonnes) << int{c.capacity};
        // The load sum is scaled by the undecoded capacity byte over the full-load code.
        EXPECT_EQ(crane.weightTotal, 1000.0f * c.capacity / 200) << int{c.capacity};
    }
    auto image = blankImage();
    image[40] = 50;
    image[38] = 0;  // no full-load code: nothing to scale by
    putBe32(image.data() + 110, 1000);
    devLink crane;
    decodeMemoryImage(image.data(), crane, true);
    EXPECT_EQ(crane.weightTotal, 0.0f);
}

TEST(decodeMemoryImage, FullStoresHoldThirtyGraphs)
{
    auto image = blankImage();
    image[117] = 4;
    image[118] = 2;
    image[119] = 0x01;
    devLink crane;
    decodeMemoryImage(image.data(), crane, true);
    EXPECT_EQ(crane.cntN, 30);
    EXPECT_EQ(crane.cntE, 2);
    image[119] = 0x03;
    decodeMemoryImage(image.data(), crane, true);
    EXPECT_EQ(crane.cntN, 30);
    EXPECT_EQ(crane.cntE, 30);
}

TEST(decodeReplies, FixedTextsEndAtTheirFieldsWithoutATerminator)
{
    ScopedTimeZone zone("UTC");
    SKIP_UNLESS_IN_ZONE(zone);
    // Identify: eight characters, then the CRC, which is no part of the identifier.
    const std::vector<uint8_t> identify = {0x01, 0x01, 0x00, 0x0F, 0x09, 'V', 'E', 'L', 'M',
                                           '0', '0', '0', '1', 0x41, 0x42};
    EXPECT_EQ(decodeIdentifier(identify.data()), "VELM0001");

    const std::vector<uint8_t> slotCount = {0x01, 0x01, 0x00, 0x09, 0x23, 0x01, 0x02, 0x43, 0x44};
    EXPECT_EQ(decodeSlotCount(slotCount.data()), 0x0102);

    // SelectSlot: the slot echoed, a registration number filling all its 12 bytes, the readout
    // time as a recorder second counter.
    std::vector<uint8_t> select = {0x01, 0x01, 0x00, 0x19, 0x3E, 0x00, 0x07};
    for (const char c : std::string("KP-000000001"))
        select.push_back(static_cast<uint8_t>(c));
    select.resize(25, 0x45);
    putBe32(select.data() + 19, 3600);
    devLink crane;
    const int32_t epoch = computeRecorderEpoch();
    EXPECT_EQ(decodeSlotSelection(select.data(), epoch, crane), 7);
    EXPECT_EQ(crane.regNo, "KP-000000001");
    EXPECT_EQ(crane.timeStamp, recorderTime(3600, epoch));
    EXPECT_EQ(crane.name, "KP-000000001 " + dateTimeText(recorderTime(3600, epoch)));
}

// A ReadGraph reply: header, L, BCD clock, two value bytes, the 3-byte points, two CRC bytes
// (their value does not matter to the decoder).
std::vector<uint8_t> graphReply(uint16_t recordLength, std::vector<uint8_t> points, uint8_t first = 0x81,
                                uint8_t second = 0x82)
{
    std::vector<uint8_t> reply = {0x01, 0x01, 0, 0, 0x07, 0, 0, 0x00, 0x30, 0x10, 0x02, 0x24, 0x12, 0x08};
    putBe16(reply.data() + 5, recordLength);
    reply.push_back(first);
    reply.push_back(second);
    reply.insert(reply.end(), points.begin(), points.end());
    reply.push_back(0xAA);
    reply.push_back(0xBB);
    putBe16(reply.data() + 2, static_cast<uint16_t>(reply.size()));
    return reply;
}

TEST(decodeGraphRecord, PointCountFromTheRecordLength)
{
    ScopedTimeZone zone("UTC");
    SKIP_UNLESS_IN_ZONE(zone);
    const auto l9 = graphReply(9, {});
    std::unique_ptr<cycLink> two(decodeGraphRecord(l9.data(), l9.size()));
    EXPECT_EQ(two->Npoints, 2);
    EXPECT_EQ(dateTimeText(two->timeStamp), "24/12/2008 10:30:00");
    EXPECT_FALSE(two->worthKeeping());

    const auto l15 = graphReply(15, {0x00, 0x05, 0x83, 0x00, 0x09, 0x84});
    std::unique_ptr<cycLink> four(decodeGraphRecord(l15.data(), l15.size()));
    ASSERT_EQ(four->Npoints, 4);
    const std::vector<uint8_t> expected = {0, 0, 0x81, 0, 0, 0x82, 0x00, 0x05, 0x83, 0x00, 0x09, 0x84};
    EXPECT_EQ(four->Points, expected);
    EXPECT_TRUE(four->worthKeeping());
    EXPECT_EQ(four->loadPoints[3].time, 9u);
}

TEST(decodeGraphRecord, NeverReadsPastTheReply)
{
    // L claims 100 points but only two arrived: keep what is really there.
    const auto claimsMore = graphReply(9 + 300, {0x00, 0x01, 0x83, 0x00, 0x02, 0x84, 0x00});
    std::unique_ptr<cycLink> g(decodeGraphRecord(claimsMore.data(), claimsMore.size()));
    EXPECT_EQ(g->Npoints, 4);  // the incomplete trailing point is not taken
    EXPECT_EQ(g->Points.size(), 12u);

    // L below the record header: the two value bytes only.
    const auto tooShort = graphReply(3, {0x00, 0x01, 0x83});
    std::unique_ptr<cycLink> s(decodeGraphRecord(tooShort.data(), tooShort.size()));
    EXPECT_EQ(s->Npoints, 2);

    // The shortest reply a caller passes on: the second value byte is the CRC, not data.
    std::vector<uint8_t> shortest = graphReply(9, {});
    shortest.erase(shortest.begin() + 15);
    std::unique_ptr<cycLink> m(decodeGraphRecord(shortest.data(), 17));
    EXPECT_EQ(m->Points[2], 0x81);
    EXPECT_EQ(m->Points[5], 0x00);
}

}  // namespace
