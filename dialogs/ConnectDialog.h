// Choice of the way to reach the recorder: serial port, infrared port or power-line modem.
#pragma once

#include <cstdint>
#include <string>

#include <wx/dialog.h>

class comm;

// Buttons and results of the dialog; wxID_NO (also Escape) cancels.
enum {
    ID_CONNECT_SERIAL = 500,
    ID_CONNECT_IRDA = 501,
    ID_CONNECT_MODEM = 502,
};

class ConnectDialog : public wxDialog {
public:
    // port: the caller's port name; the serial and modem choices set it to "COM1".."COM4",
    // the infrared choice empties it. The port chooser starts on the port it names. lastWay: the
    // way chosen last (500, 501, 502), whose button has the keyboard focus, so that Enter or
    // Space chooses it again; any other value leaves the focus to the toolkit.
    ConnectDialog(wxWindow* parent, std::string* port, int32_t lastWay = wxID_NO);

private:
    void OnSerial(wxCommandEvent& event);
    void OnIrda(wxCommandEvent& event);
    void OnModem(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);

    // Runs the port chooser with the picture of result; result when a port was chosen, else wxID_NO.
    int choosePort(const char* title, int result);

    std::string* port;

    wxDECLARE_EVENT_TABLE();
};

// Whether the dialog's result chose a way to the recorder (500, 501 or 502), not a cancel.
bool isConnectionChoice(int32_t connectResult);

// Opens the link the way the dialog chose (500 and 502 the serial port portName, 501 infrared).
// False when the result opens nothing or the open failed; the link has reported why then.
bool openChosenLink(comm& link, int32_t connectResult, const std::string& portName);

// The picture of that way for the completion messages ("bmps/con_….160.png"); empty for none.
const char* connectionPicture(int32_t connectResult);
