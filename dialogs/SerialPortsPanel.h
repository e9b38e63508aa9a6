// Beside the port choice of the port chooser: which device each of COM1..COM4 stands for on this
// computer, with the serial ports present to choose from (dialogs/portDeviceFields.h), and the
// line speed. What the user sets there is stored when the chooser reads, and used from then on.
#pragma once

#include <vector>

#include <wx/panel.h>

class wxChoice;
class wxComboBox;

class SerialPortsPanel : public wxPanel {
public:
    SerialPortsPanel(wxWindow* parent, const wxFont& labelFont);

    // Stores the ports' devices, and the speed in "/Com/Speed" and portSpeed, which the serial
    // line takes at its next open: a changed speed holds from this readout on.
    void apply() const;

    std::vector<wxComboBox*> devices;   // COM1..COM4, chosen from the ports present or typed
    wxChoice* speed;                    // bits per second
};
