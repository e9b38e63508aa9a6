// What the link fuzzers do on an open link, and what they check: a few transacts, each of one of
// the program's requests into a reply buffer of a chosen capacity, against the scripted peer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzzCheck.h"
#include "fuzz/fuzzInput.h"
#include "fuzz/scriptedPeer.h"
#include "link/comm.h"

struct linkPlan {
    std::vector<uint8_t> requests;   // indexes into linkRequests()
    uint8_t capacityClass = 0;       // see replyRoom()
};

// The requests the readout and the settings update send, without their CRC.
const std::vector<std::vector<uint8_t>>& linkRequests();

// One byte: how many transacts (1..4) and the capacity; then one byte per transact.
linkPlan readLinkPlan(fuzzInput& in);
void writeLinkPlan(fuzzOutput& out, const linkPlan& plan);

// The reports go to tests/support/reportLog.h, emptied first. Each transact must come back within
// the link's caps of virtual time, and with a reply only when it is whole and right: its length
// field, CRC, addresses and command, and no error text. Without a reply there is an error text
// to say why, the link's own last, unless the user stopped the link, which gives no such text.
// A broken promise aborts.
void runLinkPlan(comm& link, scriptedPeer& peer, const linkPlan& plan);

// With BRENNIX_FUZZ_TRACE set, prints the texts reported so far and the virtual time, for
// looking into a finding.
void traceReports();
