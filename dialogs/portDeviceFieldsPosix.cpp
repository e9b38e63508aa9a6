// Each port's field holds the device the port stands for (link/portNames.h) and offers the
// serial ports present. What the user sets is stored in "/Com/COMn"; a field left empty removes
// the key, so that the port is its standard device again. A port that the environment maps
// (BRENNIX_COMn) shows that device and cannot be changed here: the environment wins.
#include "dialogs/portDeviceFields.h"

#include <string>

#include <wx/combobox.h>
#include <wx/config.h>

#include "app/globals.h"
#include "app/uiText.h"
#include "link/portNames.h"

namespace {

constexpr int portCount = 4;
constexpr int devicePathLength = 255;

wxString portName(int number) { return wxString::Format("COM%d", number); }

std::string currentDevice(int number)
{
    return portDevicePath(portName(number).utf8_string(), configuredSerialSettings().configuredPort);
}

}  // namespace

std::vector<wxComboBox*> addPortDeviceFields(wxWindow* parent, const AddFieldRow& addRow)
{
    wxArrayString present;
    for (const std::string& device : presentSerialDevices())
        present.Add(wxString::FromUTF8(device));

    std::vector<wxComboBox*> fields;
    for (int number = 1; number <= portCount; ++number) {
        const wxString current = wxString::FromUTF8(currentDevice(number));
        wxArrayString items = present;
        if (items.Index(current) == wxNOT_FOUND)
            items.Insert(current, 0);
        wxComboBox* field =
            new wxComboBox(parent, wxID_ANY, current, wxDefaultPosition, wxDefaultSize, items, wxCB_DROPDOWN);
        field->SetMaxLength(devicePathLength);
        field->SetMinSize(wxSize(field->GetSizeFromTextSize(field->GetTextExtent("/dev/ttyUSB00000").x).x, -1));
        if (!environmentPortDevice(number).empty()) {
            field->Disable();
            field->SetToolTip(ui("Порт задан переменной окружения BRENNIX_") + portName(number));
        }
        addRow(portName(number) + ":", field);
        fields.push_back(field);
    }
    return fields;
}

void storePortDevices(const std::vector<wxComboBox*>& fields)
{
    wxConfigBase* config = wxConfigBase::Get();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (!fields[i]->IsEnabled())
            continue;
        const wxString key = "/Com/" + portName(number);
        const wxString device = fields[i]->GetValue().Strip(wxString::both);
        if (device.empty())
            config->DeleteEntry(key, false);
        else if (device.utf8_string() != currentDevice(number))
            config->Write(key, device);
    }
}
