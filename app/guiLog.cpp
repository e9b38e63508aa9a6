#include "app/guiLog.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

#include <wx/evtloop.h>
#include <wx/log.h>

#include "app/blockedInput.h"
#include "app/uiText.h"

namespace {

wxString formatted(const char* format, va_list args)
{
    va_list measuring;
    va_copy(measuring, args);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length < 0)
        return wxString();
    std::string bytes(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(&bytes[0], bytes.size(), format, args);
    bytes.resize(static_cast<std::size_t>(length));
    return readableText(bytes);
}

}  // namespace

void handleWaitingEvents(long categories)
{
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
        loop->YieldFor(categories);
        return;
    }
    wxGUIEventLoop temporary;
    temporary.YieldFor(categories);
}

void logStatus(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const wxString text = formatted(format, args);
    va_end(args);
    wxLogStatus("%s", text);
    // The readout and the settings update block the event loop for minutes, and GTK paints only
    // from its loop: let it paint and lay out (no timers), so that the status text and the parts
    // of the window a closed dialog uncovered show while the operation runs. Input is taken only
    // while the operation holds it, so that it goes nowhere; otherwise it waits for the loop.
    if (BlockedInput::active())
        BlockedInput::takeEvents();
    else
        handleWaitingEvents(wxEVT_CATEGORY_UI);
}

void logError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const wxString text = formatted(format, args);
    va_end(args);
    wxLogError("%s", text);
}

void FirstErrorLog::Flush()
{
    // The toolkit's dialog shows the last message it holds and lists them all in the order it
    // holds them: hand them over the other way round.
    std::reverse(m_aMessages.begin(), m_aMessages.end());
    std::reverse(m_aSeverity.begin(), m_aSeverity.end());
    std::reverse(m_aTimes.begin(), m_aTimes.end());
    wxLogGui::Flush();
}
