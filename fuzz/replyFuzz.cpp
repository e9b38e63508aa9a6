// Feeds arbitrary device replies to the readout's decoders: a graph record of any length and
// claimed record length, the memory image, and the replies to Identify, SlotCount and
// SelectSlot. Each reply sits in a buffer of exactly the size the decoder is given, so any read
// past it is a sanitizer finding.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "data/readout.h"
#include "data/timeText.h"
#include "link/commands.h"

namespace {

// The first `wanted` bytes of the input in a buffer of their own, when there are that many.
std::unique_ptr<std::vector<uint8_t>> firstBytes(const uint8_t* data, size_t size, size_t wanted)
{
    if (size < wanted)
        return nullptr;
    return std::make_unique<std::vector<uint8_t>>(data, data + wanted);
}

void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> reply(data, data + size);
    std::unique_ptr<cycLink> graph(decodeGraphRecord(reply.data(), reply.size()));
    check(graph->Points.size() == std::size_t{3} * graph->Npoints);
    if (size >= memoryImageSize) {
        devLink crane;
        decodeMemoryImage(reply.data(), crane, true);
    }
    if (const auto identify = firstBytes(data, size, identifyReplyLength))
        check(decodeIdentifier(identify->data()).size() <= 8);
    if (const auto count = firstBytes(data, size, slotCountReplyLength))
        decodeSlotCount(count->data());
    if (const auto select = firstBytes(data, size, selectSlotReplyLength)) {
        devLink crane;
        decodeSlotSelection(select->data(), crane);
        check(crane.regNo.size() <= 12 && crane.name == crane.regNo + " " + dateTimeText(crane.timeStamp));
    }
    return 0;
}
