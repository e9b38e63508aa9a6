// Choice of the way to reach the recorder: serial port, infrared port or power-line modem.
#pragma once

#include <string>

#include <wx/dialog.h>

// Buttons and results of the dialog; wxID_NO cancels.
enum {
    ID_CONNECT_SERIAL = 500,
    ID_CONNECT_IRDA = 501,
    ID_CONNECT_MODEM = 502,
};

class ConnectDialog : public wxDialog {
public:
    // port: the caller's port name; the serial and modem choices set it to "COM1".."COM4",
    // the infrared choice empties it.
    ConnectDialog(wxWindow* parent, std::string* port);

private:
    void OnSerial(wxCommandEvent& event);
    void OnIrda(wxCommandEvent& event);
    void OnModem(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);

    // Runs the port chooser; result when a port was chosen, else wxID_NO.
    int choosePort(const char* title, const char* picture, int result);

    std::string* port;

    wxDECLARE_EVENT_TABLE();
};
