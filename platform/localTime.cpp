#include "platform/localTime.h"

namespace {

constexpr int64_t secondsPerDay = 86400;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar (month 1..12), and back.
// The calendar repeats every 400 years (146097 days); an era starts on 1 March.
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(int64_t days, int64_t& year, int& month, int& day)
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = yearOfEra + era * 400 + (month <= 2);
}

// Floor division: the quotient rounded towards minus infinity, and the remainder it leaves.
int64_t floorDivide(int64_t value, int64_t divisor, int64_t& remainder)
{
    int64_t quotient = value / divisor;
    remainder = value % divisor;
    if (remainder < 0) {
        remainder += divisor;
        --quotient;
    }
    return quotient;
}

}  // namespace

std::tm utcFields(int64_t t)
{
    int64_t secondOfDay;
    const int64_t days = floorDivide(t, secondsPerDay, secondOfDay);
    int64_t year;
    int month, day;
    civilFromDays(days, year, month, day);
    std::tm fields{};
    fields.tm_sec = static_cast<int>(secondOfDay % 60);
    fields.tm_min = static_cast<int>(secondOfDay / 60 % 60);
    fields.tm_hour = static_cast<int>(secondOfDay / 3600);
    fields.tm_mday = day;
    fields.tm_mon = month - 1;
    fields.tm_year = static_cast<int>(year - 1900);
    int64_t weekday;
    floorDivide(days + 4, 7, weekday);   // 1 January 1970 was a Thursday
    fields.tm_wday = static_cast<int>(weekday);
    fields.tm_yday = static_cast<int>(days - daysFromCivil(year, 1, 1));
    return fields;
}

int64_t fromUtcFields(const std::tm& fields)
{
    int64_t monthOfYear;
    const int64_t year = 1900 + int64_t{fields.tm_year} + floorDivide(fields.tm_mon, 12, monthOfYear);
    const int64_t days = daysFromCivil(year, monthOfYear + 1, 1) + fields.tm_mday - 1;
    return days * secondsPerDay + int64_t{fields.tm_hour} * 3600 + int64_t{fields.tm_min} * 60 + fields.tm_sec;
}
