// The link over the serial transport against a scripted device: comm::transact's attempts and
// reply checks and the serial port's reads by the length field, on a real pseudo-terminal whose
// master end the input plays (scriptedPeer.h), in virtual time.
//
// Input: the link plan (linkRun.h), then the device's script.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "fuzz/linkRun.h"
#include "fuzz/virtualTime.h"
#include "link/comm.h"
#include "tests/support/reportLog.h"

namespace {

// A fresh pseudo-terminal for each input, its slave end named as port COM1.
class freshLine {
public:
    freshLine()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 || !ptsname(master))
            std::abort();
        setenv("BRENNIX_COM1", ptsname(master), 1);
    }
    ~freshLine() { unsetenv("BRENNIX_COM1"); }

    int master = -1;   // handed to the peer, which closes it
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzInput in(data, size);
    const linkPlan plan = readLinkPlan(in);
    scriptedPeer peer(readPeerScript(in));
    const freshLine line;
    peer.attach(line.master);
    reportLog::clear();

    const virtualTime::scope time(peer.pollHandler());
    comm link(reportLog::status, reportLog::error);
    link.setCancelCheck([&peer] { return peer.cancelled(); });
    fuzzCheck(link.openSerial("COM1", {}), "the pseudo-terminal does not open");
    runLinkPlan(link, peer, plan);
    return 0;
}
