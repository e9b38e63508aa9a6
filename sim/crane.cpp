#include "sim/crane.h"

#include <algorithm>
#include <cmath>

#include "data/devLink.h"
#include "link/codings.h"
#include "link/commands.h"
#include "link/crc16.h"

namespace {

void putBe24(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v >> 16);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v);
}

void putText(uint8_t* field, const std::string& text, std::size_t size)
{
    std::copy_n(text.begin(), std::min(text.size(), size), field);
}

constexpr std::size_t settingsCrcOffset = 62;
constexpr uint8_t ordinaryStoreFull = 0x01;
constexpr uint8_t overloadStoreFull = 0x02;

std::array<uint8_t, 3> graphCountBytes(const craneSpec& crane)
{
    if (crane.graphCounts)
        return *crane.graphCounts;
    const std::size_t ordinary = crane.graphs[0].size(), overload = crane.graphs[1].size();
    uint8_t flags = 0;
    const std::size_t full = graphsPerKind;
    if (ordinary >= full)
        flags |= ordinaryStoreFull;
    if (overload >= full)
        flags |= overloadStoreFull;
    return {static_cast<uint8_t>(std::min(ordinary, full)), static_cast<uint8_t>(std::min(overload, full)), flags};
}

}  // namespace

uint8_t capacityByte(unsigned tonnes)
{
    if (tonnes <= 127)
        return static_cast<uint8_t>(tonnes);
    return static_cast<uint8_t>(std::min(255u, tonnes / 10 + 127));
}

std::array<uint8_t, 3> encodeFloat24(double value)
{
    if (!(value > 0))
        return {0, 0, 0};
    int exponent = static_cast<int>(std::floor(std::log2(value)));
    long mantissa = std::lround(std::ldexp(value, 15 - exponent));
    if (mantissa > 0xFFFF) {
        ++exponent;
        mantissa = std::lround(std::ldexp(value, 15 - exponent));
    }
    if (exponent > 128)
        return {128, 0xFF, 0xFF};
    if (exponent < -127) {
        // Below the smallest normal exponent: keep the smallest exponent, shrink the mantissa.
        mantissa = std::lround(std::ldexp(value, 15 + 127));
        exponent = -127;
    }
    const uint8_t exponentByte = exponent >= 0 ? static_cast<uint8_t>(exponent)
                                               : static_cast<uint8_t>(128 - exponent);
    return {exponentByte, static_cast<uint8_t>(mantissa >> 8), static_cast<uint8_t>(mantissa)};
}

byteString memoryImage(const craneSpec& crane)
{
    byteString m(memoryImageSize, 0);
    putText(&m[0], crane.regNo, 8);
    putText(&m[8], crane.serNo, 8);
    putText(&m[16], crane.invNo, 8);
    toBinaryClock(crane.workSince, &m[24]);
    toBinaryClock(crane.regiSince, &m[31]);
    m[38] = m[39] = crane.fullCode;
    m[40] = capacityByte(crane.capacityTonnes);
    putBe32(&m[41], crane.serviceSeconds.value_or(crane.serviceYears * secondsPerServiceYear));
    m[45] = crane.serviceYears;
    m[46] = crane.group;
    m[47] = m[49] = crane.zeroCode;
    m[48] = m[50] = static_cast<uint8_t>(crane.fullCode - crane.zeroCode);
    m[51] = crane.ogpH;
    m[52] = crane.ogpL;
    crc16 crc;
    putBe16(&m[settingsCrcOffset], crc.packetCrc(m.data(), settingsCrcOffset));

    const auto& c = crane.cycles;
    putBe24(&m[64], crane.cyclesTotal.value_or(c[0] + c[1] + c[2] + c[3]));
    for (std::size_t i = 0; i < c.size(); ++i)
        putBe24(&m[67 + 3 * i], c[i]);
    for (std::size_t i = 0; i < crane.hourSeconds.size(); ++i)
        putBe32(&m[86 + 4 * i], crane.hourSeconds[i]);
    putBe32(&m[110], crane.loadSum);
    const auto cube = encodeFloat24(crane.cubeSum);
    std::copy(cube.begin(), cube.end(), &m[114]);
    const auto counts = graphCountBytes(crane);
    std::copy(counts.begin(), counts.end(), &m[117]);
    return m;
}

byteString graphRecord(int32_t start, const byteString& points)
{
    // A record always carries the value bytes of points 0 and 1; missing ones are zero.
    byteString p = points;
    p.resize(std::max<std::size_t>(p.size() / 3, 2) * 3, 0);
    byteString record(2 + 7);
    putBe16(&record[0], static_cast<uint16_t>(p.size() + 3));
    toBcdClock(start, &record[2]);
    record.push_back(p[2]);
    record.push_back(p[5]);
    record.insert(record.end(), p.begin() + 6, p.end());
    return record;
}

uint32_t recorderCounter(int32_t t)
{
    return static_cast<uint32_t>(t) - static_cast<uint32_t>(computeRecorderEpoch());
}

simSlot buildSlot(const craneSpec& crane)
{
    simSlot slot;
    slot.regNo = crane.slotRegNo.value_or(crane.regNo).substr(0, slotRegNoSize);
    slot.regNo.resize(slotRegNoSize, '\0');
    slot.readoutCounter = recorderCounter(crane.readout);
    slot.memory = crane.rawMemory.value_or(memoryImage(crane));
    slot.memory.resize(memoryImageSize, 0);
    for (const auto& [offset, bytes] : crane.memoryPatches)
        for (std::size_t i = 0; i < bytes.size() && offset + i < slot.memory.size(); ++i)
            slot.memory[offset + i] = bytes[i];
    slot.graphs = crane.graphs;
    slot.slotReply = crane.slotReply;
    return slot;
}
