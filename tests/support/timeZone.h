// Local time in a named zone for the lifetime of the object. A POSIX process changes its zone at
// once (TZ and tzset). A Windows process keeps the zone it was started in (under Wine the zone
// that TZ names when it starts): there the object only tells whether the process runs in the
// zone, and a test that needs it is skipped otherwise (SKIP_UNLESS_IN_ZONE); the Windows build
// runs the tests once in each zone they use.
#pragma once

#include <optional>
#include <string>

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

    // Whether local time is that of the zone.
    bool holds() const;

    const std::string zone;

private:
    std::optional<std::string> previous;
};

#define SKIP_UNLESS_IN_ZONE(scoped)                                                                \
    if (!(scoped).holds())                                                                         \
    GTEST_SKIP() << "needs the time zone " << (scoped).zone
