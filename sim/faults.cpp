#include "sim/faults.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "link/codings.h"
#include "link/commands.h"
#include "sim/packet.h"

namespace {

constexpr std::pair<uint8_t, const char*> commandNames[] = {
    {ReadClock, "ReadClock"}, {SetClock, "SetClock"},   {ReadMemory, "ReadMemory"},
    {WriteByte, "WriteByte"}, {ReadLoad, "ReadLoad"},   {ReadGraph, "ReadGraph"},
    {Identify, "Identify"},   {SlotCount, "SlotCount"}, {SelectSlot, "SelectSlot"},
};

struct kindName {
    faultKind kind;
    const char* name;
    bool needsArgument;
    bool takesArgument;
};
constexpr kindName kindNames[] = {
    {faultKind::noReply, "noreply", false, false},  {faultKind::badCrc, "crc", false, false},
    {faultKind::wrongCommand, "command", false, false},
    {faultKind::wrongAddress, "address", false, false},
    {faultKind::truncate, "truncate", false, true}, {faultKind::delay, "delay", true, true},
    {faultKind::length, "length", false, true},     {faultKind::echo, "echo", false, true},
    {faultKind::garbage, "garbage", false, true},   {faultKind::hangUp, "hangup", false, true},
    {faultKind::trickle, "trickle", true, true},    {faultKind::babble, "babble", false, true},
};

constexpr unsigned babbleGapMs = 100;
constexpr unsigned babbleBytes = 600;   // a minute of talk

bool equalNoCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

// A whole decimal number, at most max.
bool parseNumber(const std::string& text, unsigned long max, unsigned& value)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return false;
    const unsigned long v = std::strtoul(text.c_str(), nullptr, 10);
    if (v > max || text.size() > 10)
        return false;
    value = static_cast<unsigned>(v);
    return true;
}

bool parseTarget(std::string text, faultSpec& fault, std::string& error)
{
    const std::size_t nameEnd = std::min(text.find('#'), text.find('/'));
    const std::string name = text.substr(0, nameEnd);
    text.erase(0, std::min(nameEnd, text.size()));
    if (!equalNoCase(name, "any")) {
        for (const auto& [code, commandText] : commandNames)
            if (equalNoCase(name, commandText))
                fault.command = code;
        if (!fault.command) {
            error = "unknown command '" + name + "'";
            return false;
        }
    }
    while (!text.empty()) {
        unsigned value = 0;
        const std::size_t end = std::min(text.find('#', 1), text.find('/', 1));
        const std::string part = text.substr(0, end);
        text.erase(0, std::min(end, text.size()));
        if (part[0] == '#' && parseNumber(part.substr(1), fault.command == WriteByte ? 65535 : 255, value)) {
            if (fault.command != ReadGraph && fault.command != WriteByte) {
                error = "a number (#N) needs the target ReadGraph (graph number) or WriteByte (address)";
                return false;
            }
            fault.number = value;
        } else if (part.rfind("/slot=", 0) == 0 && parseNumber(part.substr(6), 65535, value)) {
            if (fault.command && *fault.command != ReadMemory && *fault.command != ReadGraph
                && *fault.command != SelectSlot) {
                error = "a slot (/slot=S) needs the target any, ReadMemory, ReadGraph or SelectSlot";
                return false;
            }
            fault.slot = value;
        } else {
            error = "bad target part '" + part + "'";
            return false;
        }
    }
    return true;
}

bool parseLimit(const std::string& limit, faultSpec& fault, std::string& error)
{
    if (limit.empty())
        return true;
    if (limit[0] == '@' && parseNumber(limit.substr(1), 1000000000, fault.firstTimes) && fault.firstTimes > 0)
        return true;
    if (limit[0] == '%') {
        char* end = nullptr;
        const std::string number = limit.substr(1);
        fault.probability = std::strtod(number.c_str(), &end);
        if (!number.empty() && *end == '\0' && fault.probability > 0 && fault.probability <= 1)
            return true;
    }
    error = "bad limit '" + limit + "' (@K with K >= 1, or %P with 0 < P <= 1)";
    return false;
}

bool parseAction(const std::string& text, faultSpec& fault, std::string& error)
{
    const std::size_t limitAt = text.find_first_of("@%");
    const std::string action = text.substr(0, limitAt);
    const std::size_t equals = action.find('=');
    const std::string name = action.substr(0, equals);
    const auto kind = std::find_if(std::begin(kindNames), std::end(kindNames),
                                   [&](const kindName& k) { return equalNoCase(name, k.name); });
    if (kind == std::end(kindNames)) {
        error = "unknown fault kind '" + name + "'";
        return false;
    }
    fault.kind = kind->kind;
    if (equals != std::string::npos) {
        unsigned value = 0;
        if (!kind->takesArgument || !parseNumber(action.substr(equals + 1), 65535, value)) {
            error = "bad value in '" + action + "'";
            return false;
        }
        fault.argument = value;
    } else if (kind->needsArgument) {
        error = std::string("the fault '") + kind->name + "' needs a value (" + kind->name + "=N)";
        return false;
    }
    if (fault.kind == faultKind::echo && fault.command != SelectSlot) {
        error = "the fault 'echo' needs the target SelectSlot";
        return false;
    }
    return parseLimit(limitAt == std::string::npos ? std::string() : text.substr(limitAt), fault, error);
}

// Puts a new length and CRC on a packet whose header or data were changed.
void reseal(byteString& packet)
{
    packet.resize(packet.size() - packetCrcSize);
    sealPacket(packet);
}

}  // namespace

const char* commandName(uint8_t code)
{
    for (const auto& [c, name] : commandNames)
        if (c == code)
            return name;
    return nullptr;
}

std::optional<faultSpec> parseFault(const std::string& text, std::string& error)
{
    faultSpec fault;
    fault.text = text;
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) {
        error = "expected TARGET:KIND";
        return std::nullopt;
    }
    if (!parseTarget(text.substr(0, colon), fault, error) || !parseAction(text.substr(colon + 1), fault, error))
        return std::nullopt;
    return fault;
}

faultPlan::faultPlan(std::vector<faultSpec> faults, uint64_t seed)
    : faults(std::move(faults)), hits(this->faults.size(), 0), random(seed)
{
}

const faultSpec* faultPlan::pick(const requestTarget& target)
{
    for (std::size_t i = 0; i < faults.size(); ++i) {
        const faultSpec& f = faults[i];
        if ((f.command && *f.command != target.command) || (f.number && f.number != target.number)
            || (f.slot && *f.slot != target.slot))
            continue;
        if (f.firstTimes && hits[i] >= f.firstTimes)
            continue;
        if (f.probability < 1 && !random.chance(f.probability))
            continue;
        ++hits[i];
        return &f;
    }
    return nullptr;
}

simReply faultPlan::deliver(const requestTarget& target, byteString reply)
{
    simReply out;
    const faultSpec* fault = pick(target);
    if (!fault) {
        out.bytes = std::move(reply);
        return out;
    }
    out.fault = fault->text;
    const std::size_t half = reply.size() / 2;
    const std::size_t dataSize = reply.size() - smallestPacket;
    switch (fault->kind) {
    case faultKind::noReply:
        reply.clear();
        break;
    case faultKind::badCrc:
        reply.back() ^= 0x01;
        break;
    case faultKind::wrongCommand:
        reply[4] ^= 0x80;
        reseal(reply);
        break;
    case faultKind::wrongAddress:
        ++reply[0];
        reseal(reply);
        break;
    case faultKind::truncate:
        reply.resize(std::min<std::size_t>(fault->argument.value_or(half), reply.size()));
        break;
    case faultKind::delay:
        out.delayMs = fault->argument.value_or(0);
        break;
    case faultKind::length:
        reply.resize(reply.size() - packetCrcSize);
        reply.resize(packetHeaderSize + fault->argument.value_or(dataSize > 0 ? dataSize - 1 : 1), 0);
        sealPacket(reply);
        break;
    case faultKind::echo:
        if (dataSize >= 2) {
            putBe16(&reply[packetHeaderSize],
                    static_cast<uint16_t>(fault->argument.value_or(getBe16(&reply[packetHeaderSize]) + 1u)));
            reseal(reply);
        }
        break;
    case faultKind::garbage:
        reply.resize(fault->argument.value_or(12));
        for (uint8_t& b : reply)
            b = static_cast<uint8_t>(random.next());
        break;
    case faultKind::hangUp:
        reply.resize(std::min<std::size_t>(fault->argument.value_or(half), reply.size()));
        out.hangUp = true;
        break;
    case faultKind::trickle:
        out.byteGapMs = fault->argument.value_or(0);
        break;
    case faultKind::babble:
        reply.assign(fault->argument.value_or(babbleBytes), 0);
        out.byteGapMs = babbleGapMs;
        break;
    }
    out.bytes = std::move(reply);
    return out;
}
