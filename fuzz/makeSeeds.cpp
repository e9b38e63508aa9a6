// Writes the seed inputs of the fuzz targets from real replies: the simulator's recorder and
// collector answering the program's requests, the simulator's air answering the IrDA stack, the
// packet examples of the tests and settings as the tests type them. Run it after an input
// layout has changed:  build-fuzz/fuzzSeeds fuzz/corpus
// (the data-file seeds are files the program wrote and are kept as they are).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/readout.h"
#include "fuzz/fuzzInput.h"
#include "fuzz/linkRun.h"
#include "fuzz/scriptedPeer.h"
#include "link/codings.h"
#include "link/commands.h"
#include "link/crc16.h"
#include "link/irdaAirText.h"
#include "sim/airDevices.h"
#include "sim/device.h"
#include "sim/generator.h"
#include "tests/support/packetExamples.h"

namespace {

using Bytes = std::vector<uint8_t>;
using std::chrono::milliseconds;

constexpr int32_t readoutTime = 1710496800;   // 15/03/2024 10:00 UTC

std::filesystem::path corpus;

void writeSeed(const std::string& target, const std::string& name, const Bytes& data)
{
    const std::filesystem::path folder = corpus / target;
    std::filesystem::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                                         static_cast<std::streamsize>(data.size()));
}

// The simulator's device, its clock standing at the readout time.
simDevice device(deviceKind kind, unsigned slots)
{
    return simDevice(generateContent(1957, kind, slots, readoutTime), faultPlan{},
                     [] { return readoutTime; });
}

// The device's reply to one of the link fuzzers' requests (linkRequests()).
Bytes replyTo(simDevice& d, std::size_t request)
{
    Bytes packet = linkRequests()[request];
    const std::size_t body = packet.size();
    packet.resize(body + packetCrcSize);
    putBe16(&packet[2], static_cast<uint16_t>(packet.size()));
    crc16 crc;
    putBe16(&packet[body], crc.packetCrc(packet.data(), body));
    return d.answer(packet).bytes;
}

enum : uint8_t { identify, readClock, readMemory, writeByte, readGraph, selectSlot, slotCount };

// Peer actions.
std::vector<peerAction> sends(const Bytes& bytes, std::size_t piece = 255)
{
    std::vector<peerAction> actions;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        peerAction a;
        a.bytes.assign(bytes.begin() + static_cast<long>(at),
                       bytes.begin() + static_cast<long>(std::min(at + piece, bytes.size())));
        actions.push_back(a);
    }
    return actions;
}
peerAction quiet(int ms)
{
    peerAction a;
    a.kind = peerAction::silence;
    a.quiet = milliseconds(ms);
    return a;
}
peerAction only(peerAction::Kind kind)
{
    peerAction a;
    a.kind = kind;
    return a;
}
peerAction reply(uint8_t damage, const std::string& data, uint16_t lengthField = 0, uint8_t extra = 0)
{
    peerAction a;
    a.kind = peerAction::reply;
    a.damage = damage;
    a.bytes.assign(data.begin(), data.end());
    a.lengthField = lengthField;
    a.extra = extra;
    return a;
}

using script = std::vector<std::vector<peerAction>>;

Bytes scriptBytes(const script& parts)
{
    fuzzOutput out;
    for (const auto& part : parts)
        for (const peerAction& a : part)
            writePeerAction(out, a);
    return out.data;
}

Bytes linkSeed(std::vector<uint8_t> requests, uint8_t capacityClass, const script& parts)
{
    fuzzOutput out;
    writeLinkPlan(out, {std::move(requests), capacityClass});
    const Bytes peer = scriptBytes(parts);
    out.bytes(peer);
    return out.data;
}

void linkSeeds()
{
    simDevice recorder = device(deviceKind::recorder, 1);
    simDevice collector = device(deviceKind::collector, 3);
    const Bytes& id = exampleIdentifyReply;
    Bytes badCrc = id;
    badCrc.back() ^= 0x01;
    const Bytes memory = replyTo(recorder, readMemory);
    const Bytes graph = replyTo(recorder, readGraph);
    const Bytes half(memory.begin(), memory.begin() + static_cast<long>(memory.size() / 2));

    writeSeed("link", "identify", linkSeed({identify}, 0, {sends(id)}));
    writeSeed("link", "identify-trickle",
              linkSeed({identify}, 0, {sends(Bytes(id.begin(), id.begin() + 4)), {quiet(1900)},
                                        sends(Bytes(id.begin() + 4, id.begin() + 9)), {quiet(1900)},
                                        sends(Bytes(id.begin() + 9, id.end()))}));
    writeSeed("link", "identify-crc-retry",
              linkSeed({identify}, 0, {sends(badCrc), {quiet(2500)}, sends(id)}));
    writeSeed("link", "wrong-command",
              linkSeed({identify}, 0, {{reply(peerAction::badCommand, "RP_v0001"), quiet(2500),
                                        reply(0, "RP_v0001")}}));
    writeSeed("link", "length-field-short",
              linkSeed({identify}, 0, {{reply(peerAction::badLength, "RP_v0001", 9)}}));
    writeSeed("link", "memory", linkSeed({readMemory}, 0, {sends(memory)}));
    writeSeed("link", "memory-hang-up",
              linkSeed({readMemory}, 0, {sends(half), {only(peerAction::hangUp)}}));
    writeSeed("link", "memory-small-room", linkSeed({readMemory}, 1, {sends(memory)}));
    writeSeed("link", "graph", linkSeed({readGraph}, 0, {sends(graph)}));
    writeSeed("link", "graph-pieces", linkSeed({readGraph}, 0, {sends(graph, 50)}));
    writeSeed("link", "graph-longest",
              linkSeed({readGraph}, 0,
                       {{reply(peerAction::longer, std::string("\x00\x10", 2), 0, 255)}}));
    writeSeed("link", "collector",
              linkSeed({slotCount, selectSlot}, 0, {sends(replyTo(collector, slotCount)),
                                                    sends(replyTo(collector, selectSlot))}));
    writeSeed("link", "clock-and-write",
              linkSeed({readClock, writeByte}, 0, {sends(replyTo(recorder, readClock)),
                                                   sends(replyTo(recorder, writeByte))}));
    writeSeed("link", "silence-then-stop",
              linkSeed({identify, identify}, 0, {{quiet(2500), only(peerAction::cancel)}}));
    std::vector<peerAction> babble;
    for (int i = 0; i < 20; ++i) {
        babble.push_back(sends(Bytes(30, 0)).front());
        babble.push_back(quiet(1900));
    }
    writeSeed("link", "babble", linkSeed({identify}, 0, {babble}));
    // A reply that announces 1000 bytes and comes a byte every 1.9 s: it runs into its cap.
    std::vector<peerAction> trickle = sends({0x01, 0x01, 0x03, 0xE8, Identify});
    for (int i = 0; i < 100; ++i) {
        trickle.push_back(quiet(1900));
        trickle.push_back(sends(Bytes(1, 0x55)).front());
    }
    writeSeed("link", "trickle-past-the-cap", linkSeed({identify}, 0, {trickle}));
    writeSeed("link", "wait-fails", linkSeed({identify}, 0, {{only(peerAction::failure)}}));
}

// The air's answers to the requests of one opening, one send each (device lines included).
std::vector<peerAction> airAnswers(const airSettings& settings, std::size_t deviceLines)
{
    std::optional<uint32_t> connected;
    std::string list = answerAirRequest("ENUM", settings, connected) + "\n";
    for (std::size_t i = 0; i < deviceLines; ++i)
        list += airDeviceLine(settings, i) + "\n";
    std::vector<peerAction> answers = sends(Bytes(list.begin(), list.end()));
    if (settings.devices.empty())
        return answers;
    const std::string id = airIdText(settings.devices.front().id);
    for (const std::string& request : {"IAS " + id + " IrDA:IrCOMM Parameters", std::string("NINEWIRE"),
                                      "CONNECT " + id + " IrDA:IrCOMM"}) {
        const std::string line = answerAirRequest(request, settings, connected) + "\n";
        answers.push_back(sends(Bytes(line.begin(), line.end())).front());
    }
    return answers;
}

airSettings inRange(std::vector<airDevice> devices)
{
    airSettings settings;
    settings.devices = std::move(devices);
    return settings;
}

void airSeed(const std::string& name, const airSettings& settings)
{
    writeSeed("irdaAir", name, scriptBytes({airAnswers(settings, settings.devices.size())}));
}

airDevice withParameters(airAttribute type, Bytes octets)
{
    airDevice d = defaultAirDevice();
    d.type = type;
    d.parameters = std::move(octets);
    return d;
}

void airSeeds()
{
    airSeed("one-device", inRange({defaultAirDevice()}));
    const Bytes nineWire = {0x00, 0x01, 0x04};
    airSeed("two-devices", inRange({{0x0A0B0C0D, "Crane 7", airAttribute::octets, nineWire},
                                    {0x11223344, "Crane 9", airAttribute::octets, nineWire}}));
    airSeed("integer-attribute", inRange({withParameters(airAttribute::integer, {})}));
    airSeed("no-attribute", inRange({withParameters(airAttribute::none, {})}));
    airSeed("short-parameters", inRange({withParameters(airAttribute::octets, {0x00, 0x04})}));
    airSeed("three-wire", inRange({withParameters(airAttribute::octets, {0x00, 0x01, 0x02})}));
    airSeed("port-type-first",
            inRange({withParameters(airAttribute::octets, {0x01, 0x01, 0x00, 0x00, 0x01, 0x04})}));
    airSettings refusing = inRange({defaultAirDevice()});
    refusing.refuse = true;
    airSeed("refused", refusing);

    const airSettings empty;
    std::vector<peerAction> passes;
    for (int pass = 0; pass < 4; ++pass)
        passes.push_back(airAnswers(empty, 0).front());
    writeSeed("irdaAir", "nobody-in-range", scriptBytes({passes}));

    airSettings billions = inRange({defaultAirDevice()});
    billions.announced = 4000000000u;
    std::vector<peerAction> slow = airAnswers(billions, 0);
    slow.resize(1);
    for (int i = 0; i < 3; ++i) {
        slow.push_back(quiet(1900));
        const std::string line = airDeviceLine(billions, static_cast<uint64_t>(i)) + "\n";
        slow.push_back(sends(Bytes(line.begin(), line.end())).front());
    }
    writeSeed("irdaAir", "billions-announced-slowly", scriptBytes({slow}));

    std::vector<peerAction> cut = airAnswers(inRange({defaultAirDevice(), defaultAirDevice()}), 1);
    cut.resize(1);
    cut.push_back(only(peerAction::hangUp));
    writeSeed("irdaAir", "hang-up-in-the-list", scriptBytes({cut}));
}

void replySeeds()
{
    simDevice recorder = device(deviceKind::recorder, 1);
    simDevice collector = device(deviceKind::collector, 3);
    writeSeed("reply", "identify", exampleIdentifyReply);
    writeSeed("reply", "identify-collector", replyTo(collector, identify));
    writeSeed("reply", "slot-count", replyTo(collector, slotCount));
    writeSeed("reply", "select-slot", replyTo(collector, selectSlot));
    writeSeed("reply", "memory", replyTo(recorder, readMemory));
    writeSeed("reply", "graph", replyTo(recorder, readGraph));
}

// In the order settingsFuzz reads them.
struct typedSettings {
    std::string regNo, serNo, invNo, fullCode, zeroCode, capacity, serviceLife;
    int32_t workSince = 1433136600, regiSince = 1584262800;
    int group = 4, trip = 109, reset = 99;   // selections
};

void settingsSeed(const std::string& name, const typedSettings& s)
{
    fuzzOutput out;
    for (const std::string* text : {&s.regNo, &s.serNo, &s.invNo, &s.fullCode, &s.zeroCode, &s.capacity,
                                    &s.serviceLife})
        out.text(*text);
    out.be32(static_cast<uint32_t>(s.workSince));
    out.be32(static_cast<uint32_t>(s.regiSince));
    for (const int selection : {s.group, s.trip, s.reset})
        out.byte(static_cast<uint8_t>(selection + 1));
    writeSeed("settings", name, out.data);
}

void settingsSeeds()
{
    settingsSeed("typical", {"4711", "SER1", "INV1", "220", "20", "25", "10"});
    settingsSeed("cyrillic", {"Р-20481", "77 019", "ИН-31", "200", "25", "160", "20"});
    settingsSeed("largest", {"12345678", "ABCDEFGH", "00000000", "255", "254", "1280", "136"});
    settingsSeed("too-large", {"123456789", "SER", "INV", "999", "300", "1285", "137"});
    settingsSeed("zero-code-above", {"1", "2", "3", "100", "100", "127", "0", 0, 0, 0, 50, 60});
    settingsSeed("not-numbers", {"\xFF\xFE", "€", "x", "", "-1", "1e3", " 5"});
}

// In the order protocolFuzz reads them.
void writeCrane(fuzzOutput& out, const devLink& crane)
{
    for (const std::string* text : {&crane.name, &crane.regNo, &crane.serNo, &crane.invNo})
        out.text(*text);
    for (const int32_t t : {crane.timeStamp, crane.workSince, crane.regiSince})
        out.be32(static_cast<uint32_t>(t));
    auto real = [&out](float value) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        out.be32(bits);
    };
    real(crane.maxWeight);
    out.be32(crane.workMaxSeconds);
    out.byte(crane.workMaxYears);
    out.byte(crane.workMaxGrp);
    real(crane.cubeSum);
    out.be32(crane.cyclesTotal);
    for (const uint32_t cycles : crane.cycles)
        out.be32(cycles);
    for (const float hours : crane.hourCounter)
        real(hours);
    real(crane.weightTotal);
    for (const cycLink* g = firstGraph(crane); g; g = nextGraph(g)) {
        out.be32(static_cast<uint32_t>(g->timeStamp));
        out.be16(g->Npoints);
        const std::size_t points = std::min<std::size_t>(g->Points.size() / 3, 255);
        out.byte(static_cast<uint8_t>(points));
        out.bytes(Bytes(g->Points.begin(), g->Points.begin() + static_cast<long>(3 * points)));
    }
}

// A crane as the readout makes it from the simulated recorder's memory image and first graphs.
std::unique_ptr<devLink> readCrane(simDevice& recorder, unsigned graphs)
{
    auto crane = std::make_unique<devLink>();
    const Bytes memory = replyTo(recorder, readMemory);
    decodeMemoryImage(memory.data() + packetHeaderSize, *crane, true);
    crane->timeStamp = readoutTime;
    crane->name = crane->regNo;
    for (unsigned i = 0; i < graphs; ++i) {
        Bytes request = {hostAddress, deviceAddress, 0, 8, ReadGraph, static_cast<uint8_t>(i), 0, 0};
        crc16 crc;
        putBe16(&request[6], crc.packetCrc(request.data(), 6));
        const Bytes graph = recorder.answer(request).bytes;
        if (graph.size() >= shortestGraphReply)
            crane->graphs.pushBack(decodeGraphRecord(graph.data(), graph.size()));
    }
    return crane;
}

void protocolSeeds()
{
    simDevice recorder = device(deviceKind::recorder, 1);
    const std::unique_ptr<devLink> crane = readCrane(recorder, 3);
    fuzzOutput read;
    writeCrane(read, *crane);
    writeSeed("protocol", "read-crane", read.data);

    devLink wild;
    wild.regNo = "<b>&";
    wild.timeStamp = std::numeric_limits<int32_t>::max();
    wild.regiSince = std::numeric_limits<int32_t>::min();
    wild.maxWeight = std::numeric_limits<float>::infinity();
    wild.cubeSum = std::nanf("");
    wild.workMaxSeconds = 0xFFFFFFFF;
    wild.cyclesTotal = 0xFFFFFFFF;
    wild.hourCounter[0] = -std::numeric_limits<float>::infinity();
    wild.hourCounter[1] = 3e38f;
    wild.weightTotal = -0.0f;
    auto* graph = new cycLink;
    graph->timeStamp = std::numeric_limits<int32_t>::max() - 10;
    graph->Points = {0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x80, 0x00, 0x01};
    graph->Npoints = 0xFFFF;
    wild.graphs.pushBack(graph);
    fuzzOutput out;
    writeCrane(out, wild);
    writeSeed("protocol", "wild-values", out.data);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    corpus = argv[1];
    linkSeeds();
    airSeeds();
    replySeeds();
    settingsSeeds();
    protocolSeeds();
    return 0;
}
