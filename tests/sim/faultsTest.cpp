#include "sim/faults.h"

#include <gtest/gtest.h>

#include "sim/device.h"
#include "tests/sim/simTestSupport.h"

using namespace simtest;

namespace {

faultSpec fault(const std::string& text)
{
    std::string error;
    const std::optional<faultSpec> f = parseFault(text, error);
    EXPECT_TRUE(f.has_value()) << text << ": " << error;
    return f.value_or(faultSpec{});
}

simDevice faultyDevice(deviceKind kind, const std::vector<std::string>& texts, uint64_t seed = 1)
{
    std::vector<faultSpec> faults;
    for (const auto& t : texts)
        faults.push_back(fault(t));
    return simDevice(smallContent(kind), faultPlan(faults, seed), [] { return start; });
}

bool crcValid(const bytes& packet)
{
    crc16 crc;
    return crc.compute(packet.data(), packet.size()) == 0;
}

TEST(simFaults, Syntax)
{
    const faultSpec a = fault("ReadGraph#12:crc@1");
    EXPECT_EQ(a.command, 0x07);
    EXPECT_EQ(a.number, 12u);
    EXPECT_EQ(a.kind, faultKind::badCrc);
    EXPECT_EQ(a.firstTimes, 1u);
    const faultSpec b = fault("ReadMemory/slot=1:noreply");
    EXPECT_EQ(b.slot, 1u);
    EXPECT_EQ(b.kind, faultKind::noReply);
    const faultSpec c = fault("any:delay=1500%0.1");
    EXPECT_FALSE(c.command.has_value());
    EXPECT_EQ(c.argument, 1500u);
    EXPECT_DOUBLE_EQ(c.probability, 0.1);
    const faultSpec d = fault("readgraph/slot=2#59:HANGUP=4");
    EXPECT_EQ(d.number, 59u);
    EXPECT_EQ(d.slot, 2u);
    EXPECT_EQ(d.kind, faultKind::hangUp);

    for (const char* bad : {"Identify#3:crc", "ReadGraph:echo", "any:delay", "any:crc@0", "any:crc%1.5",
                            "any:crc%0", "Foo:crc", "any", "any:bogus", "WriteByte/slot=1:crc", "any:crc=3",
                            "ReadGraph#256:crc", "any:truncate=x", "any/slot=:crc"}) {
        std::string error;
        EXPECT_FALSE(parseFault(bad, error).has_value()) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(simFaults, EachKindDistortsTheReply)
{
    const bytes identify = request(0x09);
    auto reply = [&](const char* text, const bytes& req) {
        return faultyDevice(deviceKind::collector, {text}).answer(req);
    };
    EXPECT_TRUE(reply("any:noreply", identify).bytes.empty());

    const bytes crc = reply("Identify:crc", identify).bytes;
    EXPECT_EQ(crc.size(), 15u);
    EXPECT_FALSE(crcValid(crc));

    const bytes command = reply("Identify:command", identify).bytes;
    EXPECT_TRUE(crcValid(command));
    EXPECT_NE(command[4], 0x09);

    const bytes address = reply("Identify:address", identify).bytes;
    EXPECT_TRUE(crcValid(address));
    EXPECT_NE(address[0], 0x01);

    EXPECT_EQ(reply("Identify:truncate=5", identify).bytes.size(), 5u);
    EXPECT_EQ(reply("Identify:truncate", identify).bytes.size(), 7u);

    const simReply delayed = reply("any:delay=1500", identify);
    EXPECT_EQ(delayed.delayMs, 1500u);
    expectReply(delayed.bytes, 0x09, 15);
    EXPECT_EQ(delayed.fault, "any:delay=1500");

    expectReply(reply("Identify:length=3", identify).bytes, 0x09, 10);
    expectReply(reply("ReadMemory:length", request(0x03, {0, 0, 0x80})).bytes, 0x03, 134);

    const bytes selectOne = request(0x3E, {0, 1});
    const bytes echoed = reply("SelectSlot:echo", selectOne).bytes;
    expectReply(echoed, 0x3E, 25);
    EXPECT_EQ(getBe16(&echoed[5]), 2);
    EXPECT_EQ(getBe16(&reply("SelectSlot:echo=9", selectOne).bytes[5]), 9);

    EXPECT_EQ(reply("any:garbage=20", identify).bytes.size(), 20u);

    const simReply hangUp = reply("Identify:hangup=4", identify);
    EXPECT_TRUE(hangUp.hangUp);
    EXPECT_EQ(hangUp.bytes, (bytes{0x01, 0x01, 0x00, 0x0F}));
}

TEST(simFaults, TargetGraphsAndSlots)
{
    simDevice d = faultyDevice(deviceKind::collector, {"ReadGraph#0/slot=1:noreply", "SelectSlot/slot=0:crc"});
    EXPECT_FALSE(d.answer(request(0x07, {0})).bytes.empty());      // slot 0 selected
    EXPECT_FALSE(crcValid(d.answer(request(0x3E, {0, 0})).bytes));  // SelectSlot of 0 damaged
    EXPECT_EQ(d.selectedSlot(), 0u);                               // ... but served
    expectReply(d.answer(request(0x3E, {0, 1})).bytes, 0x3E, 25);
    EXPECT_TRUE(d.answer(request(0x07, {0})).bytes.empty());       // graph 0 of slot 1
    expectReply(d.answer(request(0x07, {1})).bytes, 0x07, 7);      // another graph number
    expectReply(d.answer(request(0x03, {0, 0, 0x80})).bytes, 0x03, 135);
}

TEST(simFaults, TargetOneWriteByteAddress)
{
    EXPECT_EQ(fault("WriteByte#300:noreply").number, 300u);
    std::string error;
    EXPECT_FALSE(parseFault("WriteByte#65536:noreply", error).has_value());

    simDevice d = faultyDevice(deviceKind::recorder, {"writebyte#5:length=0"});
    expectReply(d.answer(request(0x04, {0, 4, 0xAA})).bytes, 0x04, 10);
    expectReply(d.answer(request(0x04, {0, 5, 0xBB})).bytes, 0x04, 7);
    expectReply(d.answer(request(0x04, {0, 6, 0xCC})).bytes, 0x04, 10);
    ASSERT_EQ(d.writes().size(), 3u) << "the device still serves the request it answers wrongly";
    EXPECT_EQ(d.writes()[1].address, 5);
}

TEST(simFaults, FirstTimesAndProbability)
{
    simDevice twice = faultyDevice(deviceKind::recorder, {"Identify:noreply@2", "any:crc@1"});
    EXPECT_TRUE(twice.answer(request(0x09)).bytes.empty());
    EXPECT_TRUE(twice.answer(request(0x09)).bytes.empty());
    // The first fault is used up; the next listed one takes its turn, once.
    EXPECT_FALSE(crcValid(twice.answer(request(0x09)).bytes));
    expectReply(twice.answer(request(0x09)).bytes, 0x09, 15);

    auto hits = [](uint64_t seed) {
        simDevice d = faultyDevice(deviceKind::recorder, {"any:noreply%0.25"}, seed);
        std::vector<bool> pattern;
        for (int i = 0; i < 400; ++i)
            pattern.push_back(d.answer(request(0x01)).bytes.empty());
        return pattern;
    };
    const std::vector<bool> a = hits(5);
    const auto count = std::count(a.begin(), a.end(), true);
    EXPECT_GT(count, 60);
    EXPECT_LT(count, 140);
    EXPECT_EQ(hits(5), a) << "the same seed decides the same way";
    EXPECT_NE(hits(6), a);
}

}  // namespace
