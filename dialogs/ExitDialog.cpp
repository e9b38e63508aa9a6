#include "dialogs/ExitDialog.h"

#include <wx/bmpbuttn.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/imageWithMask.h"
#include "app/uiText.h"
#include "dialogs/dialogParts.h"

wxBEGIN_EVENT_TABLE(ExitDialog, wxDialog)
    EVT_BUTTON(wxID_YES, ExitDialog::OnYes)
    EVT_BUTTON(wxID_NO, ExitDialog::OnNo)
wxEND_EVENT_TABLE()

ExitDialog::ExitDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, ui("Выход из программы"), wxDefaultPosition, wxSize(400, 192),
               wxDEFAULT_DIALOG_STYLE)
{
    const wxFont font = labelFont(14);
    wxBoxSizer* buttons = newButtonRow(this, wxID_YES, "bmps/greencheck.32.png", "Да", font);
    buttons->Add(48, 32, 0, wxALIGN_CENTER_VERTICAL);
    buttons->Add(newPictureButton(this, wxID_NO, "bmps/redcross.32.png"), 0, wxALIGN_CENTER_VERTICAL);
    addButtonLabel(buttons, this, "Нет", font);
    makeDefault(this, wxID_NO);
    cancelOnEscape(this, wxID_NO);

    wxBoxSizer* column = new wxBoxSizer(wxVERTICAL);
    column->Add(120, 4, 1, wxEXPAND);
    column->Add(newLabel(this, "Вы действительно хотите завершить работу с програмой?", font), 6, wxEXPAND);
    column->Add(120, 4, 2, wxEXPAND);
    column->Add(buttons, 1, wxEXPAND);
    column->Add(120, 4, 2, wxEXPAND);

    wxBoxSizer* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(new wxStaticBitmap(this, wxID_ANY, imageWithMask(loadPng("bmps/exit.160.png"))), 0,
             wxALIGN_CENTER_VERTICAL);
    top->Add(column, 1, wxEXPAND);
    layOut(this, top);
}

void ExitDialog::OnYes(wxCommandEvent&) { EndModal(wxID_YES); }
void ExitDialog::OnNo(wxCommandEvent&) { EndModal(wxID_NO); }
