#include "app/globals.h"

#include <ctime>
#include <initializer_list>

int32_t portSpeed = 9600;
int32_t numberOfSensors = 1;
int32_t recorderEpoch = 0;

namespace {

// Offset of local standard time from UTC in seconds, as the zone defines it today.
long presentStandardOffset()
{
    const time_t now = time(nullptr);
    // Half a year apart, at least one of the two instants is outside daylight saving.
    for (const time_t probe : {now, now - 182 * 86400L}) {
        tm local{};
        localtime_r(&probe, &local);
        if (local.tm_isdst <= 0)
            return local.tm_gmtoff;
    }
    tm local{};
    localtime_r(&now, &local);
    return local.tm_gmtoff - 3600;
}

}  // namespace

int32_t computeRecorderEpoch()
{
    // 31 December 1903, 23:00:00 UTC, shifted to local standard time.
    const int64_t utcBase = -2082848400LL;
    return static_cast<int32_t>(utcBase - presentStandardOffset());
}

int32_t recorderTime(uint32_t counter)
{
    return static_cast<int32_t>(counter + static_cast<uint32_t>(recorderEpoch));
}
