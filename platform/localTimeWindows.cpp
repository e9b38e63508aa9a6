// Local time from the Windows time zone. The C runtime's localtime and mktime are not used: they
// refuse times before 1970 and read a TZ variable of their own syntax when one is set (under Wine
// the Unix zone name, which they misread as UTC).
#include "platform/localTime.h"

#include <windows.h>

namespace {

constexpr int64_t fileTimeUnitsPerSecond = 10000000;
constexpr int64_t fileTimeOf1970 = 116444736000000000;   // 100 ns units since 1 January 1601

TIME_ZONE_INFORMATION currentZone()
{
    TIME_ZONE_INFORMATION zone{};
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
        zone = TIME_ZONE_INFORMATION{};
    return zone;
}

bool hasDaylightSaving(const TIME_ZONE_INFORMATION& zone) { return zone.DaylightDate.wMonth != 0; }

// Offsets of local time from UTC, in seconds east.
long standardOffset(const TIME_ZONE_INFORMATION& zone) { return -(zone.Bias + zone.StandardBias) * 60L; }
long daylightOffset(const TIME_ZONE_INFORMATION& zone) { return -(zone.Bias + zone.DaylightBias) * 60L; }

SYSTEMTIME systemTime(const std::tm& fields)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(fields.tm_year + 1900);
    time.wMonth = static_cast<WORD>(fields.tm_mon + 1);
    time.wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    time.wDay = static_cast<WORD>(fields.tm_mday);
    time.wHour = static_cast<WORD>(fields.tm_hour);
    time.wMinute = static_cast<WORD>(fields.tm_min);
    time.wSecond = static_cast<WORD>(fields.tm_sec);
    return time;
}

int64_t secondsOf(const SYSTEMTIME& time)
{
    std::tm fields{};
    fields.tm_year = time.wYear - 1900;
    fields.tm_mon = time.wMonth - 1;
    fields.tm_mday = time.wDay;
    fields.tm_hour = time.wHour;
    fields.tm_min = time.wMinute;
    fields.tm_sec = time.wSecond;
    return fromUtcFields(fields);
}

// Whether the Windows calendar functions take the year (SYSTEMTIME begins in 1601).
bool inSystemTimeRange(const std::tm& fields) { return fields.tm_year + 1900 >= 1601 && fields.tm_year + 1900 <= 30827; }

}  // namespace

bool localFields(int32_t t, std::tm& local)
{
    const uint64_t units = static_cast<uint64_t>(fileTimeOf1970 + int64_t{t} * fileTimeUnitsPerSecond);
    const FILETIME fileTime{static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
    SYSTEMTIME utc, there;
    if (!FileTimeToSystemTime(&fileTime, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &there))
        return false;
    const int64_t offset = secondsOf(there) - t;
    const TIME_ZONE_INFORMATION zone = currentZone();
    local = utcFields(t + offset);
    local.tm_isdst = hasDaylightSaving(zone) && offset != standardOffset(zone) ? 1 : 0;
    return true;
}

int64_t fromLocalFields(const std::tm& local)
{
    const TIME_ZONE_INFORMATION zone = currentZone();
    const int64_t fields = fromUtcFields(local);
    if (local.tm_isdst > 0 && hasDaylightSaving(zone))
        return fields - daylightOffset(zone);
    const std::tm normal = utcFields(fields);
    if (local.tm_isdst < 0 && inSystemTimeRange(normal)) {
        const SYSTEMTIME there = systemTime(normal);
        SYSTEMTIME utc;
        if (TzSpecificLocalTimeToSystemTime(nullptr, &there, &utc))
            return secondsOf(utc);
    }
    return fields - standardOffset(zone);
}

long presentStandardOffset() { return standardOffset(currentZone()); }
