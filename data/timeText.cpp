#include "data/timeText.h"

#include <ctime>

#include "platform/localTime.h"

std::string localTimeText(int32_t t, const char* format)
{
    tm local{};
    if (!localFields(t, local))
        return std::string();
    char text[64];
    const size_t n = strftime(text, sizeof text, format, &local);
    return std::string(text, n);
}

std::string dateTimeText(int32_t t) { return localTimeText(t, "%d/%m/%Y %H:%M:%S"); }
