#include "dialogs/ConnectDialog.h"

#include <wx/statbmp.h>

#include "app/imageWithMask.h"
#include "app/uiText.h"
#include "dialogs/ComChooserDialog.h"
#include "app/globals.h"
#include "dialogs/dialogParts.h"
#include "link/comm.h"

wxBEGIN_EVENT_TABLE(ConnectDialog, wxDialog)
    EVT_BUTTON(ID_CONNECT_SERIAL, ConnectDialog::OnSerial)
    EVT_BUTTON(ID_CONNECT_IRDA, ConnectDialog::OnIrda)
    EVT_BUTTON(ID_CONNECT_MODEM, ConnectDialog::OnModem)
    EVT_BUTTON(wxID_NO, ConnectDialog::OnCancel)
wxEND_EVENT_TABLE()

ConnectDialog::ConnectDialog(wxWindow* parent, std::string* port, int32_t lastWay)
    : wxDialog(parent, wxID_ANY, ui("Подключение к РП"), wxDefaultPosition, wxSize(440, 192),
               wxDEFAULT_DIALOG_STYLE),
      port(port)
{
    const wxFont font = labelFont(12);
    wxBoxSizer* column = new wxBoxSizer(wxVERTICAL);
    column->Add(newButtonRow(this, ID_CONNECT_SERIAL, "bmps/con_com.32.png",
                             "Подключиться к РП, используя\nпоследовательный порт", font), 0, 0);
    column->Add(newButtonRow(this, ID_CONNECT_IRDA, "bmps/con_irda.32.png",
                             "Подключиться к РП, используя\nинфракрасный порт", font), 0, 0);
    column->Add(newButtonRow(this, ID_CONNECT_MODEM, "bmps/con_modem.32.png",
                             "Подключиться к РП, используя\nмодем для силовых линий", font), 0, 0);
    column->Add(160, 8, 1, wxEXPAND);
    column->Add(newButtonRow(this, wxID_NO, "bmps/redcross.32.png", "Отменить операцию", font), 0, 0);
    makeDefault(this, wxID_NO);
    cancelOnEscape(this, wxID_NO);

    wxBoxSizer* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(new wxStaticBitmap(this, wxID_ANY, imageWithMask(loadPng("bmps/Connect.160.png"))), 0,
             wxALIGN_CENTER_VERTICAL);
    top->Add(8, 160, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(column, 1, wxEXPAND);
    layOut(this, top);
    if (isConnectionChoice(lastWay))
        FindWindow(lastWay)->SetFocus();
}

int ConnectDialog::choosePort(const char* title, int result)
{
    ComChooserDialog* chooser =
        new ComChooserDialog(this, ui(title), imageWithMask(loadPng(connectionPicture(result))), port);
    const int chosen = chooser->ShowModal();
    chooser->Destroy();
    return chosen == wxID_YES ? result : wxID_NO;
}

void ConnectDialog::OnSerial(wxCommandEvent&)
{
    EndModal(choosePort("Подключение к РП по последовательному порту", ID_CONNECT_SERIAL));
}

void ConnectDialog::OnIrda(wxCommandEvent&)
{
    port->clear();
    EndModal(ID_CONNECT_IRDA);
}

void ConnectDialog::OnModem(wxCommandEvent&)
{
    EndModal(choosePort("Подключение к РП по модему для силовых линий", ID_CONNECT_MODEM));
}

void ConnectDialog::OnCancel(wxCommandEvent&) { EndModal(wxID_NO); }

bool isConnectionChoice(int32_t connectResult)
{
    return connectResult == ID_CONNECT_SERIAL || connectResult == ID_CONNECT_IRDA
        || connectResult == ID_CONNECT_MODEM;
}

bool openChosenLink(comm& link, int32_t connectResult, const std::string& portName)
{
    switch (connectResult) {
    case ID_CONNECT_SERIAL:
    case ID_CONNECT_MODEM:
        return link.openSerial(portName, configuredSerialSettings());
    case ID_CONNECT_IRDA:
        return link.openIrda();
    default:
        return false;
    }
}

const char* connectionPicture(int32_t connectResult)
{
    switch (connectResult) {
    case ID_CONNECT_SERIAL:
        return "bmps/con_com.160.png";
    case ID_CONNECT_IRDA:
        return "bmps/con_irda.160.png";
    case ID_CONNECT_MODEM:
        return "bmps/con_modem.160.png";
    default:
        return "";
    }
}
