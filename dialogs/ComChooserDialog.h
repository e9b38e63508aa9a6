// Choice of the serial port COM1..COM4 for a connection over a serial line or a modem.
#pragma once

#include <string>

#include <wx/dialog.h>

class SerialPortsPanel;
class wxRadioBox;

class ComChooserDialog : public wxDialog {
public:
    // port: the caller's port name, set to "COM1".."COM4" (wxID_YES) or emptied (wxID_NO, also
    // Escape). The port it names when the dialog opens is chosen at first, COM1 otherwise.
    ComChooserDialog(wxWindow* parent, const wxString& title, const wxBitmap& picture,
                     std::string* port);

    wxRadioBox* radio;
    SerialPortsPanel* ports;   // the ports' devices and the speed, stored when the user reads

private:
    void OnRead(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);

    std::string* port;

    wxDECLARE_EVENT_TABLE();
};
