// Round trips per second of small exchanges over a pseudo-terminal against a responder thread
// that answers at once, without pacing bytes at a line speed: what the link itself costs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "link/comm.h"
#include "link/commands.h"
#include "tests/support/ptyPeer.h"

namespace {

void ignoreReport(const char*, ...) {}

void smallExchanges(benchmark::State& state)
{
    ptyPeer peer;
    const std::vector<uint8_t> reply =
        framed({0x01, 0x01, 0x00, 0x00, Identify, 'R', 'P', '_', 'v', '0', '0', '0', '1'});
    peer.start([&](int, const std::vector<uint8_t>&) { return ptyPeer::Answer{reply}; });
    setenv("BRENNIX_COM1", peer.slavePath().c_str(), 1);

    comm link(ignoreReport, ignoreReport);
    if (!link.openSerial("COM1", {})) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    const uint8_t request[] = {0x01, 0x01, 0x00, 0x00, Identify};
    std::vector<uint8_t> buffer(replyCapacity);
    for (auto _ : state) {
        if (link.transact(request, sizeof request, buffer.data(), buffer.size()) != reply.size()) {
            state.SkipWithError("an exchange failed");
            break;
        }
    }
    state.counters["exchanges/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(smallExchanges)->UseRealTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
