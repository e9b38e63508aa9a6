// Collects the texts sent to a printf-style report callback, so tests can check them.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

inline std::vector<std::string>& reportedTexts()
{
    static std::vector<std::string> texts;
    return texts;
}

inline void recordReport(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    reportedTexts().push_back(text);
}
