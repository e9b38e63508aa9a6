// The command line of brennix-sim.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "sim/faults.h"
#include "sim/airDevices.h"
#include "sim/content.h"
#include "sim/device.h"

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

// The options, or nothing with the reason in error. Where the device is served (--pty or
// --irda) is checked by servedSomewhere.
std::optional<simOptions> parseOptions(int argc, const char* const* argv, std::string& error);
// Whether the options name exactly one place to serve the device; the reason in error if not.
bool servedSomewhere(const simOptions& options, std::string& error);

// The content the options describe (a scenario, generated, or the default recorder, with the
// load code), or nothing with the reason in error.
std::optional<simContent> deviceContent(const simOptions& options, std::string& error);
// The content of a scenario (the text of a --scenario file) with the other options.
std::optional<simContent> scenarioContent(std::istream& scenario, const simOptions& options, std::string& error);
// The device of that content with the options' faults.
simDevice optionsDevice(simContent content, const simOptions& options);

extern const char simHelpText[];
