#include "fuzz/scriptedPeer.h"

#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "fuzz/virtualTime.h"
#include "link/codings.h"
#include "link/commands.h"
#include "link/crc16.h"

namespace {

using std::chrono::milliseconds;

// The most the peer puts on the line before the link has read it: a pseudo-terminal holds 4095
// bytes for its reader.
constexpr std::size_t lineRoom = 4000;
constexpr std::size_t maxPieces = 64;

// Bytes waiting on the link's end of the line.
std::size_t waiting(int lineFd)
{
    int n = 0;
    return ioctl(lineFd, FIONREAD, &n) == 0 && n > 0 ? static_cast<std::size_t>(n) : 0;
}

}  // namespace

peerScript readPeerScript(fuzzInput& in)
{
    peerScript script;
    while (!in.empty()) {
        peerAction action;
        action.kind = static_cast<peerAction::Kind>(in.byte() % peerAction::kinds);
        switch (action.kind) {
        case peerAction::send:
            action.bytes = in.bytes(in.byte());
            break;
        case peerAction::reply:
            action.damage = in.byte();
            action.piece = in.byte();
            action.bytes = in.bytes(in.byte());
            if (action.damage & peerAction::badLength)
                action.lengthField = in.be16();
            if (action.damage & peerAction::longer)
                action.extra = in.byte();
            break;
        case peerAction::silence:
            action.quiet = milliseconds(in.be16());
            break;
        default:
            break;
        }
        script.push_back(std::move(action));
    }
    return script;
}

void writePeerAction(fuzzOutput& out, const peerAction& action)
{
    out.byte(action.kind);
    switch (action.kind) {
    case peerAction::send:
        out.byte(static_cast<uint8_t>(action.bytes.size()));
        out.bytes(action.bytes);
        break;
    case peerAction::reply:
        out.byte(action.damage);
        out.byte(action.piece);
        out.byte(static_cast<uint8_t>(action.bytes.size()));
        out.bytes(action.bytes);
        if (action.damage & peerAction::badLength)
            out.be16(action.lengthField);
        if (action.damage & peerAction::longer)
            out.byte(action.extra);
        break;
    case peerAction::silence:
        out.be16(static_cast<uint16_t>(action.quiet.count()));
        break;
    default:
        break;
    }
}

scriptedPeer::~scriptedPeer()
{
    close();
}

void scriptedPeer::prepend(std::vector<peerAction> actions)
{
    script.insert(script.begin(), actions.begin(), actions.end());
}

virtualTime::pollHandler scriptedPeer::pollHandler()
{
    return [this](pollfd* fds, nfds_t count, int timeoutMs) { return answerPoll(fds, count, timeoutMs); };
}

int scriptedPeer::answerPoll(pollfd* fds, nfds_t count, int timeoutMs)
{
    if (count != 1)
        return virtualTime::systemPoll(fds, count, 0);
    pollfd& entry = fds[0];
    const bool wantsInput = (entry.events & POLLIN) != 0;
    milliseconds left(timeoutMs >= 0 ? timeoutMs : 3600000);
    for (;;) {
        if (virtualTime::elapsed() > waitLimit) {
            std::fprintf(stderr, "The link is still waiting after %lld ms of virtual time.\n",
                         static_cast<long long>(virtualTime::elapsed().count()));
            std::abort();
        }
        const bool silent = !script.empty() && script.front().kind == peerAction::silence;
        // Ready as the line is: after a hang-up, with bytes waiting, or for sending unless the
        // device holds the line up for a while.
        if (gone || (wantsInput ? waiting(entry.fd) > 0 : !silent))
            return virtualTime::systemPoll(fds, count, 0);
        if (script.empty() || !connected()) {
            virtualTime::pass(left);
            return 0;
        }
        peerAction& action = script.front();
        switch (action.kind) {
        case peerAction::send:
            if (!deliver(entry.fd, action))
                script.clear();   // a line that takes nothing: the device is silent from now on
            else if (action.bytes.empty())
                script.pop_front();
            break;
        case peerAction::reply: {
            const std::vector<peerAction> pieces = replyPieces(action);
            script.pop_front();
            prepend(pieces);
            break;
        }
        case peerAction::silence:
            if (action.quiet > left) {
                action.quiet -= left;
                virtualTime::pass(left);
                return 0;
            }
            virtualTime::pass(action.quiet);
            left -= action.quiet;
            script.pop_front();
            break;
        case peerAction::hangUp:
            script.pop_front();
            close();
            gone = true;
            break;
        case peerAction::failure:
            script.pop_front();
            errno = EIO;
            return -1;
        case peerAction::cancel:
            script.pop_front();
            stopped = true;   // the link's next look at its cancel check sees it
            break;
        default:
            script.pop_front();
            break;
        }
    }
}

bool scriptedPeer::connected()
{
    if (end < 0 && listener >= 0)
        end = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    return end >= 0;
}

// Puts what fits of the action's bytes on the line and waits (in real time, briefly) until they
// have come through: a pseudo-terminal hands them on through a kernel work queue. False when the
// line takes nothing.
bool scriptedPeer::deliver(int lineFd, peerAction& action)
{
    if (action.bytes.empty())
        return true;
    drain();
    const std::size_t before = waiting(lineFd);
    const std::size_t n = std::min(action.bytes.size(), lineRoom - std::min(before, lineRoom));
    const ssize_t sent = n == 0 ? 0
                         : listener >= 0 ? ::send(end, action.bytes.data(), n, MSG_NOSIGNAL)
                                         : ::write(end, action.bytes.data(), n);
    if (sent <= 0)
        return false;
    action.bytes.erase(action.bytes.begin(), action.bytes.begin() + sent);
    const std::size_t target = before + static_cast<std::size_t>(sent);
    for (int round = 0; round < 1000 && waiting(lineFd) < target; ++round) {
        pollfd entry{lineFd, POLLIN, 0};
        if (waiting(lineFd) == 0)
            virtualTime::systemPoll(&entry, 1, 100);
        else
            sched_yield();
    }
    return true;
}

// The reply to the request in hand as the action shapes it, in the pieces it is sent in.
std::vector<peerAction> scriptedPeer::replyPieces(const peerAction& action) const
{
    std::vector<uint8_t> packet(packetHeaderSize);
    if (inHand.size() >= packetHeaderSize) {
        packet[0] = inHand[1];
        packet[1] = inHand[0];
        packet[4] = inHand[4];
    }
    packet.insert(packet.end(), action.bytes.begin(), action.bytes.end());
    if (action.damage & peerAction::longer)
        packet.resize(packet.size() + 256u * action.extra);
    const std::size_t body = packet.size();
    putBe16(&packet[2], action.damage & peerAction::badLength
                            ? action.lengthField
                            : static_cast<uint16_t>(body + packetCrcSize));
    if (action.damage & peerAction::badAddress)
        packet[0] ^= 0x80;
    if (action.damage & peerAction::badCommand)
        packet[4] ^= 0x80;
    packet.resize(body + packetCrcSize);
    crc16 crc;
    putBe16(&packet[body], crc.packetCrc(packet.data(), body));
    if (action.damage & peerAction::badCrc)
        packet.back() ^= 0x01;

    // At most maxPieces pieces: a long reply in tiny pieces would only make the run slow.
    std::vector<peerAction> pieces;
    const std::size_t step = std::max<std::size_t>(action.piece ? action.piece : packet.size(),
                                                   (packet.size() + maxPieces - 1) / maxPieces);
    for (std::size_t at = 0; at < packet.size(); at += step) {
        peerAction piece;
        piece.bytes.assign(packet.begin() + static_cast<long>(at),
                           packet.begin() + static_cast<long>(std::min(at + step, packet.size())));
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

// Reads and drops what the link has sent: the device takes in its request before it answers.
void scriptedPeer::drain()
{
    uint8_t scratch[4096];
    while (end >= 0 && ::read(end, scratch, sizeof scratch) > 0) {
    }
}

void scriptedPeer::close()
{
    if (end >= 0)
        ::close(end);
    end = -1;
}
