// The simulator's device in the test's own process, reached by a link without a port
// (sim/inProcessDevice.h): the device brennix-sim would serve with the same options.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "sim/inProcessDevice.h"
#include "sim/options.h"

// The device of the options (as brennix-sim takes them, without --pty) and, if given, of a
// scenario text instead of a --scenario file. Bad options fail the test and leave the default
// recorder.
inline simDevice simulatedDevice(std::vector<std::string> options, const std::string& scenario = {})
{
    options.insert(options.begin(), "brennix-sim");
    std::vector<const char*> arguments;
    for (const std::string& option : options)
        arguments.push_back(option.c_str());
    std::string error;
    std::optional<simOptions> parsed = parseOptions(static_cast<int>(arguments.size()), arguments.data(), error);
    std::optional<simContent> content;
    if (parsed) {
        std::istringstream text(scenario);
        content = scenario.empty() ? deviceContent(*parsed, error) : scenarioContent(text, *parsed, error);
    }
    if (!content) {
        ADD_FAILURE() << "simulator options: " << error;
        parsed = simOptions{};
        content = deviceContent(*parsed, error);
    }
    return optionsDevice(std::move(*content), *parsed);
}

// The device and the transports a link opens to reach it.
struct inProcessSim {
    explicit inProcessSim(std::vector<std::string> options, const std::string& scenario = {})
        : device(simulatedDevice(std::move(options), scenario))
    {
    }
    inProcessSim(const inProcessSim&) = delete;
    inProcessSim& operator=(const inProcessSim&) = delete;

    simDevice device;
    inProcessDevice transports{device};
};
