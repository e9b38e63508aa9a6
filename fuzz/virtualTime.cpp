#include "fuzz/virtualTime.h"

#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

bool active = false;
timespec start{};                   // the system's monotonic time when the scope began
std::chrono::nanoseconds passed{0};
virtualTime::pollHandler handler;

int systemClock(clockid_t id, timespec* time)
{
    return static_cast<int>(syscall(SYS_clock_gettime, id, time));
}

}  // namespace

namespace virtualTime {

scope::scope(pollHandler pollAnswer)
{
    systemClock(CLOCK_MONOTONIC, &start);
    passed = {};
    handler = std::move(pollAnswer);
    active = true;
}

scope::~scope()
{
    active = false;
    handler = nullptr;
}

void pass(std::chrono::milliseconds duration)
{
    if (duration.count() > 0)
        passed += duration;
}

std::chrono::milliseconds elapsed()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(passed);
}

int systemPoll(pollfd* fds, nfds_t count, int timeoutMs)
{
    const timespec timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000000L};
    return ppoll(fds, count, timeoutMs < 0 ? nullptr : &timeout, nullptr);
}

}  // namespace virtualTime

extern "C" int clock_gettime(clockid_t id, timespec* time) noexcept
{
    if (!active || id != CLOCK_MONOTONIC)
        return systemClock(id, time);
    const auto now =
        std::chrono::seconds(start.tv_sec) + std::chrono::nanoseconds(start.tv_nsec) + passed;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now);
    time->tv_sec = static_cast<time_t>(seconds.count());
    time->tv_nsec = static_cast<long>((now - seconds).count());
    return 0;
}

extern "C" int nanosleep(const timespec* requested, timespec* remaining)
{
    if (!active)
        return static_cast<int>(syscall(SYS_nanosleep, requested, remaining));
    passed += std::chrono::seconds(requested->tv_sec) + std::chrono::nanoseconds(requested->tv_nsec);
    return 0;
}

extern "C" int poll(pollfd* fds, nfds_t count, int timeoutMs)
{
    if (!active)
        return virtualTime::systemPoll(fds, count, timeoutMs);
    return handler(fds, count, timeoutMs);
}
