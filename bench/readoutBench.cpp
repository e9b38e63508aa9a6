// Wall time of whole readouts against the simulator pacing its replies at a line speed, as a
// ratio to the wire time of the bytes exchanged (10 bits a byte). The simulator's request log
// gives the bytes; the readout itself runs exactly as in the program.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/readout.h"
#include "link/codings.h"
#include "link/comm.h"
#include "tests/support/simProcess.h"

namespace {

void quiet(const char*, ...) {}

void complain(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
}

struct byteCounts {
    std::size_t requests = 0;
    std::size_t replies = 0;
};

// Counts the bytes of the simulator's verbose log: "request XX XX ...", "reply   XX ...".
byteCounts countLoggedBytes(const std::string& log)
{
    byteCounts counts;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        const bool request = line.rfind("request", 0) == 0;
        if (!request && line.rfind("reply", 0) != 0)
            continue;
        std::istringstream words(line);
        std::string word;
        words >> word;
        std::size_t n = 0;
        while (words >> word && word[0] != '[')
            ++n;
        (request ? counts.requests : counts.replies) += n;
    }
    return counts;
}

// One readout of the simulated device with options at baud; prints the figures.
void measure(const char* title, std::vector<std::string> options, unsigned baud)
{
    options.insert(options.end(), {"--baud", std::to_string(baud), "--verbose"});
    // The simulator inherits standard error: point it at a log file while it starts.
    char logPath[] = "/tmp/brennix-readout-bench-XXXXXX";
    const int logFd = mkstemp(logPath);
    const int savedError = dup(2);
    dup2(logFd, 2);
    simProcess sim(options);
    dup2(savedError, 2);
    close(savedError);
    close(logFd);
    if (sim.waitForTerminal().empty()) {
        std::fprintf(stderr, "the simulator did not come up\n");
        return;
    }

    aList cranes;
    comm link(quiet, complain);
    if (!link.openSerial(sim.link, {}))
        return;
    const auto start = std::chrono::steady_clock::now();
    const bool clean = readDevice(link, cranes, computeRecorderEpoch(), quiet, complain);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    link.close();
    sim.terminate();

    std::ifstream in(logPath);
    std::stringstream log;
    log << in.rdbuf();
    unlink(logPath);
    const byteCounts bytes = countLoggedBytes(log.str());
    std::size_t cranesRead = 0, graphs = 0;
    for (devLink* c = firstCrane(cranes); c; c = nextCrane(c)) {
        ++cranesRead;
        for (cycLink* g = firstGraph(*c); g; g = nextGraph(g))
            ++graphs;
    }
    const double replyWire = bytes.replies * 10.0 / baud;
    const double allWire = (bytes.requests + bytes.replies) * 10.0 / baud;
    std::printf("%s at %u baud: %zu cranes, %zu graphs kept%s\n", title, baud, cranesRead, graphs,
                clean ? "" : " (errors logged)");
    std::printf("  bytes: %zu requested, %zu replied\n", bytes.requests, bytes.replies);
    std::printf("  wall %.3f s; reply wire time %.3f s (ratio %.3f); both directions %.3f s (ratio %.3f)\n",
                wall, replyWire, wall / replyWire, allWire, wall / allWire);
}

}  // namespace

int main()
{
    // A fixed clock: the generated content depends on it.
    const std::vector<std::string> recorder = {"--seed", "1957", "--clock", "2026-01-15 12:00:00"};
    std::vector<std::string> collector = recorder;
    collector.insert(collector.end(), {"--collector", "3"});
    measure("Collector of three recorders", collector, 115200);
    measure("Recorder read-through", recorder, 115200);
    measure("Recorder read-through", recorder, 9600);
    return 0;
}
