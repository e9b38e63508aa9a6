#include "sim/options.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>

#include "sim/generator.h"
#include "sim/scenario.h"

const char simHelpText[] = R"(Usage: brennix-sim --pty PATH [options]
       brennix-sim --irda PATH [IrDA options] [options]

Plays a parameter recorder ("RP_v0001") or a handheld data collector ("VELM0001") on a
pseudo-terminal or in the emulated IrDA air, for the demo, the tests and the benchmarks of
Brennix. Serves until SIGINT or SIGTERM, then removes the link, writes the dump and exits with
status 0. Exit status 1: the pseudo-terminal, its link, the air or the dump could not be made;
2: bad options or scenario.

Options:
  --pty PATH         open a new pseudo-terminal in raw mode, make PATH a symlink to its slave
                     side and print the slave's path on stdout. The link appears only once the
                     device is ready to answer.
  --irda PATH        instead of a pseudo-terminal, serve the emulated IrDA air on a
                     Unix-domain socket at PATH (Brennix finds it through BRENNIX_IRDA=PATH)
                     and print PATH on stdout once hosts can connect. The devices in range
                     are listed in order; whichever the host connects to, the IrCOMM byte
                     stream reaches the one simulated recorder or collector.
  --seed N           seed of the generated content and of the fault decisions (default 1)
  --collector N      a collector holding N generated cranes (0..1000) instead of a single
                     recorder
  --scenario FILE    content from a scenario file (see below) instead of generated content
  --clock DATE       device clock at start, "YYYY-MM-DD HH:MM:SS" local time (default: now);
                     with --seed the same clock gives the same content
  --load CODE        the ADC code (0..255) ReadLoad reports
  --baud N           pace outgoing bytes at N baud (10 bits a byte); default: no pacing
  --fault FAULT      inject a fault (repeatable, see below)
  --dump FILE        at exit, write the memory of every slot and the clocks to FILE
  --verbose          log every request and reply to stderr
  --help             this text

IrDA options (with --irda):
  --irda-device ID:NAME:PARAMS
                     a device in range (repeatable, in discovery order): ID 8 hex digits,
                     NAME 1 to 22 bytes, PARAMS its IAS "Parameters" of class "IrDA:IrCOMM"
                     as hex octet pairs (for example 000104: service type with 9-wire),
                     "int" for an integer attribute or "none" for no attribute.
                     Default: 1A2B3C4D:brennix-sim:000104
  --irda-empty       no device in range
  --irda-refuse      connections to the IrCOMM service are refused (ECONNREFUSED)
  --irda-announce N  the device list announces N devices (N of up to 19 digits) and
                     names the devices in range over and over until N lines are out
  --irda-slow MS     each device line of the list comes MS milliseconds after the one before
The faults below act on the IrCOMM byte stream as on the serial line; a hang-up closes the
connection, and the air waits for the host to connect again.

The device answers Identify, SlotCount and SelectSlot (collector only), ReadMemory,
WriteByte, ReadLoad, ReadGraph, ReadClock and SetClock. A collector's memory and graph
commands act on the slot last selected (slot 0 at start). Requests with a bad CRC, too short
for their command, of an unknown command, or collector commands sent to a recorder get no
reply; a partial request followed by 400 ms of silence is dropped. Requests that cannot be
served get a reply without data (7 bytes): ReadMemory or WriteByte beyond the 128-byte memory
(nothing is written), ReadGraph of a graph not stored, memory and graph commands on a
collector without slots. SelectSlot of a missing slot echoes 0xFFFF and keeps the slot.
SetClock sets the device clock, which keeps its fields and runs on without daylight saving.

Faults: TARGET:KIND[=N][@K|%P]
  TARGET  any, or a command name (Identify, SlotCount, SelectSlot, ReadMemory, WriteByte,
          ReadLoad, ReadGraph, ReadClock, SetClock), optionally with #N (ReadGraph: graph
          number N = kind * 30 + index; WriteByte: the address N, 0..65535) and /slot=S
          (any, ReadMemory, ReadGraph, SelectSlot: the slot requested by SelectSlot, or the
          slot selected for the others)
  KIND    noreply          no reply
          crc              the last CRC byte damaged
          command          another command code (valid CRC)
          address          another first address byte (valid CRC)
          truncate[=N]     only the first N bytes (default half), then silence
          delay=MS         the reply after MS milliseconds
          length[=N]       N data bytes instead of the usual count (default one fewer),
                           valid CRC
          echo[=N]         SelectSlot only: echoes slot N (default the requested + 1)
          garbage[=N]      N random bytes (default 12) instead of the reply
          hangup[=N]       the first N bytes (default half), then the pseudo-terminal is
                           closed; a fresh one is opened, the link re-pointed and its slave
                           path printed again (memory, clock and fault counts carry on)
          trickle=MS       the reply one byte every MS milliseconds
          babble[=N]       instead of the reply, N zero bytes (default 600) one every
                           100 ms: a device that does not go quiet for a minute
  @K      only the first K matching requests;  %P  each matching request with
          probability P (0 < P <= 1);  neither: every matching request.
  A request gets at most one fault: the first listed that matches and whose limit admits it.
  Examples: ReadGraph#12:crc@1   WriteByte#5:noreply   ReadMemory/slot=1:noreply
            any:delay=1500%0.1

Scenario file: one item a line, "keyword value"; lines starting with # are comments. Texts
are UTF-8 (stored as Windows-1251), dates "YYYY-MM-DD[ HH:MM:SS]" local time, hex as digit
pairs with optional blanks.
  device recorder|collector   identifier XXXXXXXX   clock DATE   seed N   load CODE
  crane [generate]            starts a crane (generate: from the seed, then overridden)
  regNo|serNo|invNo TEXT      workSince DATE   regiSince DATE   capacity TONNES
  fullCode N   zeroCode N     serviceYears N   serviceSeconds N   group N   ogp TRIP RESET
  cycles Q1 Q2 Q3 Q4 OVER     cyclesTotal N (default Q1+..+Q4)   hours H1 .. H6 (hours)
  loadSum N | weightTotal T   cubeSum X   graphCounts CNTN CNTE FLAGS (default from graphs)
  readout DATE                slotRegNo TEXT (12 at most)   slotReply HEX (raw SelectSlot data)
  graph ordinary|overload DATE   then   points T:L<percent> T:S<hex state> ...
                              (the first two points at time 0)
  graph ordinary|overload raw    then   hex HEX ... (the record from its L field)
  memory HEX (raw image, appended, replaces the fields)   poke OFFSET HEX (patch)
Device lines come before the first crane; a recorder holds one crane (a generated one when
the file names none), a collector one slot per crane.

Dump (--dump): one item a line:
  identifier ID | device recorder|collector | slots N
  clock SECONDS YYYY-MM-DD HH:MM:SS          device clock at exit (seconds as the readout
                                             decodes its fields, then the fields)
  set-clock SECONDS YYYY-MM-DD HH:MM:SS      the same of the last SetClock ("set-clock none")
  set-clock-bcd 7 hex bytes                  as received
  write SLOT ADDR VALUE                      every WriteByte, in order (hex)
  memory SLOT ADDR 16 hex bytes              each slot's 128 bytes
  irda-connect ID                            every IrCOMM connection, in order
)";

namespace {

constexpr uint64_t maxGeneratedSlots = 1000;

bool wholeNumber(const std::string& text, uint64_t max, uint64_t& value)
{
    if (text.empty() || text.size() > 19)
        return false;
    for (const char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return value <= max;
}

}  // namespace

std::optional<simOptions> parseOptions(int argc, const char* const* argv, std::string& error)
{
    simOptions o;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i], value;
        const bool takesValue = name != "--help" && name != "--verbose" && name != "--irda-empty"
            && name != "--irda-refuse";
        const std::size_t equals = name.find('=');
        if (equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
        } else if (takesValue) {
            if (i + 1 >= argc) {
                error = name + " needs a value";
                return std::nullopt;
            }
            value = argv[++i];
        }
        uint64_t n = 0;
        std::string why;
        if (name == "--help")
            o.help = true;
        else if (name == "--verbose")
            o.verbose = true;
        else if (name == "--pty")
            o.ptyPath = value;
        else if (name == "--irda")
            o.irdaPath = value;
        else if (name == "--irda-empty")
            o.irdaEmpty = true;
        else if (name == "--irda-refuse")
            o.air.refuse = true;
        else if (name == "--irda-announce" && wholeNumber(value, UINT64_MAX, n))
            o.air.announced = n;
        else if (name == "--irda-slow" && wholeNumber(value, 60'000, n))
            o.air.lineGapMs = static_cast<unsigned>(n);
        else if (name == "--irda-device") {
            std::optional<airDevice> device = parseAirDevice(value, why);
            if (!device) {
                error = "--irda-device " + value + ": " + why;
                return std::nullopt;
            }
            o.air.devices.push_back(std::move(*device));
        }
        else if (name == "--scenario")
            o.scenarioPath = value;
        else if (name == "--dump")
            o.dumpPath = value;
        else if (name == "--seed" && wholeNumber(value, UINT64_MAX, n))
            o.seed = n;
        else if (name == "--collector" && wholeNumber(value, maxGeneratedSlots, n))
            o.collectorSlots = static_cast<unsigned>(n);
        else if (name == "--baud" && wholeNumber(value, 10'000'000, n) && n > 0)
            o.baud = static_cast<unsigned>(n);
        else if (name == "--load" && wholeNumber(value, 255, n))
            o.loadCode = static_cast<uint8_t>(n);
        else if (name == "--clock" && (o.clock = parseDate(value)))
            continue;
        else if (name == "--fault") {
            std::optional<faultSpec> fault = parseFault(value, why);
            if (!fault) {
                error = "--fault " + value + ": " + why;
                return std::nullopt;
            }
            o.faults.push_back(std::move(*fault));
        } else {
            error = takesValue ? "bad option or value: " + name + " " + value : "unknown option: " + name;
            return std::nullopt;
        }
    }
    if (o.scenarioPath.size() && o.collectorSlots) {
        error = "--collector and --scenario exclude each other (a scenario says 'device collector')";
        return std::nullopt;
    }
    const bool airOptions = o.irdaEmpty || o.air.refuse || !o.air.devices.empty() || o.air.announced
        || o.air.lineGapMs;
    if (airOptions && o.irdaPath.empty()) {
        error = "--irda-device, --irda-empty, --irda-refuse, --irda-announce and --irda-slow need "
                "--irda PATH";
        return std::nullopt;
    }
    if (o.irdaEmpty && (!o.air.devices.empty() || o.air.announced)) {
        error = "--irda-empty excludes --irda-device and --irda-announce";
        return std::nullopt;
    }
    if (!o.irdaPath.empty() && !o.irdaEmpty && o.air.devices.empty())
        o.air.devices.push_back(defaultAirDevice());
    return o;
}

bool servedSomewhere(const simOptions& o, std::string& error)
{
    if (o.ptyPath.empty() != o.irdaPath.empty())
        return true;
    error = o.ptyPath.empty() ? "--pty PATH or --irda PATH is needed" : "--pty and --irda exclude each other";
    return false;
}

namespace {

int32_t startClock(const simOptions& o) { return o.clock.value_or(static_cast<int32_t>(std::time(nullptr))); }

std::optional<simContent> withLoadCode(std::optional<simContent> content, const simOptions& o)
{
    if (content && o.loadCode)
        content->loadCode = *o.loadCode;
    return content;
}

}  // namespace

std::optional<simContent> deviceContent(const simOptions& o, std::string& error)
{
    if (o.scenarioPath.empty()) {
        const uint64_t seed = o.seed.value_or(1);
        return withLoadCode(o.collectorSlots ? generateContent(seed, deviceKind::collector, *o.collectorSlots, startClock(o))
                                             : generateContent(seed, deviceKind::recorder, 1, startClock(o)),
                            o);
    }
    std::ifstream in(o.scenarioPath);
    if (!in) {
        error = "cannot read the scenario " + o.scenarioPath;
        return std::nullopt;
    }
    std::optional<simContent> content = scenarioContent(in, o, error);
    if (!content)
        error = o.scenarioPath + ": " + error;
    return content;
}

std::optional<simContent> scenarioContent(std::istream& scenario, const simOptions& o, std::string& error)
{
    const scenarioContext context{startClock(o), o.seed.value_or(1), o.clock.has_value(), o.seed.has_value()};
    return withLoadCode(parseScenario(scenario, context, error), o);
}

simDevice optionsDevice(simContent content, const simOptions& o)
{
    return simDevice(std::move(content), faultPlan(o.faults, o.seed.value_or(1)));
}
