#include "sim/device.h"

#include <ctime>
#include <utility>

#include "data/devLink.h"
#include "link/codings.h"
#include "link/commands.h"
#include "sim/packet.h"

namespace {

constexpr std::size_t loadReplyData = 9;
constexpr uint16_t noSuchSlot = 0xFFFF;

}  // namespace

int32_t simDevice::systemClock() { return static_cast<int32_t>(std::time(nullptr)); }

simDevice::simDevice(simContent content, faultPlan faults, hostClock clock)
    : state(std::move(content)), faults(std::move(faults)), host(std::move(clock)),
      clockOffset(state.clock - host())
{
}

int32_t simDevice::clockNow() const { return host() + clockOffset; }

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
        target.graph = parameters[0];
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
        byteString clock(7);
        toBcdClock(clockNow(), clock.data());
        return clock;
    }
    case SetClock:
        if (p.size() < 7)
            return std::nullopt;
        clockSet.emplace();
        std::copy_n(p.begin(), 7, clockSet->begin());
        clockOffset = fromBcdClock(clockSet->data()) - host();
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
