// A ReportCallback that records the formatted texts, for tests of operations that report.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

inline std::vector<std::string>& recordedReports()
{
    static std::vector<std::string> texts;
    return texts;
}

inline void recordReport(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    recordedReports().push_back(text);
}

// Empties the record for the lifetime of the object.
struct freshReports {
    freshReports() { recordedReports().clear(); }
    ~freshReports() { recordedReports().clear(); }
};
