#include "dialogs/ConfirmUpdateDialog.h"

#include <wx/bmpbuttn.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/imageWithMask.h"
#include "app/uiText.h"
#include "dialogs/ConnectDialog.h"
#include "dialogs/dialogParts.h"
#include "link/commands.h"
#include "setup/settingsRows.h"
#include "setup/settingsUpdate.h"

wxBEGIN_EVENT_TABLE(ConfirmUpdateDialog, wxDialog)
    EVT_BUTTON(wxID_YES, ConfirmUpdateDialog::OnWrite)
    EVT_BUTTON(wxID_NO, ConfirmUpdateDialog::OnCancel)
wxEND_EVENT_TABLE()

namespace {

// The device and the way it is reached, e.g. "Устройство "RP_v0001", последовательный порт COM1".
wxString deviceLine(const std::string& identifier, int32_t connectResult, const std::string& portName)
{
    wxString way;
    if (connectResult == ID_CONNECT_SERIAL)
        way = ui("последовательный порт ") + portName;
    else if (connectResult == ID_CONNECT_MODEM)
        way = ui("модем для силовых линий, порт ") + portName;
    else
        way = ui("инфракрасный порт");
    return ui("Устройство \"") + craneText(identifier) + "\", " + way;
}

// Device texts are shown as they are: no mnemonics.
wxStaticText* valueLabel(wxWindow* parent, const std::string& utf8, bool bold = false)
{
    wxStaticText* label = new wxStaticText(parent, wxID_ANY, wxString());
    label->SetLabelText(wxString::FromUTF8(utf8));
    if (bold)
        label->SetFont(label->GetFont().Bold());
    return label;
}

// Label, value now and value to be written, a row a field; values that change in bold.
wxFlexGridSizer* comparison(wxWindow* parent, const settingsQuestion& question)
{
    wxFlexGridSizer* grid = new wxFlexGridSizer(3, 2, 16);
    grid->AddSpacer(0);
    grid->Add(valueLabel(parent, "Сейчас в РП", true));
    grid->Add(valueLabel(parent, "Будет записано", true));
    for (const settingsRow& row : settingsRows(question.current, question.next)) {
        grid->Add(valueLabel(parent, row.label));
        grid->Add(valueLabel(parent, row.current));
        grid->Add(valueLabel(parent, row.next, row.next != row.current));
    }
    return grid;
}

}  // namespace

ConfirmUpdateDialog::ConfirmUpdateDialog(wxWindow* parent, const settingsQuestion& question,
                                         int32_t connectResult, const std::string& portName)
    : wxDialog(parent, wxID_ANY, ui("Обновление настроек РП"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE)
{
    const wxFont font = labelFont(12);
    wxBoxSizer* column = new wxBoxSizer(wxVERTICAL);
    column->Add(newLabel(this, "Записать настройки в РП и синхронизировать время?", labelFont(14)), 0,
                wxBOTTOM, 8);
    wxStaticText* device = new wxStaticText(this, wxID_ANY, wxString());
    device->SetLabelText(deviceLine(question.identifier, connectResult, portName));
    device->SetFont(font);
    column->Add(device, 0, wxBOTTOM, 8);
    if (question.identifier != recorderIdentifier) {
        wxStaticText* warning = newLabel(this,
                                         question.identifier == collectorIdentifier
                                             ? "Внимание: подключен накопитель данных, а не регистратор параметров"
                                             : "Внимание: устройство не опознано как регистратор параметров",
                                         font);
        warning->SetForegroundColour(*wxRED);
        column->Add(warning, 0, wxBOTTOM, 8);
    }
    column->Add(comparison(this, question), 0, wxBOTTOM, 16);

    wxBoxSizer* buttons = newButtonRow(this, wxID_YES, "bmps/greencheck.32.png", "Записать", font);
    buttons->Add(48, 32, 0, wxALIGN_CENTER_VERTICAL);
    buttons->Add(newPictureButton(this, wxID_NO, "bmps/redcross.32.png"), 0, wxALIGN_CENTER_VERTICAL);
    addButtonLabel(buttons, this, "Отменить", font);
    column->Add(buttons, 0, wxALIGN_CENTER_HORIZONTAL);
    // Writing asks for a deliberate click: Enter and Escape cancel.
    makeDefault(this, wxID_NO);
    SetEscapeId(wxID_NO);

    wxBoxSizer* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(new wxStaticBitmap(this, wxID_ANY, imageWithMask(loadPng(connectionPicture(connectResult)))), 0,
             wxALIGN_CENTER_VERTICAL | wxALL, 8);
    top->Add(column, 1, wxEXPAND | wxALL, 8);
    SetSizerAndFit(top);
}

void ConfirmUpdateDialog::OnWrite(wxCommandEvent&) { EndModal(wxID_YES); }
void ConfirmUpdateDialog::OnCancel(wxCommandEvent&) { EndModal(wxID_NO); }
