// brennix-sim: a simulated parameter recorder or data collector on a pseudo-terminal or in the
// emulated IrDA air.
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>

#include "link/irdaAirText.h"
#include "sim/device.h"
#include "sim/dump.h"
#include "sim/irdaAir.h"
#include "sim/lineServer.h"
#include "sim/options.h"
#include "sim/ptyLine.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onStopSignal(int) { stopRequested = 1; }

void catchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a blocked wait returns and sees the request
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

int fail(int status, const std::string& text)
{
    std::fprintf(stderr, "brennix-sim: %s\n", text.c_str());
    return status;
}

bool writeDumpFile(const simDevice& device, const std::vector<uint32_t>& irdaConnections,
                   const std::string& path)
{
    std::ofstream out(path, std::ios::trunc);
    writeDump(device, out);
    for (const uint32_t id : irdaConnections)
        out << "irda-connect " << airIdText(id) << '\n';
    out.close();
    return static_cast<bool>(out);
}

// Serves the device on pseudo-terminals, a fresh one after each hang-up, until a stop signal:
// 0, or 1 when a terminal cannot be made.
int servePseudoTerminal(const std::string& linkPath, simDevice& device, const lineSettings& settings)
{
    std::string error;
    ptyLine line(linkPath);
    while (!stopRequested) {
        if (!line.open(error))
            return fail(1, error);
        std::printf("%s\n", line.slavePath().c_str());
        std::fflush(stdout);
        if (serveLine(line.fd(), device, settings, stopRequested) == lineEnd::stopped)
            break;
        line.awaitHostRead();
        if (settings.verbose)
            std::fprintf(stderr, "hang-up: opening a fresh pseudo-terminal\n");
    }
    return 0;
}

// Serves the device in the IrDA air until a stop signal: 0, or 1 when the air cannot be made.
// connections: the devices the host connected to.
int serveAir(const simOptions& options, simDevice& device, const lineSettings& settings,
             std::vector<uint32_t>& connections)
{
    std::string error;
    irdaAir air(options.irdaPath, options.air);
    if (!air.open(error))
        return fail(1, error);
    std::printf("%s\n", options.irdaPath.c_str());
    std::fflush(stdout);
    air.serve(device, settings, stopRequested);
    connections = air.connections();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string error;
    const std::optional<simOptions> options = parseOptions(argc, argv, error);
    if (!options)
        return fail(2, error + " (see brennix-sim --help)");
    if (options->help) {
        std::fputs(simHelpText, stdout);
        return 0;
    }
    if (!servedSomewhere(*options, error))
        return fail(2, error + " (see brennix-sim --help)");
    std::optional<simContent> content = deviceContent(*options, error);
    if (!content)
        return fail(2, error);
    simDevice device = optionsDevice(std::move(*content), *options);
    catchStopSignals();

    const lineSettings settings{options->baud, options->verbose};
    std::vector<uint32_t> irdaConnections;
    const int status = options->irdaPath.empty()
        ? servePseudoTerminal(options->ptyPath, device, settings)
        : serveAir(*options, device, settings, irdaConnections);
    if (!options->dumpPath.empty() && !writeDumpFile(device, irdaConnections, options->dumpPath))
        return fail(1, "cannot write the dump " + options->dumpPath);
    return status;
}
