#include "dialogs/SerialPortsPanel.h"

#include <cstdlib>
#include <string>

#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/config.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/globals.h"
#include "app/uiText.h"
#include "dialogs/serialDevices.h"
#include "link/portNames.h"

namespace {

constexpr int portCount = 4;
constexpr int devicePathLength = 255;
const long speeds[] = {9600, 19200, 57600, 115200};

wxString portName(int index) { return wxString::Format("COM%d", index + 1); }

std::string utf8(const wxString& text) { return std::string(text.utf8_str()); }

// The device the environment gives the port, which wins over the configuration; empty for none.
wxString environmentDevice(int index)
{
    const char* device = std::getenv(("BRENNIX_" + utf8(portName(index))).c_str());
    return device ? wxString::FromUTF8(device) : wxString();
}

wxComboBox* newDeviceField(wxWindow* parent, int index, const wxArrayString& present)
{
    const wxString current = wxString::FromUTF8(portDevicePath(utf8(portName(index))));
    wxArrayString items = present;
    if (items.Index(current) == wxNOT_FOUND)
        items.Insert(current, 0);
    wxComboBox* field = new wxComboBox(parent, wxID_ANY, current, wxDefaultPosition, wxDefaultSize, items,
                                       wxCB_DROPDOWN);
    field->SetMaxLength(devicePathLength);
    field->SetMinSize(wxSize(field->GetSizeFromTextSize(field->GetTextExtent("/dev/ttyUSB00000").x).x, -1));
    if (!environmentDevice(index).empty()) {
        field->Disable();
        field->SetToolTip(ui("Порт задан переменной окружения BRENNIX_") + portName(index));
    }
    return field;
}

// The speeds offered, with the present one where the configuration holds another.
wxChoice* newSpeedChoice(wxWindow* parent)
{
    wxArrayString items;
    bool present = false;
    for (const long speed : speeds) {
        if (!present && portSpeed < speed) {
            items.Add(wxString::Format("%d", portSpeed));
            present = true;
        }
        present = present || portSpeed == speed;
        items.Add(wxString::Format("%ld", speed));
    }
    if (!present)
        items.Add(wxString::Format("%d", portSpeed));
    wxChoice* choice = new wxChoice(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, items);
    choice->SetStringSelection(wxString::Format("%d", portSpeed));
    return choice;
}

}  // namespace

SerialPortsPanel::SerialPortsPanel(wxWindow* parent, const wxFont& labelFont) : wxPanel(parent)
{
    wxArrayString present;
    for (const std::string& device : presentSerialDevices())
        present.Add(wxString::FromUTF8(device));

    wxFlexGridSizer* grid = new wxFlexGridSizer(2, 4, 8);
    const auto addRow = [this, grid, &labelFont](const wxString& label, wxWindow* control) {
        wxStaticText* text = new wxStaticText(this, wxID_ANY, label);
        text->SetFont(labelFont);
        grid->Add(text, 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(control, 0, wxEXPAND);
    };
    for (int i = 0; i < portCount; ++i) {
        devices[i] = newDeviceField(this, i, present);
        addRow(portName(i) + ":", devices[i]);
    }
    speed = newSpeedChoice(this);
    addRow(ui("Скорость, бит/с:"), speed);

    wxStaticBoxSizer* box = new wxStaticBoxSizer(wxVERTICAL, this, ui("Порты этого компьютера"));
    box->Add(grid, 0, wxALL, 4);
    SetSizerAndFit(box);
}

void SerialPortsPanel::apply() const
{
    wxConfigBase* config = wxConfigBase::Get();
    for (int i = 0; i < portCount; ++i) {
        if (!devices[i]->IsEnabled())
            continue;
        const wxString key = "/Com/" + portName(i);
        const wxString device = devices[i]->GetValue().Strip(wxString::both);
        if (device.empty())
            config->DeleteEntry(key, false);
        else if (utf8(device) != portDevicePath(utf8(portName(i))))
            config->Write(key, device);
    }
    long chosen = 0;
    if (speed->GetStringSelection().ToLong(&chosen)) {
        portSpeed = static_cast<int32_t>(chosen);
        config->Write("/Com/Speed", chosen);
    }
}
