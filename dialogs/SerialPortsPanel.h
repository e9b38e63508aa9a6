// Beside the port choice of the port chooser: which device each of COM1..COM4 stands for on this
// computer, with the serial ports present to choose from, and the line speed. What the user sets
// there is stored when the chooser reads, and is used from then on.
#pragma once

#include <wx/panel.h>

class wxChoice;
class wxComboBox;

class SerialPortsPanel : public wxPanel {
public:
    SerialPortsPanel(wxWindow* parent, const wxFont& labelFont);

    // Stores the devices of the ports ("/Com/COM1".."/Com/COM4"; a field left empty removes the
    // key, so that the port is its standard device again) and the speed ("/Com/Speed" and
    // portSpeed, which the serial line takes at its next open).
    void apply() const;

    // The device of COM1..COM4, chosen from the ports present or typed. A port that the
    // environment maps (BRENNIX_COMn) shows that device and cannot be changed here.
    wxComboBox* devices[4];
    wxChoice* speed;   // bits per second
};
