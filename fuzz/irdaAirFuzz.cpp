// The infrared link's opening against an air that answers as the input says: the emulated
// stack's parser of the air's lines (link/irdaSocketsEmulated.cpp, link/irdaAirText.*) and the
// transport's discovery, IAS parameter walk and connection (link/irdaTransport.cpp), in virtual
// time. Also the air's texts read back as they were written.
//
// Input: the air's script (scriptedPeer.h): its lines as the bytes it sends, its silences and
// hang-ups. The same bytes read as a text make the round trip of the air's number texts.
#include <cctype>
#include <cstdio>
#include <cstdint>
#include <string>

#include "fuzz/airListener.h"
#include "fuzz/linkRun.h"
#include "fuzz/virtualTime.h"
#include "link/comm.h"
#include "link/irdaAirText.h"
#include "link/irdaSockets.h"
#include "tests/support/reportLog.h"

namespace {

using std::chrono::milliseconds;

// Discovery: four passes of a device list that must come within 2 s, each empty one followed by
// a 1-s pause; then three more requests, each answered within 2 s.
constexpr milliseconds openLimit{4 * (2000 + 1000) + 3 * 2000 + 1000};

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

void checkTextRoundTrips(const std::string& text)
{
    std::vector<uint8_t> octets;
    if (parseAirOctets(text, irdaOctetSeqMax, octets))
        fuzzCheck(airOctetsText(octets) == upper(text), "octets do not read back");
    uint32_t id = 0;
    if (parseAirId(text.substr(0, 8), id))
        fuzzCheck(airIdText(id) == upper(text.substr(0, 8)), "an identifier does not read back");
}

// The status text that names the devices found says how many, at most the five the list holds,
// and the name of the chosen one, at most 22 bytes.
void checkFoundText(const std::string& status)
{
    unsigned long count = 0;
    int nameAt = 0;
    const char found[] = "найдено %lu устройств (выбрано \"%n";
    if (std::sscanf(status.c_str(), found, &count, &nameAt) != 1 || nameAt == 0)
        return;
    fuzzCheck(count >= 1 && count <= irdaDeviceListRoom, "more devices than the list holds");
    fuzzCheck(status.size() - static_cast<std::size_t>(nameAt) - 2 <= irdaDeviceNameSize,
              "a device name longer than the stack's");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static airListener air;
    checkTextRoundTrips(std::string(reinterpret_cast<const char*>(data), size));

    fuzzInput in(data, size);
    scriptedPeer peer(readPeerScript(in));
    peer.answerOn(air.fd());
    peer.limitWaits(openLimit);
    reportLog::clear();
    {
        const virtualTime::scope time(peer.pollHandler());
        comm link(reportLog::status, reportLog::error);
        link.setCancelCheck([&peer] { return peer.cancelled(); });
        const bool open = link.openIrda();
        fuzzCheck(virtualTime::elapsed() <= openLimit, "the opening outlasts its caps");
        if (open)
            fuzzCheck(reportLog::errors.empty(), "an error text beside an open link");
        else
            fuzzCheck(reportLog::errors.size() == (link.cancelled() ? 0u : 1u),
                      "a failed opening says why once, a stopped one not at all");
        for (const std::string& status : reportLog::statuses)
            checkFoundText(status);
        traceReports();
    }
    air.sweep();
    return 0;
}
