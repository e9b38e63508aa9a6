#include "sim/device.h"

#include <algorithm>
#include <ctime>
#include <utility>

#include "data/devLink.h"
#include "link/codings.h"
#include "link/commands.h"
#include "platform/localTime.h"
#include "sim/packet.h"

namespace {

constexpr std::size_t loadReplyData = 9;
constexpr uint16_t noSuchSlot = 0xFFFF;

int fromBcd(uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); }
uint8_t toBcd(int v) { return static_cast<uint8_t>((v / 10 % 10) << 4 | v % 10); }

// The clock's fields as seconds, read as if they were UTC, so that they tick on plainly.
int64_t fieldSeconds(const bcdClock& clock)
{
    tm t{};
    t.tm_sec = fromBcd(clock[0]);
    t.tm_min = fromBcd(clock[1]);
    t.tm_hour = fromBcd(clock[2]);
    t.tm_mday = fromBcd(clock[4]);
    t.tm_mon = fromBcd(clock[5]) - 1;
    t.tm_year = 100 + fromBcd(clock[6]);
    return fromUtcFields(t);
}

bcdClock clockFields(int64_t seconds)
{
    const tm t = utcFields(seconds);
    return {toBcd(t.tm_sec), toBcd(t.tm_min), toBcd(t.tm_hour), toBcd(t.tm_wday == 0 ? 7 : t.tm_wday),
            toBcd(t.tm_mday), toBcd(t.tm_mon + 1), toBcd(t.tm_year - 100)};
}

bcdClock localClock(int32_t t)
{
    bcdClock clock;
    toBcdClock(t, clock.data());
    return clock;
}

}  // namespace

int32_t simDevice::systemClock() { return static_cast<int32_t>(std::time(nullptr)); }

simDevice::simDevice(simContent content, faultPlan faults, hostClock clock)
    : state(std::move(content)), faults(std::move(faults)), host(std::move(clock)),
      clockOffset(fieldSeconds(localClock(state.clock)) - host())
{
}

bcdClock simDevice::clockNow() const { return clockFields(host() + clockOffset); }

simReply simDevice::answer(const byteString& request)
{
    if (!packetCrcValid(request))
        return {};
    const uint8_t command = request[4];
    const byteString parameters(request.begin() + packetHeaderSize, request.end() - packetCrcSize);
    requestTarget target{command, selected, std::nullopt};
    if (command == SelectSlot && parameters.size() >= 2)
        target.slot = getBe16(parameters.data());
    if (command == ReadGraph && !parameters.empty())
        target.number = parameters[0];
    if (command == WriteByte && parameters.size() >= 2)
        target.number = getBe16(parameters.data());
    const std::optional<byteString> data = serve(command, parameters);
    if (!data)
        return {};
    return faults.deliver(target, replyPacket(request, *data));
}

std::optional<byteString> simDevice::serve(uint8_t command, const byteString& p)
{
    const bool collector = state.kind == deviceKind::collector;
    switch (command) {
    case Identify: {
        byteString id(state.identifier.begin(), state.identifier.end());
        id.resize(8, ' ');
        return id;
    }
    case SlotCount:
        if (!collector)
            return std::nullopt;
        return byteString{static_cast<uint8_t>(state.slots.size() >> 8), static_cast<uint8_t>(state.slots.size())};
    case SelectSlot:
        if (!collector || p.size() < 2)
            return std::nullopt;
        return selectSlot(getBe16(p.data()));
    case ReadMemory:
        if (p.size() < 3)
            return std::nullopt;
        return readMemory(getBe16(p.data()), p[2]);
    case WriteByte:
        if (p.size() < 3)
            return std::nullopt;
        return writeByte(getBe16(p.data()), p[2]);
    case ReadLoad: {
        byteString load(loadReplyData, 0);
        load[0] = state.loadCode;
        return load;
    }
    case ReadGraph:
        if (p.empty())
            return std::nullopt;
        return readGraph(p[0]);
    case ReadClock: {
        const bcdClock clock = clockNow();
        return byteString(clock.begin(), clock.end());
    }
    case SetClock:
        if (p.size() < 7)
            return std::nullopt;
        clockSet.emplace();
        std::copy_n(p.begin(), 7, clockSet->begin());
        clockOffset = fieldSeconds(*clockSet) - host();
        return byteString{};
    default:
        return std::nullopt;
    }
}

simSlot* simDevice::currentSlot()
{
    return selected < state.slots.size() ? &state.slots[selected] : nullptr;
}

byteString simDevice::selectSlot(unsigned slot)
{
    byteString data(2 + slotRegNoSize + 4, 0);
    if (slot >= state.slots.size()) {
        putBe16(data.data(), noSuchSlot);
        return data;
    }
    selected = slot;
    const simSlot& s = state.slots[slot];
    if (s.slotReply)
        return *s.slotReply;
    putBe16(data.data(), static_cast<uint16_t>(slot));
    std::copy_n(s.regNo.begin(), std::min(s.regNo.size(), slotRegNoSize), data.begin() + 2);
    putBe32(&data[2 + slotRegNoSize], s.readoutCounter);
    return data;
}

byteString simDevice::readMemory(unsigned address, unsigned count)
{
    const simSlot* slot = currentSlot();
    if (!slot || address + count > slot->memory.size())
        return {};
    return byteString(slot->memory.begin() + address, slot->memory.begin() + address + count);
}

byteString simDevice::writeByte(unsigned address, uint8_t value)
{
    simSlot* slot = currentSlot();
    if (!slot || address >= slot->memory.size())
        return {};
    slot->memory[address] = value;
    memoryWrites.push_back({selected, static_cast<uint16_t>(address), value});
    return {static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address), value};
}

byteString simDevice::readGraph(unsigned number)
{
    const simSlot* slot = currentSlot();
    const unsigned kind = number / graphsPerKind, index = number % graphsPerKind;
    if (!slot || kind > 1 || index >= slot->graphs[kind].size())
        return {};
    return slot->graphs[kind][index];
}
