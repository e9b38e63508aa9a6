#include <cstdlib>
#include <ctime>

#include "tests/support/timeZone.h"

ScopedTimeZone::ScopedTimeZone(const char* zone) : zone(zone)
{
    if (const char* old = std::getenv("TZ"))
        previous = old;
    setenv("TZ", zone, 1);
    tzset();
}

ScopedTimeZone::~ScopedTimeZone()
{
    if (previous)
        setenv("TZ", previous->c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

bool ScopedTimeZone::holds() const { return true; }
