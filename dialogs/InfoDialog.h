// Tells that an operation has ended well: a title, a text, a picture and an OK button.
#pragma once

#include <wx/dialog.h>

class InfoDialog : public wxDialog {
public:
    // picture is shown as passed: the caller prepares it.
    InfoDialog(wxWindow* parent, const wxString& title, const wxString& text, const wxBitmap& picture);

private:
    void OnOk(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};
