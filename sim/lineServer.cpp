#include "sim/lineServer.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "sim/packet.h"

namespace {

using monotonic = std::chrono::steady_clock;

constexpr int idlePollMs = 100;
constexpr auto noPeerWait = std::chrono::milliseconds(20);
constexpr int writeStallMs = 2000;   // a reply nobody takes within this is dropped

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(monotonic::now().time_since_epoch()).count();
}

void logBytes(const char* label, const byteString& bytes, const std::string& note)
{
    std::fprintf(stderr, "%s", label);
    for (const uint8_t b : bytes)
        std::fprintf(stderr, " %02X", b);
    if (!note.empty())
        std::fprintf(stderr, " [%s]", note.c_str());
    std::fprintf(stderr, "\n");
}

// Writes bytes, one every perByte (all at once when it is 0). A peer that stops taking bytes (or
// is gone) loses the rest of the reply.
void sendBytes(int fd, const byteString& bytes, std::chrono::nanoseconds perByte,
               const volatile std::sig_atomic_t& stop)
{
    const auto start = monotonic::now();
    const bool paced = perByte.count() > 0;
    std::size_t sent = 0;
    while (sent < bytes.size() && !stop) {
        const std::size_t due = paced ? std::min<std::size_t>(bytes.size(), (monotonic::now() - start) / perByte + 1)
                                      : bytes.size();
        if (due == sent) {
            pauseUntil(start + perByte * static_cast<long>(sent), stop);
            continue;
        }
        const ssize_t n = write(fd, bytes.data() + sent, due - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        pollfd p{fd, POLLOUT, 0};
        if (n < 0 && errno == EAGAIN && poll(&p, 1, writeStallMs) > 0 && (p.revents & POLLOUT))
            continue;
        return;
    }
}

// One exchange; false when the reply ends with a hang-up.
bool exchange(int fd, simDevice& device, const byteString& request, const lineSettings& settings,
              const volatile std::sig_atomic_t& stop)
{
    const simReply reply = device.answer(request);
    if (settings.verbose) {
        const char* name = commandName(request[4]);
        logBytes("request", request, name ? name : "unknown command");
        logBytes(reply.bytes.empty() ? "no reply" : "reply  ", reply.bytes, reply.fault);
    }
    pauseUntil(monotonic::now() + std::chrono::milliseconds(reply.delayMs), stop);
    // 10 bits a byte at the line's baud rate, or a fault's slower trickle.
    const std::chrono::nanoseconds wire(settings.baud ? 10'000'000'000LL / settings.baud : 0);
    const std::chrono::nanoseconds gap = std::chrono::milliseconds(reply.byteGapMs);
    sendBytes(fd, reply.bytes, std::max(wire, gap), stop);
    return !reply.hangUp;
}

}  // namespace

void pauseUntil(monotonic::time_point deadline, const volatile std::sig_atomic_t& stop)
{
    while (!stop && monotonic::now() < deadline)
        std::this_thread::sleep_for(
            std::min<monotonic::duration>(deadline - monotonic::now(), std::chrono::milliseconds(50)));
}

lineEnd serveLine(int fd, simDevice& device, const lineSettings& settings, const volatile std::sig_atomic_t& stop)
{
    requestFramer framer;
    while (!stop) {
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, idlePollMs);
        if (ready <= 0)
            continue;
        if (p.revents & POLLIN) {
            uint8_t buffer[256];
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n == 0)
                return lineEnd::closed;
            for (ssize_t i = 0; i < n; ++i)
                if (auto frame = framer.push(buffer[i], nowMs()))
                    if (!exchange(fd, device, *frame, settings, stop))
                        return lineEnd::hungUp;
            if (n > 0 || errno == EINTR || errno == EAGAIN)
                continue;
        }
        // Nobody holds the slave side of the pseudo-terminal open (yet): wait for the host.
        std::this_thread::sleep_for(noPeerWait);
    }
    return lineEnd::stopped;
}
