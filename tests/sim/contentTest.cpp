#include <gtest/gtest.h>

#include <set>

#include "data/cp1251.h"
#include "link/codings.h"
#include "sim/crane.h"
#include "sim/generator.h"
#include "sim/liftingCycle.h"
#include "tests/sim/simTestSupport.h"
#include "tests/support/timeZone.h"

using namespace simtest;

namespace {

constexpr int32_t readoutTime = 1710486000;  // 15/03/2024 10:00:00 in Moscow

TEST(simImage, FieldsSitWhereTheReadoutDecodesThem)
{
    ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    craneSpec c;
    ASSERT_TRUE(utf8ToCp1251("Р-12345", c.regNo));
    c.serNo = "12345678";
    c.invNo = "77";
    c.workSince = 1262293200;   // 01/01/2010 in Moscow
    c.regiSince = 1433106000;   // 01/06/2015
    c.capacityTonnes = 160;
    c.fullCode = 220;
    c.zeroCode = 20;
    c.serviceYears = 10;
    c.group = 6;
    c.ogpH = 110;
    c.ogpL = 95;
    c.cycles = {1000, 500, 200, 50, 7};
    c.hourSeconds = {5400, 3600, 0, 0, 0, 7200};
    c.loadSum = 22000;
    c.cubeSum = 1.0;
    c.graphs[0].resize(30);
    c.graphs[1].resize(2);
    const bytes m = memoryImage(c);
    ASSERT_EQ(m.size(), 128u);
    const decodedImage d = decodeImage(m);
    EXPECT_EQ(d.regNo, c.regNo);
    EXPECT_EQ(d.serNo, "12345678");
    EXPECT_EQ(d.invNo, "77");
    EXPECT_EQ(d.workSince, c.workSince);
    EXPECT_EQ(d.regiSince, c.regiSince);
    EXPECT_EQ(d.maxWeight, 160);
    EXPECT_EQ(m[38], 220);
    EXPECT_EQ(m[39], 220);
    EXPECT_EQ(d.workMaxSeconds, 315360000u);
    EXPECT_EQ((bytes{m[41], m[42], m[43], m[44]}), (bytes{0x12, 0xCC, 0x03, 0x00}));
    EXPECT_EQ(d.workMaxYears, 10u);
    EXPECT_EQ(d.workMaxGrp, 6u);
    EXPECT_EQ(d.adcZS, 20u);
    EXPECT_EQ(d.adcFZS, 200u);
    EXPECT_EQ(m[49], 20);
    EXPECT_EQ(m[50], 200);
    EXPECT_EQ(d.ogpH, 110u);
    EXPECT_EQ(d.ogpL, 95u);
    EXPECT_EQ(bytes(m.begin() + 53, m.begin() + 62), bytes(9, 0));
    crc16 crc;
    bytes settings(m.begin(), m.begin() + 64);
    EXPECT_EQ(crc.compute(settings.data(), settings.size()), 0) << "bytes 62..63 hold the CRC of 0..61";
    EXPECT_EQ(d.cyclesTotal, 1750u);
    EXPECT_EQ(d.cycles[4], 7u);
    EXPECT_FLOAT_EQ(d.hours[0], 1.5f);
    EXPECT_FLOAT_EQ(d.hours[5], 2.0f);
    EXPECT_DOUBLE_EQ(d.weightTotal, 22000.0 * 143 / 220);
    EXPECT_FLOAT_EQ(d.cubeSum, 1.0f);
    EXPECT_EQ(d.cntN, 30u);   // store full: flag bit 0
    EXPECT_EQ(d.cntE, 2u);
}

TEST(simImage, CapacityByteAndFloat24)
{
    EXPECT_EQ(capacityByte(100), 100);
    EXPECT_EQ(capacityByte(127), 127);
    EXPECT_EQ(capacityByte(130), 140);    // decodes as (140 - 127) * 10
    EXPECT_EQ(capacityByte(1280), 255);
    EXPECT_EQ(capacityByte(5000), 255);

    for (const double v : {1.0, 0.5, 0.125, 3.0, 17442.5, 123456.0, 1e-6, 2e9}) {
        const auto e = encodeFloat24(v);
        EXPECT_NEAR(decodeFloat24(e.data()), v, v / 30000) << v;
        EXPECT_GE(e[1], 0x80) << "mantissa normalised for " << v;
    }
    EXPECT_EQ(encodeFloat24(0.5)[0], 0x81);   // exponent -1 in sign-and-magnitude
    EXPECT_EQ(encodeFloat24(0.0), (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(encodeFloat24(-4.0), (std::array<uint8_t, 3>{0, 0, 0}));
}

TEST(simImage, GraphRecordAndSlot)
{
    ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    const bytes points = {0, 0, 0x00, 0, 0, 0x83, 0, 2, 0x01, 0, 3, 0x90};
    const bytes record = graphRecord(readoutTime, points);
    EXPECT_EQ(getBe16(&record[0]), 15);     // four points: L = 15
    EXPECT_EQ(fromBcdClock(&record[2]), readoutTime);
    EXPECT_EQ(bytes(record.begin() + 9, record.end()), (bytes{0x00, 0x83, 0, 2, 0x01, 0, 3, 0x90}));
    EXPECT_EQ(getBe16(&graphRecord(readoutTime, {})[0]), 9);   // never fewer than two points

    craneSpec c;
    c.regNo = "ABC";
    c.slotRegNo = "ABC-12345678";
    c.rawMemory = bytes(10, 0xEE);
    c.memoryPatches.emplace_back(126, bytes{1, 2});
    const simSlot slot = buildSlot(c);
    EXPECT_EQ(slot.regNo, "ABC-12345678");
    ASSERT_EQ(slot.memory.size(), 128u);
    EXPECT_EQ(slot.memory[9], 0xEE);
    EXPECT_EQ(slot.memory[10], 0);
    EXPECT_EQ(slot.memory[127], 2);
}

TEST(simGenerator, CranesHangTogether)
{
    ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    const simContent collector = generateContent(7, deviceKind::collector, 6, readoutTime);
    ASSERT_EQ(collector.slots.size(), 6u);
    EXPECT_EQ(collector.identifier, "VELM0001");
    std::set<std::string> regNos;
    int32_t previousReadout = 0;
    for (const simSlot& slot : collector.slots) {
        const decodedImage d = decodeImage(slot.memory);
        const int32_t readout = recorderTime(slot.readoutCounter, computeRecorderEpoch());
        SCOPED_TRACE(d.regNo);
        regNos.insert(d.regNo);
        EXPECT_EQ(std::string(slot.regNo.c_str()), d.regNo);
        EXPECT_GT(readout, previousReadout);
        EXPECT_LE(readout, readoutTime);
        previousReadout = readout;
        EXPECT_LT(d.workSince, d.regiSince);
        EXPECT_LT(d.regiSince, readout);
        EXPECT_EQ(d.cyclesTotal, d.cycles[0] + d.cycles[1] + d.cycles[2] + d.cycles[3]);
        EXPECT_GT(d.cyclesTotal, 0u);
        const double kp = d.cubeSum / d.cyclesTotal;
        EXPECT_GT(kp, 0.02);
        EXPECT_LT(kp, 0.8);
        // Mean relative load of a cycle between 10 % and 110 % of the rated load.
        const double meanLoad = d.weightTotal / d.maxWeight / (d.cyclesTotal + d.cycles[4]);
        EXPECT_GT(meanLoad, 0.1);
        EXPECT_LT(meanLoad, 1.1);
        EXPECT_GT(d.hours[0], d.hours[1]);     // the hoist runs in every cycle
        EXPECT_EQ(d.workMaxSeconds, d.workMaxYears * 31536000u);
        EXPECT_LT(d.ogpL, d.ogpH);
        EXPECT_EQ(d.adcZS + d.adcFZS, slot.memory[38]);
        EXPECT_EQ(d.cntN, slot.graphs[0].size());
        EXPECT_EQ(d.cntE, slot.graphs[1].size());
        int32_t previousStart = 0;
        for (int kind = 0; kind < 2; ++kind)
            for (const bytes& record : slot.graphs[kind]) {
                EXPECT_GT(loadSamples(record), 3);
                EXPECT_GE(getBe16(&record[0]), 9 + 3 * 98) << "a hundred points or more";
                const int32_t graphStart = fromBcdClock(&record[2]);
                EXPECT_GT(graphStart, d.regiSince);
                EXPECT_LT(graphStart, readout);
                if (kind == 0) {
                    EXPECT_GT(graphStart, previousStart);
                }
                previousStart = graphStart;
            }
    }
    EXPECT_EQ(regNos.size(), 6u);
}

TEST(simGenerator, SameSeedSameContent)
{
    ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    const simContent a = generateContent(3, deviceKind::recorder, 1, readoutTime);
    const simContent b = generateContent(3, deviceKind::recorder, 1, readoutTime);
    const simContent c = generateContent(4, deviceKind::recorder, 1, readoutTime);
    ASSERT_EQ(a.slots.size(), 1u);
    EXPECT_EQ(a.identifier, "RP_v0001");
    EXPECT_EQ(a.slots[0].memory, b.slots[0].memory);
    EXPECT_EQ(a.slots[0].graphs, b.slots[0].graphs);
    EXPECT_NE(a.slots[0].memory, c.slots[0].memory);
}

TEST(simGenerator, LiftingCyclesSwitchMechanismsAndTheLimiter)
{
    simRandom random(11);
    for (const bool overload : {false, true}) {
        cycleSetup setup;
        setup.mechanisms = 4;
        setup.peakLoad = overload ? 118 : 60;
        setup.overload = overload;
        const bytes points = liftingCyclePoints(random, setup);
        ASSERT_GE(points.size(), 6u);
        EXPECT_EQ(getBe16(&points[0]), 0);
        EXPECT_EQ(getBe16(&points[3]), 0);
        uint8_t everOn = 0, peak = 0, lastState = 0xFF;
        unsigned previousTime = 0;
        for (std::size_t i = 0; i < points.size(); i += 3) {
            EXPECT_GE(getBe16(&points[i]), previousTime);
            previousTime = getBe16(&points[i]);
            const uint8_t v = points[i + 2];
            if (v & 0x80) {
                peak = std::max<uint8_t>(peak, v & 0x7F);
            } else {
                everOn |= v;
                lastState = v;
            }
        }
        EXPECT_EQ(everOn & 0x01, 0x01) << "the hoist runs";
        EXPECT_NE(everOn & 0x0E, 0) << "a mechanism moves the load";
        EXPECT_EQ(lastState, 0) << "everything stops at the end";
        EXPECT_EQ((everOn & 0x40) != 0, overload) << "the limiter trips only in overload";
        EXPECT_NEAR(peak, setup.peakLoad, 2);
    }
}

}  // namespace
