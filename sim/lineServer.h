// Serving a device on a byte stream: the master side of a pseudo-terminal, or a socket.
#pragma once

#include <chrono>
#include <csignal>

#include "sim/device.h"

struct lineSettings {
    unsigned baud = 0;      // outgoing bytes paced at this rate, 10 bits a byte; 0: no pacing
    bool verbose = false;   // every exchange logged to stderr
};

enum class lineEnd {
    stopped,   // stop was set
    hungUp,    // a hang-up fault was served: the caller closes the line
    closed,    // the peer closed a stream that cannot come back (end of file)
};

// Answers the requests arriving on fd (non-blocking) until one of the ends above. A
// pseudo-terminal whose slave side nobody holds open is waited on, not ended.
lineEnd serveLine(int fd, simDevice& device, const lineSettings& settings, const volatile std::sig_atomic_t& stop);

// Sleeps until the deadline or until stop is set.
void pauseUntil(std::chrono::steady_clock::time_point deadline,
                const volatile std::sig_atomic_t& stop);
