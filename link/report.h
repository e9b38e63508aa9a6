// The two printf-style report sinks a link (and the operations built on it) report through:
// progress to the status line, failures to the error log.
#pragma once

#if defined(__GNUC__)
#define BRENNIX_PRINTF_TYPE __attribute__((format(printf, 1, 2)))
#else
#define BRENNIX_PRINTF_TYPE
#endif

using ReportCallback = void (*)(const char* format, ...);
