// The command line of brennix-sim.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/faults.h"
#include "sim/irdaAir.h"

struct simOptions {
    bool help = false;
    std::string ptyPath;
    std::optional<uint64_t> seed;
    std::string scenarioPath;
    std::optional<unsigned> collectorSlots;
    unsigned baud = 0;
    std::string dumpPath;
    std::vector<faultSpec> faults;
    std::optional<uint8_t> loadCode;
    std::optional<int32_t> clock;
    bool verbose = false;
    std::string irdaPath;      // serve the emulated IrDA air here instead of a pseudo-terminal
    airSettings air;
    bool irdaEmpty = false;
};

// The options, or nothing with the reason in error.
std::optional<simOptions> parseOptions(int argc, const char* const* argv, std::string& error);

extern const char simHelpText[];
