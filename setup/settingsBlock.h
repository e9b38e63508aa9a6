// The 64-byte settings block that the settings page writes into the recorder's memory at
// address 0, built from what the page's fields hold.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/report.h"

constexpr std::size_t settingsBlockSize = 64;
using settingsBlock = std::array<uint8_t, settingsBlockSize>;

// The page's fields as typed. Texts are UTF-8; a selection is the stored number less one (the
// item index of a list; -1 for none).
struct settingsFields {
    std::string regNo;
    std::string serNo;
    std::string invNo;
    int32_t workSince = 0;   // calendar times, written as local dates
    int32_t regiSince = 0;
    std::string fullCode;
    std::string zeroCode;
    std::string capacity;
    std::string serviceLife;
    int groupSelection = -1;   // A1..A8
    int tripSelection = -1;    // 1..127 %
    int resetSelection = -1;
};

// The block, or nothing after every input error has been reported through error. Number texts
// are cut at 8 bytes. Codes, capacity and service life are refused where their bytes would not
// read back as typed, and a zero code not below the full code is refused: nothing is cut down
// to a low byte.
std::optional<settingsBlock> buildSettingsBlock(const settingsFields& fields, ReportCallback error);

// The capacity byte for a capacity in tonnes, read back by the readout as the byte itself up
// to 127 and as (byte - 127) * 10 above; empty for a capacity the byte cannot hold exactly.
std::optional<uint8_t> capacityByte(unsigned long tonnes);
