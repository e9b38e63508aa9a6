#include <cstdlib>

#include "tests/support/timeZone.h"

ScopedTimeZone::ScopedTimeZone(const char* zone) : zone(zone) {}

ScopedTimeZone::~ScopedTimeZone() = default;

bool ScopedTimeZone::holds() const
{
    const char* started = std::getenv("TZ");
    return started && zone == started;
}
