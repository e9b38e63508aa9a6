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

// Sleeps until the deadline or until stop is set.
void waitUntil(monotonic::time_point deadline, const volatile std::sig_atomic_t& stop)
{
    while (!stop && monotonic::now() < deadline)
        std::this_thread::sleep_for(std::min<monotonic::duration>(deadline - monotonic::now(), std::chrono::milliseconds(50)));
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

// Writes bytes, paced at baud when it is not 0. A peer that stops taking bytes (or is gone)
// loses the rest of the reply.
void sendBytes(int fd, const byteString& bytes, unsigned baud, const volatile std::sig_atomic_t& stop)
{
    const auto start = monotonic::now();
    const auto perByte = std::chrono::nanoseconds(baud ? 10'000'000'000LL / baud : 0);
    std::size_t sent = 0;
    while (sent < bytes.size() && !stop) {
        const std::size_t due = baud ? std::min<std::size_t>(bytes.size(), (monotonic::now() - start) / perByte + 1)
                                     : bytes.size();
        if (due == sent) {
            waitUntil(start + perByte * static_cast<long>(sent), stop);
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
    waitUntil(monotonic::now() + std::chrono::milliseconds(reply.delayMs), stop);
    sendBytes(fd, reply.bytes, settings.baud, stop);
    return !reply.hangUp;
}

}  // namespace

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
