// Feeds arbitrary device replies to the readout's decoders: a graph record of any length and
// claimed record length, and a memory image. The reply sits in a buffer of exactly its size,
// so any read past it is a sanitizer finding.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "data/readout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> reply(data, data + size);
    std::unique_ptr<cycLink> graph(decodeGraphRecord(reply.data(), reply.size()));
    if (graph->Points.size() != std::size_t{3} * graph->Npoints)
        __builtin_trap();
    if (size >= 128) {
        devLink crane;
        decodeMemoryImage(reply.data(), crane, true);
    }
    return 0;
}
