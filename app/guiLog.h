// The printf-style report sinks that the link and the long operations report through:
// progress to the main window's status bar, failures to the error log.
#pragma once

#include "link/report.h"

void logStatus(const char* format, ...) BRENNIX_PRINTF_TYPE;
void logError(const char* format, ...) BRENNIX_PRINTF_TYPE;
