#include "dialogs/ComChooserDialog.h"

#include <algorithm>
#include <cstdio>

#include <wx/bmpbuttn.h>
#include <wx/radiobox.h>
#include <wx/statbmp.h>

#include "app/uiText.h"
#include "dialogs/SerialPortsPanel.h"
#include "dialogs/dialogParts.h"
#include "link/portNames.h"

wxBEGIN_EVENT_TABLE(ComChooserDialog, wxDialog)
    EVT_BUTTON(wxID_YES, ComChooserDialog::OnRead)
    EVT_BUTTON(wxID_NO, ComChooserDialog::OnCancel)
wxEND_EVENT_TABLE()

ComChooserDialog::ComChooserDialog(wxWindow* parent, const wxString& title, const wxBitmap& picture,
                                   std::string* port)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxSize(440, 208), wxDEFAULT_DIALOG_STYLE),
      port(port)
{
    const wxFont font = labelFont(12);
    const wxString choices[] = {
        ui("Последовательный порт 1 (COM1)"),
        ui("Последовательный порт 2 (COM2)"),
        ui("Последовательный порт 3 (COM3)"),
        ui("Последовательный порт 4 (COM4)"),
    };
    radio = new wxRadioBox(this, wxID_ANY, ui("Выберите последовательный порт"), wxDefaultPosition,
                           wxDefaultSize, 4, choices, 4, wxRA_SPECIFY_ROWS);
    // The port chosen last, in this run or an earlier one, is chosen again unless the user
    // chooses another.
    if (const int number = comPortNumber(*port))
        radio->SetSelection(number - 1);
    ports = new SerialPortsPanel(this, font);

    wxBoxSizer* choice = new wxBoxSizer(wxHORIZONTAL);
    choice->Add(radio, 0, 0);
    choice->Add(16, 8, 0, 0);
    choice->Add(ports, 0, 0);

    wxBoxSizer* column = new wxBoxSizer(wxVERTICAL);
    column->Add(choice, 0, 0);
    column->Add(160, 8, 1, wxEXPAND);
    column->Add(newButtonRow(this, wxID_YES, "bmps/greencheck.32.png", "Считать данные из РП", font), 0, 0);
    column->Add(newButtonRow(this, wxID_NO, "bmps/redcross.32.png", "Отменить операцию", font), 0, 0);
    makeDefault(this, wxID_NO);
    cancelOnEscape(this, wxID_NO);

    wxBoxSizer* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(new wxStaticBitmap(this, wxID_ANY, picture), 0, wxALIGN_CENTER_VERTICAL);
    top->Add(8, 160, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(column, 1, wxEXPAND);
    layOut(this, top);
    // The ports beside the choice take more height than the choice: the buttons below them stay
    // in view.
    const wxSize shown = GetClientSize();
    SetClientSize(shown.x, std::max(shown.y, top->GetMinSize().y));
}

void ComChooserDialog::OnRead(wxCommandEvent&)
{
    ports->apply();
    char name[16];
    std::snprintf(name, sizeof name, "COM%d", radio->GetSelection() + 1);
    *port = name;
    EndModal(wxID_YES);
}

void ComChooserDialog::OnCancel(wxCommandEvent&)
{
    port->clear();
    EndModal(wxID_NO);
}
