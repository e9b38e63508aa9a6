// Asks before the settings update writes: what the device holds now and what will be written,
// field by field, with the device's identifier and the connection. wxID_YES writes; wxID_NO
// ("Отменить", the default button, also Escape) and the close box write nothing.
#pragma once

#include <cstdint>
#include <string>

#include <wx/dialog.h>

struct settingsQuestion;

class ConfirmUpdateDialog : public wxDialog {
public:
    // connectResult and portName: the connection chosen at the last connect.
    ConfirmUpdateDialog(wxWindow* parent, const settingsQuestion& question, int32_t connectResult,
                        const std::string& portName);

private:
    void OnWrite(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};
