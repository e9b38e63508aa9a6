// Helpers of the simulator tests: requests built by hand, reply checks, and a decoding of the
// memory image written from the readout's table (independent of the simulator's encoder).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "link/codings.h"
#include "link/crc16.h"
#include "sim/content.h"

namespace simtest {

using bytes = std::vector<uint8_t>;

// 01 01, length, command, parameters, CRC.
inline bytes request(uint8_t command, const bytes& parameters = {})
{
    bytes r(5 + parameters.size());
    r[0] = r[1] = 0x01;
    r[3] = static_cast<uint8_t>(7 + parameters.size());
    r[4] = command;
    std::copy(parameters.begin(), parameters.end(), r.begin() + 5);
    crc16 crc;
    const uint16_t sum = crc.packetCrc(r.data(), r.size());
    r.push_back(static_cast<uint8_t>(sum >> 8));
    r.push_back(static_cast<uint8_t>(sum));
    return r;
}

// A reply as the host accepts it: total length, exchanged address bytes, echoed command,
// CRC checking to zero.
inline void expectReply(const bytes& reply, uint8_t command, std::size_t length)
{
    ASSERT_EQ(reply.size(), length);
    EXPECT_EQ(reply[0], 0x01);
    EXPECT_EQ(reply[1], 0x01);
    EXPECT_EQ(getBe16(&reply[2]), length);
    EXPECT_EQ(reply[4], command);
    crc16 crc;
    EXPECT_EQ(crc.compute(reply.data(), reply.size()), 0);
}

inline bytes data(const bytes& reply) { return bytes(reply.begin() + 5, reply.end() - 2); }

struct decodedImage {
    std::string regNo, serNo, invNo;
    int32_t workSince, regiSince;
    float maxWeight;
    uint32_t workMaxSeconds;
    unsigned workMaxYears, workMaxGrp, adcZS, adcFZS, ogpH, ogpL;
    uint32_t cyclesTotal, cycles[5];
    float hours[6];
    double weightTotal;
    float cubeSum;
    unsigned cntN, cntE;
};

inline std::string text8(const uint8_t* p)
{
    std::string s;
    for (int i = 0; i < 8 && p[i]; ++i)
        s += static_cast<char>(p[i]);
    return s;
}

inline decodedImage decodeImage(const bytes& m)
{
    decodedImage d{};
    d.regNo = text8(&m[0]);
    d.serNo = text8(&m[8]);
    d.invNo = text8(&m[16]);
    d.workSince = fromBinaryClock(&m[24]);
    d.regiSince = fromBinaryClock(&m[31]);
    d.maxWeight = m[40] <= 127 ? m[40] : (m[40] - 127) * 10.0f;
    d.workMaxSeconds = getBe32(&m[41]);
    d.workMaxYears = m[45];
    d.workMaxGrp = m[46];
    d.adcZS = m[47];
    d.adcFZS = m[48];
    d.ogpH = m[51];
    d.ogpL = m[52];
    d.cyclesTotal = getBe24(&m[64]);
    for (int i = 0; i < 5; ++i)
        d.cycles[i] = getBe24(&m[67 + 3 * i]);
    for (int i = 0; i < 6; ++i)
        d.hours[i] = getBe32(&m[86 + 4 * i]) / 3600.0f;
    d.weightTotal = m[38] ? double(getBe32(&m[110])) * m[40] / m[38] : 0;
    d.cubeSum = decodeFloat24(&m[114]);
    d.cntN = (m[119] & 1) ? 30 : m[117];
    d.cntE = (m[119] & 2) ? 30 : m[118];
    return d;
}

// Load samples of a graph record (the data of a ReadGraph reply).
inline int loadSamples(const bytes& record)
{
    int n = 0;
    const std::size_t points = (getBe16(&record[0]) - 9) / 3 + 2;
    for (std::size_t i = 0; i < points; ++i) {
        const uint8_t value = i < 2 ? record[9 + i] : record[11 + 3 * (i - 2) + 2];
        n += (value & 0x80) ? 1 : 0;
    }
    return n;
}

constexpr int32_t start = 1710486000;  // 15/03/2024 10:00:00 in Moscow

// A recorder, or a collector of two, whose cranes hold one ordinary graph each.
inline simContent smallContent(deviceKind kind)
{
    simContent content;
    content.kind = kind;
    content.identifier = defaultIdentifier(kind);
    content.clock = start;
    content.loadCode = 87;
    for (const char* regNo : {"R-1", "K-2"}) {
        craneSpec c;
        c.regNo = regNo;
        c.fullCode = static_cast<uint8_t>(200 + 10 * content.slots.size());
        c.readout = start - 86400;
        c.graphs[0].push_back(graphRecord(start - 3600, {0, 0, 0x00, 0, 0, 0x85, 0, 4, 0x01, 0, 6, 0xA0}));
        content.slots.push_back(buildSlot(c));
        if (kind == deviceKind::recorder)
            break;
    }
    return content;
}

}  // namespace simtest
