// The two printf-style report sinks a link (and the operations built on it) report through:
// progress to the status line, failures to the error log.
#pragma once

#if defined(__MINGW32__)
// MinGW's C++ library takes the C99 formats (%zu, %lld), not those of the system's C library.
#define BRENNIX_PRINTF_TYPE __attribute__((format(gnu_printf, 1, 2)))
#elif defined(__GNUC__)
#define BRENNIX_PRINTF_TYPE __attribute__((format(printf, 1, 2)))
#else
#define BRENNIX_PRINTF_TYPE
#endif

using ReportCallback = void (*)(const char* format, ...);
