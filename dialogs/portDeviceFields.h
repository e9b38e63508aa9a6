// The port chooser's fields that show which device each of COM1..COM4 stands for on this
// computer and let the user map another one onto it. One implementation per platform: a POSIX
// system names its serial devices otherwise and maps the names onto them
// (portDeviceFieldsPosix.cpp); on Windows the names are the devices, and there are no fields
// (portDeviceFieldsWindows.cpp).
#pragma once

#include <functional>
#include <vector>

#include <wx/string.h>

class wxComboBox;
class wxWindow;

// Adds a row to the chooser's grid: a label and its field.
using AddFieldRow = std::function<void(const wxString& label, wxWindow* field)>;

// Makes one field per port, in the order of the ports, and adds each through addRow.
std::vector<wxComboBox*> addPortDeviceFields(wxWindow* parent, const AddFieldRow& addRow);

// Stores the devices the fields name where they differ from those the ports stand for now.
void storePortDevices(const std::vector<wxComboBox*>& fields);
