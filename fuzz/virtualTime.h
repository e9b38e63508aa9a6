// Virtual time for running the link under a fuzzer. While a virtualTime::scope lives, the
// monotonic clock (std::chrono::steady_clock, the link's clock) stands still unless a wait lets
// time pass, sleeps pass at once, and every poll() goes to the scope's handler, the scripted
// peer, which decides what is ready and how much time the wait takes. The link's time-outs,
// seconds each, then cost no real time and come out the same on every run of an input. Outside
// a scope the three functions are the system's.
//
// The program's own code is untouched: this file defines clock_gettime, nanosleep and poll, and
// the fuzz executable's definitions take the place of the C library's for the whole process.
#pragma once

#include <poll.h>

#include <chrono>
#include <functional>

namespace virtualTime {

// Answers one poll() of the code under test, as poll() does.
using pollHandler = std::function<int(pollfd* fds, nfds_t count, int timeoutMs)>;

class scope {
public:
    explicit scope(pollHandler handler);
    ~scope();
    scope(const scope&) = delete;
    scope& operator=(const scope&) = delete;
};

// Lets virtual time pass.
void pass(std::chrono::milliseconds duration);
// Virtual time since the scope began.
std::chrono::milliseconds elapsed();
// The system's poll(), for the handler to look at real descriptors.
int systemPoll(pollfd* fds, nfds_t count, int timeoutMs);

}  // namespace virtualTime
