// The printf-style report sinks that the link and the long operations report through:
// progress to the main window's status bar, failures to the error log.
#pragma once

#include <wx/log.h>

#include "link/report.h"

void logStatus(const char* format, ...) BRENNIX_PRINTF_TYPE;
void logError(const char* format, ...) BRENNIX_PRINTF_TYPE;

// Lets the toolkit handle the waiting events of the given categories (wxEVT_CATEGORY_UI, ...)
// from inside a long operation that blocks the event loop; other events wait for the loop.
void handleWaitingEvents(long categories);

// The program's error log: it collects an operation's errors and shows them when the operation
// is over, the first one as the message and all of them under "Details", from the last one back
// to the first. The first is the cause; what failed after it follows from it (a device that
// hung up gives one "не могу принять данные" and then a hundred texts of exchanges that could
// not be made).
class FirstErrorLog : public wxLogGui {
public:
    void Flush() override;
};
