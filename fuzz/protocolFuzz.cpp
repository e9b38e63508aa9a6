// The classification and the protocol text over arbitrary crane values, as a damaged data file
// can carry them: NaN and infinite readings, huge counters, times anywhere in 32 bits, graphs
// whose point counts and times run wild. Built with the undefined-behaviour sanitizer's checks
// of overflowing integers and of floating values cast to integers out of range, any such
// conversion is a finding; so is a class outside its scale or a text that is not UTF-8.
//
// Input: the crane's fields in the order of devLink (numbers raw, big-endian; texts a length byte
// and the bytes), then its graphs to the end: time stamp, claimed point count, and a length byte
// and the point bytes.
#include <cstdint>
#include <cstring>
#include <string>

#include "data/devLink.h"
#include "fuzz/fuzzCheck.h"
#include "fuzz/fuzzInput.h"
#include "view/classification.h"
#include "view/protocolText.h"

namespace {

float realFrom(fuzzInput& in)
{
    const uint32_t bits = in.be32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool validUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                                                   : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzInput in(data, size);
    devLink crane;
    crane.name = in.text();
    crane.regNo = in.text();
    crane.serNo = in.text();
    crane.invNo = in.text();
    crane.timeStamp = static_cast<int32_t>(in.be32());
    crane.workSince = static_cast<int32_t>(in.be32());
    crane.regiSince = static_cast<int32_t>(in.be32());
    crane.maxWeight = realFrom(in);
    crane.workMaxSeconds = in.be32();
    crane.workMaxYears = in.byte();
    crane.workMaxGrp = in.byte();
    crane.cubeSum = realFrom(in);
    crane.cyclesTotal = in.be32();
    for (uint32_t& cycles : crane.cycles)
        cycles = in.be32();
    for (float& hours : crane.hourCounter)
        hours = realFrom(in);
    crane.weightTotal = realFrom(in);
    while (!in.empty()) {
        auto* graph = new cycLink;
        crane.graphs.pushBack(graph);
        graph->timeStamp = static_cast<int32_t>(in.be32());
        graph->Npoints = in.be16();
        graph->Points = in.bytes(3u * in.byte());
        graph->decodePoints();
    }

    const classification c = classify(crane);
    fuzzCheck(c.Q >= 1 && c.Q <= 4 && c.U >= 0 && c.U <= 9 && c.A >= 1 && c.A <= 8,
              "a class off its scale");
    fuzzCheck(c.resource >= 0 && c.resource <= 100, "a used resource outside 0..100 %");
    for (int m = 0; m < hourCounterCount; ++m) {
        fuzzCheck(c.T[m] >= 0 && c.T[m] <= 9, "a mechanism class off its scale");
        fuzzCheck(c.activity[m].switchOns >= 0, "a negative count of switch-ons");
    }
    fuzzCheck(validUtf8(protocolText(crane)), "a protocol text that is not UTF-8");
    return 0;
}
