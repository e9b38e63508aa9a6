#include "app/windowMemory.h"

#include <algorithm>

#include <wx/config.h>
#include <wx/display.h>
#include <wx/filefn.h>

#include "app/MainFrame.h"
#include "dialogs/ConnectDialog.h"
#include "link/portNames.h"

namespace {

// The keys are read without recording a default: the store holds them once the window has
// closed. The connection ways as the store names them.
struct wayName {
    int32_t way;
    const char* name;
};
const wayName wayNames[] = {
    {ID_CONNECT_SERIAL, "serial"},
    {ID_CONNECT_IRDA, "infrared"},
    {ID_CONNECT_MODEM, "modem"},
};

void recallGeometry(MainFrame& frame, wxConfigBase& config)
{
    wxRect stored;
    if (!config.Read("/Window/Width", &stored.width) || !config.Read("/Window/Height", &stored.height))
        return;
    const bool placed = config.Read("/Window/X", &stored.x) && config.Read("/Window/Y", &stored.y);
    // The display the window's corner was on; the window goes where the system puts it when
    // that display is gone.
    const int display = placed ? wxDisplay::GetFromPoint(stored.GetTopLeft()) : wxNOT_FOUND;
    const wxRect area = wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
    const wxSize least = frame.GetMinSize();
    const wxSize size(std::clamp(stored.width, least.x, std::max(least.x, area.width)),
                      std::clamp(stored.height, least.y, std::max(least.y, area.height)));
    if (display == wxNOT_FOUND)
        frame.SetSize(size);
    else
        frame.SetSize(wxRect(stored.GetTopLeft(), size));
}

}  // namespace

void recallWindow(MainFrame& frame)
{
    wxConfigBase& config = *wxConfigBase::Get();
    recallGeometry(frame, config);
    // Shown first at its own size, then maximised: the window manager then knows the size that
    // un-maximising gives back.
    frame.Show();
    bool maximized = false;
    if (config.Read("/Window/Maximized", &maximized) && maximized)
        frame.Maximize();

    wxString folder;
    if (config.Read("/Files/LastDirectory", &folder) && wxDirExists(folder))
        frame.lastDirectory = folder;

    wxString way, port;
    if (config.Read("/Connection/Way", &way))
        for (const wayName& known : wayNames)
            if (way == known.name)
                frame.preselectedWay = known.way;
    if (config.Read("/Connection/Port", &port) && comPortNumber(port.utf8_string()) > 0)
        frame.preselectedPort = port.utf8_string();
}

void rememberWindow(const MainFrame& frame)
{
    wxConfigBase& config = *wxConfigBase::Get();
    config.Write("/Window/Maximized", frame.IsMaximized());
    if (!frame.IsMaximized() && !frame.IsIconized()) {
        const wxRect shown = frame.GetRect();
        config.Write("/Window/X", shown.x);
        config.Write("/Window/Y", shown.y);
        config.Write("/Window/Width", shown.width);
        config.Write("/Window/Height", shown.height);
    }
    if (!frame.lastDirectory.empty())
        config.Write("/Files/LastDirectory", frame.lastDirectory);
    for (const wayName& known : wayNames)
        if (frame.preselectedWay == known.way)
            config.Write("/Connection/Way", known.name);
    if (!frame.preselectedPort.empty())
        config.Write("/Connection/Port", wxString::FromUTF8(frame.preselectedPort));
}
