#include "dialogs/InfoDialog.h"

#include <wx/bmpbuttn.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "dialogs/dialogParts.h"

wxBEGIN_EVENT_TABLE(InfoDialog, wxDialog)
    EVT_BUTTON(wxID_OK, InfoDialog::OnOk)
wxEND_EVENT_TABLE()

InfoDialog::InfoDialog(wxWindow* parent, const wxString& title, const wxString& text,
                       const wxBitmap& picture)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxSize(400, 192), wxDEFAULT_DIALOG_STYLE)
{
    wxStaticText* message = new wxStaticText(this, wxID_ANY, text);
    message->SetFont(labelFont(14));

    wxBoxSizer* column = new wxBoxSizer(wxVERTICAL);
    column->Add(120, 4, 1, wxEXPAND);
    column->Add(message, 6, wxEXPAND);
    column->Add(120, 4, 2, wxEXPAND);
    column->Add(newPictureButton(this, wxID_OK, "bmps/greencheck.32.png"), 0, wxALIGN_CENTER_HORIZONTAL);
    column->Add(120, 4, 2, wxEXPAND);
    makeDefault(this, wxID_OK);

    wxBoxSizer* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(new wxStaticBitmap(this, wxID_ANY, picture), 0, wxALIGN_CENTER_VERTICAL);
    top->Add(column, 1, wxEXPAND);
    layOut(this, top);
}

void InfoDialog::OnOk(wxCommandEvent&) { EndModal(wxID_OK); }
