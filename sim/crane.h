// What the simulator holds for one recorder: a crane's passport, settings, counters and graphs
// in readable units (craneSpec), and the bytes it serves from them (simSlot).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

constexpr uint32_t secondsPerServiceYear = 31536000;  // 365 days
constexpr std::size_t slotRegNoSize = 12;             // registration number in a SelectSlot reply

using byteString = std::vector<uint8_t>;

// One recorder's content. Texts are Windows-1251 bytes (at most 8 each); times are calendar
// seconds; graphs are the records ReadGraph serves (see graphRecord).
struct craneSpec {
    std::string regNo, serNo, invNo;
    int32_t workSince = 0;   // commissioning date of the crane
    int32_t regiSince = 0;   // installation date of the recorder
    unsigned capacityTonnes = 10;
    uint8_t fullCode = 200;  // ADC code at 100 % load
    uint8_t zeroCode = 20;   // ADC code at 0 % load
    uint8_t serviceYears = 20;
    std::optional<uint32_t> serviceSeconds;  // default: serviceYears * secondsPerServiceYear
    uint8_t group = 5;                       // passport classification group A1..A8
    uint8_t ogpH = 110, ogpL = 100;          // limiter trip and reset levels, percent
    std::array<uint32_t, 5> cycles = {};     // Q1..Q4, then cycles with overload
    std::optional<uint32_t> cyclesTotal;     // default: Q1 + Q2 + Q3 + Q4
    std::array<uint32_t, 6> hourSeconds = {};
    uint32_t loadSum = 0;  // sum of the cycles' relative loads times fullCode
    double cubeSum = 0;
    std::array<std::vector<byteString>, 2> graphs;  // ordinary, overload
    // Bytes 117, 118, 119 (cntN, cntE, flags); default: the graph counts, flags for full stores.
    std::optional<std::array<uint8_t, 3>> graphCounts;

    int32_t readout = 0;                     // when a collector read this recorder
    std::optional<std::string> slotRegNo;    // SelectSlot's registration number; default regNo

    // Raw bytes, applied after the readable fields: a whole memory image replacing the built one,
    // patches at offsets, and the data of the SelectSlot reply.
    std::optional<byteString> rawMemory;
    std::vector<std::pair<std::size_t, byteString>> memoryPatches;
    std::optional<byteString> slotReply;
};

// What a recorder (or one collector slot) serves.
struct simSlot {
    std::string regNo;          // slotRegNoSize bytes, NUL-padded
    uint32_t readoutCounter = 0;
    byteString memory;          // memoryImageSize bytes
    std::array<std::vector<byteString>, 2> graphs;
    std::optional<byteString> slotReply;
};

// Capacity byte: tonnes up to 127 as they are, more as tonnes / 10 + 127 (up to 1280 tonnes).
uint8_t capacityByte(unsigned tonnes);

// 3-byte float: exponent byte in sign-and-magnitude, 16-bit mantissa M, value M * 2^(x - 15).
// Negative values become 0; values beyond the range saturate.
std::array<uint8_t, 3> encodeFloat24(double value);

// The 128-byte memory image of the readable fields, raw bytes not applied.
byteString memoryImage(const craneSpec& crane);

// A graph record as ReadGraph carries it: L (16-bit), the BCD clock of start, the value bytes
// of points 0 and 1, then points 2.. with their time offsets. points holds 3 bytes per point
// (16-bit time offset, value byte), at least two points; the times of points 0 and 1 are not
// stored.
byteString graphRecord(int32_t start, const byteString& points);

// Recorder second counter of a calendar time (the inverse of recorderTime).
uint32_t recorderCounter(int32_t t);

simSlot buildSlot(const craneSpec& crane);
