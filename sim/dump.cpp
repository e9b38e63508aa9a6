#include "sim/dump.h"

#include <cstdio>
#include <string>

#include "link/codings.h"

namespace {

std::string hexByte(uint8_t b)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}

std::string hexAddress(unsigned a)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", a & 0xFFFF);
    return text;
}

// The calendar seconds the readout decodes from a BCD clock, then its fields as they are.
void clockLine(std::ostream& out, const char* key, const bcdClock& c)
{
    char fields[32];
    std::snprintf(fields, sizeof fields, "20%02X-%02X-%02X %02X:%02X:%02X", c[6], c[5], c[4], c[2], c[1], c[0]);
    out << key << ' ' << fromBcdClock(c.data()) << ' ' << fields << '\n';
}

}  // namespace

void writeDump(const simDevice& device, std::ostream& out)
{
    const simContent& content = device.content();
    out << "identifier " << content.identifier << '\n';
    out << "device " << (content.kind == deviceKind::collector ? "collector" : "recorder") << '\n';
    out << "slots " << content.slots.size() << '\n';
    clockLine(out, "clock", device.clockNow());
    if (const auto& set = device.lastClockSet()) {
        clockLine(out, "set-clock", *set);
        out << "set-clock-bcd";
        for (const uint8_t b : *set)
            out << ' ' << hexByte(b);
        out << '\n';
    } else {
        out << "set-clock none\n";
    }
    for (const memoryWrite& w : device.writes())
        out << "write " << w.slot << ' ' << hexAddress(w.address) << ' ' << hexByte(w.value) << '\n';
    for (std::size_t s = 0; s < content.slots.size(); ++s) {
        const byteString& memory = content.slots[s].memory;
        for (std::size_t a = 0; a < memory.size(); a += 16) {
            out << "memory " << s << ' ' << hexAddress(static_cast<unsigned>(a));
            for (std::size_t i = a; i < a + 16 && i < memory.size(); ++i)
                out << ' ' << hexByte(memory[i]);
            out << '\n';
        }
    }
}
