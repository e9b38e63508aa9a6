// A device's end of a real line (the master of a pseudo-terminal, or a connection to a listening
// Unix socket) played from a fuzz input: what the device sends and in which pieces, how long it
// stays silent, when it hangs up, and a failing wait and the user's cancel. It runs in virtual
// time (virtualTime.h): it acts whenever the link waits on the line, so a silence of two seconds
// costs nothing, and the same input plays the same way every time.
#pragma once

#include <poll.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "fuzz/fuzzInput.h"
#include "fuzz/virtualTime.h"

struct peerAction {
    enum Kind : uint8_t {
        send,      // bytes, as one piece
        reply,     // a framed reply to the request in hand, from its data, damaged as told
        silence,   // nothing for a while
        hangUp,    // the device closes its end
        failure,   // the wait on the line fails (poll gives -1)
        cancel,    // the user presses Stop
        kinds
    };
    // Damage to a reply, bits: a bad CRC; another address or command (CRC valid); a length field
    // of its own (CRC valid); then zero bytes after the data, 256 per unit of `extra`.
    enum Damage : uint8_t { badCrc = 1, badAddress = 2, badCommand = 4, badLength = 8, longer = 16 };

    Kind kind = send;
    std::vector<uint8_t> bytes;            // send: the bytes; reply: its data
    uint8_t damage = 0;                    // reply
    uint16_t lengthField = 0;              // reply with badLength
    uint8_t extra = 0;                     // reply with longer
    uint8_t piece = 0;                     // reply: sent in pieces of this many bytes, 0 whole
    std::chrono::milliseconds quiet{0};    // silence
};

using peerScript = std::deque<peerAction>;

// Actions to the end of the input.
peerScript readPeerScript(fuzzInput& in);
void writePeerAction(fuzzOutput& out, const peerAction& action);

class scriptedPeer {
public:
    explicit scriptedPeer(peerScript script) : script(std::move(script)) {}
    ~scriptedPeer();
    scriptedPeer(const scriptedPeer&) = delete;
    scriptedPeer& operator=(const scriptedPeer&) = delete;

    // The device's end: a descriptor of its own, or the first connection to come to a listener.
    void attach(int fd) { end = fd; }
    void answerOn(int listeningSocket) { listener = listeningSocket; }

    // Actions to do before the script's own, in this order.
    void prepend(std::vector<peerAction> actions);
    // The request (header and data) that replies answer from now on.
    void replyTo(std::vector<uint8_t> request) { inHand = std::move(request); }
    // Whether the script has pressed Stop.
    bool cancelled() const { return stopped; }
    // Stops the peer from waiting beyond limit in all: a link still waiting then ends the run
    // as a finding.
    void limitWaits(std::chrono::milliseconds limit) { waitLimit = limit; }

    // The poll handler of a virtualTime::scope: plays the script until the line is ready for the
    // link or the wait's time has passed.
    virtualTime::pollHandler pollHandler();

private:
    int answerPoll(pollfd* fds, nfds_t count, int timeoutMs);
    bool connected();
    bool deliver(int lineFd, peerAction& action);
    std::vector<peerAction> replyPieces(const peerAction& action) const;
    void drain();
    void close();

    peerScript script;
    std::vector<uint8_t> inHand;
    int end = -1;
    int listener = -1;
    bool gone = false;
    bool stopped = false;
    std::chrono::milliseconds waitLimit = std::chrono::milliseconds::max();
};
