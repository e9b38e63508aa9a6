#include "sim/scenario.h"

#include <gtest/gtest.h>

#include <sstream>

#include "data/cp1251.h"
#include "link/codings.h"
#include "tests/sim/simTestSupport.h"
#include "tests/support/timeZone.h"

using namespace simtest;

namespace {

std::optional<simContent> parse(const std::string& text, std::string& error, scenarioContext context = {start, 1, false, false})
{
    std::istringstream in(text);
    return parseScenario(in, context, error);
}

std::string cp1251(const char* utf8)
{
    std::string bytes;
    utf8ToCp1251(utf8, bytes);
    return bytes;
}

class simScenario : public ::testing::Test {
protected:
    void SetUp() override { SKIP_UNLESS_IN_ZONE(zone); }
    ScopedTimeZone zone{"Europe/Moscow"};
    std::string error;
};

TEST_F(simScenario, ReadableFields)
{
    const auto content = parse(R"(# a recorder described field by field
device recorder
clock 2024-03-15 10:00:00
load 90

crane
  regNo Р-12345
  serNo 12 345
  invNo ИН-7
  workSince 2010-01-01
  regiSince 2015-06-01 08:30:00
  capacity 250
  fullCode 220
  zeroCode 20
  serviceYears 20
  group 5
  ogp 110 95
  cycles 100 50 20 5 2
  hours 1.5 0.25
  weightTotal 1000
  cubeSum 12.5
  graph ordinary 2024-03-15 09:00:00
  points 0:S00 0:L3 1:S01 2:L40 3:L55
  points 4:L56 5:S00 6:L4
  graph overload raw
  hex 00 0F 00 00 09 05 15 03 24 00 85
  hex 000101 0002F0
)", error);
    ASSERT_TRUE(content) << error;
    EXPECT_EQ(content->clock, start);
    EXPECT_EQ(content->loadCode, 90);
    ASSERT_EQ(content->slots.size(), 1u);
    const simSlot& slot = content->slots[0];
    const decodedImage d = decodeImage(slot.memory);
    EXPECT_EQ(d.regNo, cp1251("Р-12345"));
    EXPECT_EQ(d.serNo, "12 345");
    EXPECT_EQ(d.invNo, cp1251("ИН-7"));
    EXPECT_EQ(d.workSince, 1262293200);
    EXPECT_EQ(d.regiSince, 1433136600);
    EXPECT_EQ(d.maxWeight, 250);
    EXPECT_EQ(d.workMaxSeconds, 630720000u);
    EXPECT_EQ(d.adcZS + d.adcFZS, 220u);
    EXPECT_EQ(d.ogpL, 95u);
    EXPECT_EQ(d.cyclesTotal, 175u);
    EXPECT_EQ(d.cycles[4], 2u);
    EXPECT_FLOAT_EQ(d.hours[0], 1.5f);
    EXPECT_FLOAT_EQ(d.hours[1], 0.25f);
    EXPECT_NEAR(d.weightTotal, 1000, 1);
    EXPECT_FLOAT_EQ(d.cubeSum, 12.5f);
    EXPECT_EQ(d.cntN, 1u);
    EXPECT_EQ(d.cntE, 1u);

    ASSERT_EQ(slot.graphs[0].size(), 1u);
    const bytes& graph = slot.graphs[0][0];
    EXPECT_EQ(getBe16(&graph[0]), 27);   // eight points
    EXPECT_EQ(fromBcdClock(&graph[2]), start - 3600);
    EXPECT_EQ(bytes(graph.begin() + 9, graph.begin() + 14), (bytes{0x00, 0x83, 0, 1, 0x01}));
    EXPECT_EQ(loadSamples(graph), 5);
    EXPECT_EQ(slot.graphs[1][0], (bytes{0x00, 0x0F, 0x00, 0x00, 0x09, 0x05, 0x15, 0x03, 0x24, 0x00, 0x85,
                                         0x00, 0x01, 0x01, 0x00, 0x02, 0xF0}));
}

TEST_F(simScenario, CollectorWithGeneratedAndRawCranes)
{
    const auto content = parse(R"(device collector
seed 9
crane generate
  regNo 4711
  readout 2024-03-14 12:00:00
  graph overload 2024-03-10 08:00:00
  points 0:S00 0:L9 5:L120 6:S40 9:L90 10:S00
crane
  memory 41 42 43
  memory 44
  poke 38 00
  slotRegNo 0123456789AB
  slotReply 00 01 02
)", error);
    ASSERT_TRUE(content) << error;
    EXPECT_EQ(content->identifier, "VELM0001");
    ASSERT_EQ(content->slots.size(), 2u);
    const simSlot& generated = content->slots[0];
    EXPECT_EQ(decodeImage(generated.memory).regNo, "4711");
    EXPECT_EQ(generated.regNo, std::string("4711\0\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(recorderTime(generated.readoutCounter, computeRecorderEpoch()), start - 22 * 3600);
    EXPECT_GT(generated.graphs[0].size(), 3u);   // generated ordinary graphs stay
    EXPECT_EQ(generated.graphs[1].size(), 1u);   // the given overload graph replaces them

    const simSlot& raw = content->slots[1];
    EXPECT_EQ(bytes(raw.memory.begin(), raw.memory.begin() + 5), (bytes{0x41, 0x42, 0x43, 0x44, 0}));
    EXPECT_EQ(raw.memory[38], 0);
    EXPECT_EQ(raw.regNo, "0123456789AB");
    EXPECT_EQ(raw.slotReply, (bytes{0, 1, 2}));
}

TEST_F(simScenario, CommandLineWinsAndDefaults)
{
    const auto fixed = parse("clock 2020-01-01\nseed 4\n", error, {start, 8, true, true});
    ASSERT_TRUE(fixed) << error;
    EXPECT_EQ(fixed->clock, start);
    ASSERT_EQ(fixed->slots.size(), 1u) << "a recorder without cranes gets a generated one";
    const auto same = parse("", error, {start, 8, true, true});
    EXPECT_EQ(fixed->slots[0].memory, same->slots[0].memory);

    const auto empty = parse("device collector\n", error);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->slots.empty());
}

TEST_F(simScenario, ErrorsNameTheLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"device printer", "line 1:"},
        {"crane\nregNo 123456789", "line 2: '123456789' is longer than 8"},
        {"crane\nregNo ∑", "line 2: '∑' cannot be written in Windows-1251"},
        {"crane\npoints 0:L1", "line 2:"},
        {"crane\ngraph ordinary 2024-01-01\npoints 5:L1 0:L2", "a graph starts with two points at time 0"},
        {"crane\ngraph ordinary 2024-01-01\npoints 0:S80", "line 3:"},
        {"crane\ncrane", "line 2: a recorder holds one crane"},
        {"crane\nmemory 0", "line 2: odd number of hex digits"},
        {"crane\npoke 127 01 02", "line 2:"},
        {"crane\nload 5", "line 2: unknown crane keyword 'load'"},
        {"identifier RP_v01", "line 1:"},
    };
    for (const auto& [text, expected] : cases) {
        error.clear();
        EXPECT_FALSE(parse(text, error)) << text;
        EXPECT_NE(error.find(expected), std::string::npos) << text << " gave: " << error;
    }
}

}  // namespace
