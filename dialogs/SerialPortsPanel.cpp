#include "dialogs/SerialPortsPanel.h"

#include <algorithm>
#include <iterator>

#include <wx/choice.h>
#include <wx/config.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/globals.h"
#include "app/uiText.h"
#include "dialogs/portDeviceFields.h"
#include "link/serialPort.h"

namespace {

// The speeds the line takes, with the present one in its place where the configuration holds
// another, so that the choice shows what the line uses now.
wxChoice* newSpeedChoice(wxWindow* parent)
{
    std::vector<long> offered(std::begin(serialSpeeds), std::end(serialSpeeds));
    if (std::find(offered.begin(), offered.end(), portSpeed) == offered.end())
        offered.insert(std::upper_bound(offered.begin(), offered.end(), portSpeed), portSpeed);
    wxArrayString items;
    for (const long speed : offered)
        items.Add(wxString::Format("%ld", speed));
    wxChoice* choice = new wxChoice(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, items);
    choice->SetStringSelection(wxString::Format("%d", portSpeed));
    return choice;
}

}  // namespace

SerialPortsPanel::SerialPortsPanel(wxWindow* parent, const wxFont& labelFont) : wxPanel(parent)
{
    wxFlexGridSizer* grid = new wxFlexGridSizer(2, 4, 8);
    const AddFieldRow addRow = [this, grid, &labelFont](const wxString& label, wxWindow* field) {
        wxStaticText* text = new wxStaticText(this, wxID_ANY, label);
        text->SetFont(labelFont);
        grid->Add(text, 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(field, 0, wxEXPAND);
    };
    devices = addPortDeviceFields(this, addRow);
    speed = newSpeedChoice(this);
    addRow(ui("Скорость, бит/с:"), speed);

    wxStaticBoxSizer* box = new wxStaticBoxSizer(wxVERTICAL, this, ui("Порты этого компьютера"));
    box->Add(grid, 0, wxALL, 4);
    SetSizerAndFit(box);
}

void SerialPortsPanel::apply() const
{
    storePortDevices(devices);
    long chosen = 0;
    if (speed->GetStringSelection().ToLong(&chosen) && chosen != portSpeed) {
        portSpeed = static_cast<int32_t>(chosen);
        wxConfigBase::Get()->Write("/Com/Speed", chosen);
    }
}
