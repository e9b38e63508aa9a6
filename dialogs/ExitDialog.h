// Asks whether the program is to be closed: wxID_YES, or wxID_NO ("Нет", also Escape).
#pragma once

#include <wx/dialog.h>

class ExitDialog : public wxDialog {
public:
    explicit ExitDialog(wxWindow* parent);

private:
    void OnYes(wxCommandEvent& event);
    void OnNo(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};
