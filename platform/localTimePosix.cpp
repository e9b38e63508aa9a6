// Local time from the C library: the zone of TZ, or the system's.
#include "platform/localTime.h"

#include <initializer_list>

bool localFields(int32_t t, std::tm& local)
{
    const time_t when = t;
    return localtime_r(&when, &local) != nullptr;
}

int64_t fromLocalFields(const std::tm& local)
{
    std::tm fields = local;
    return mktime(&fields);
}

long presentStandardOffset()
{
    const time_t now = time(nullptr);
    // Half a year apart, at least one of the two instants is outside daylight saving.
    for (const time_t probe : {now, now - 182 * 86400L}) {
        std::tm local{};
        localtime_r(&probe, &local);
        if (local.tm_isdst <= 0)
            return local.tm_gmtoff;
    }
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_gmtoff - 3600;
}
