// Report callbacks for tests: they keep the texts, formatted, for the test to inspect.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

namespace reportLog {

inline std::vector<std::string> errors;
inline std::vector<std::string> statuses;

inline std::string formatted(const char* format, va_list args)
{
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    return text;
}

inline void error(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    errors.push_back(formatted(format, args));
    va_end(args);
}

inline void status(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    statuses.push_back(formatted(format, args));
    va_end(args);
}

inline void clear()
{
    errors.clear();
    statuses.clear();
}

// Empties the log for the lifetime of the object.
struct fresh {
    fresh() { clear(); }
    ~fresh() { clear(); }
};

}  // namespace reportLog
