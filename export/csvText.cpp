#include "export/csvText.h"

#include <charconv>
#include <ctime>

#include "data/timeText.h"
#include "platform/localTime.h"

const char utf8ByteOrderMark[] = "\xEF\xBB\xBF";

void csvRow::next()
{
    if (!first)
        out += ';';
    first = false;
}

csvRow& csvRow::text(std::string_view utf8)
{
    next();
    if (utf8.find_first_of(";\"\r\n") == std::string_view::npos) {
        out += utf8;
        return *this;
    }
    out += '"';
    for (const char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return *this;
}

csvRow& csvRow::integer(int64_t value)
{
    next();
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
    return *this;
}

csvRow& csvRow::number(double value, int decimals)
{
    next();
    char digits[400];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return *this;
    for (char* c = digits; c != result.ptr; ++c)
        if (*c == '.')
            *c = format.decimal;
    out.append(digits, result.ptr);
    return *this;
}

csvRow& csvRow::empty()
{
    next();
    return *this;
}

namespace {

void twoDigits(char* at, int value)
{
    at[0] = static_cast<char>('0' + value / 10 % 10);
    at[1] = static_cast<char>('0' + value % 10);
}

}  // namespace

std::string_view clockText::dateTime(int64_t t)
{
    const int64_t m = t >= 0 ? t / 60 : (t - 59) / 60;
    if (m != minute) {
        tm local{};
        if (!localFields(static_cast<int32_t>(m * 60), local))
            return {};
        minute = m;
        twoDigits(text, local.tm_mday);
        text[2] = '.';
        twoDigits(text + 3, local.tm_mon + 1);
        text[5] = '.';
        const int year = local.tm_year + 1900;
        twoDigits(text + 6, year / 100);
        twoDigits(text + 8, year % 100);
        text[10] = ' ';
        twoDigits(text + 11, local.tm_hour);
        text[13] = ':';
        twoDigits(text + 14, local.tm_min);
        text[16] = ':';
    }
    twoDigits(text + 17, static_cast<int>(t - m * 60));
    return std::string_view(text, 19);
}

std::string clockText::date(int32_t t) { return localTimeText(t, "%d.%m.%Y"); }
