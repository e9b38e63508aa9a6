// Calendar times (seconds since 1 January 1970 UTC) and broken-down times, in UTC and in the local
// time of the computer's time zone. The UTC half is plain arithmetic; the local half is the
// platform's (localTimePosix.cpp, localTimeWindows.cpp).
#pragma once

#include <cstdint>
#include <ctime>

// The broken-down UTC time of t in the proleptic Gregorian calendar, weekday and day of the year
// included.
std::tm utcFields(int64_t t);
// The calendar time of broken-down UTC fields, normalised as mktime normalises: fields beyond
// their range carry into the next larger one (hour -1 is 23:00 of the day before).
int64_t fromUtcFields(const std::tm& fields);

// The broken-down local time of t, with tm_isdst set; false where the platform has none for it.
bool localFields(int32_t t, std::tm& local);
// The calendar time of a broken-down local time, normalised as fromUtcFields does (mktime): with
// tm_isdst 0 the fields are read as standard time, above 0 as daylight saving time, below 0 as
// whichever of the two was in force. -1 where there is none.
int64_t fromLocalFields(const std::tm& local);
// The offset of local standard time from UTC, in seconds east, as the zone defines it today.
long presentStandardOffset();
