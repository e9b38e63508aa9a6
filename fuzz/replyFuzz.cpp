// Feeds arbitrary device replies to the readout's decoders: a graph record of any length and
// claimed record length, the memory image, and the replies to Identify, SlotCount and
// SelectSlot. Each reply sits in a buffer of exactly the size the decoder is given, so any read
// past it is a sanitizer finding.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "data/readout.h"
#include "data/timeText.h"
#include "fuzz/fuzzCheck.h"
#include "link/codings.h"
#include "link/commands.h"

namespace {

// The first `wanted` bytes of the input in a buffer of their own, when there are that many.
std::optional<std::vector<uint8_t>> firstBytes(const uint8_t* data, size_t size, size_t wanted)
{
    if (size < wanted)
        return std::nullopt;
    return std::vector<uint8_t>(data, data + wanted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> reply(data, data + size);
    std::unique_ptr<cycLink> graph(decodeGraphRecord(reply.data(), reply.size()));
    fuzzCheck(graph->Points.size() == std::size_t{3} * graph->Npoints, "points other than the count");
    if (size >= memoryImageSize) {
        devLink crane;
        decodeMemoryImage(reply.data(), crane, true);
    }
    if (const auto identify = firstBytes(data, size, identifyReplyLength))
        fuzzCheck(decodeIdentifier(identify->data()).size() <= 8, "an identifier beyond its field");
    if (const auto count = firstBytes(data, size, slotCountReplyLength))
        decodeSlotCount(count->data());
    if (const auto select = firstBytes(data, size, selectSlotReplyLength)) {
        static const int32_t recorderEpoch = computeRecorderEpoch();
        devLink crane;
        decodeSlotSelection(select->data(), recorderEpoch, crane);
        fuzzCheck(crane.regNo.size() <= 12, "a registration number beyond its field");
        fuzzCheck(crane.name == crane.regNo + " " + dateTimeText(crane.timeStamp),
                  "a slot's name not made of its number and time");
    }
    return 0;
}
