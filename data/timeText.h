// Local-time formatting of calendar seconds, as every dated text of the program uses it.
#pragma once

#include <cstdint>
#include <string>

// strftime of the local time of t; the format is one of the program's own fixed formats.
std::string localTimeText(int32_t t, const char* format);

// "%d/%m/%Y %H:%M:%S": crane names and graph start times.
std::string dateTimeText(int32_t t);
