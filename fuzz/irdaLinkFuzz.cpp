// The link over the IrDA transport against a scripted device: comm::transact's attempts and reply
// checks, the transport's reads by the length field and its drain after a failed attempt, through
// the emulated IrDA stack to an air that the input plays (scriptedPeer.h), in virtual time. The
// air first answers the stack's discovery, IAS query and connection as a device in range does
// (irdaAirFuzz plays those answers from its input instead).
//
// Input: the link plan (linkRun.h), then the device's script.
#include <cstdint>

#include "fuzz/airListener.h"
#include "fuzz/linkRun.h"
#include "fuzz/virtualTime.h"
#include "link/comm.h"
#include "tests/support/reportLog.h"

namespace {

// The air's answers to ENUM, the IAS query of "Parameters", NINEWIRE and CONNECT.
const char inRange[] = "DEVICES 1\nDEVICE 01020304 RP\nATTR 2 000104\nOK\nOK\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static airListener air;
    fuzzInput in(data, size);
    const linkPlan plan = readLinkPlan(in);
    scriptedPeer peer(readPeerScript(in));
    peerAction answers;
    answers.bytes.assign(inRange, inRange + sizeof inRange - 1);
    peer.prepend({answers});
    peer.answerOn(air.fd());
    reportLog::clear();
    {
        const virtualTime::scope time(peer.pollHandler());
        comm link(reportLog::status, reportLog::error);
        link.setCancelCheck([&peer] { return peer.cancelled(); });
        fuzzCheck(link.openIrda(), "the device in range is not reached");
        runLinkPlan(link, peer, plan);
    }
    air.sweep();
    return 0;
}
