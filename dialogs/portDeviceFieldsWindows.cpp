// On Windows the port names are the devices themselves: there is nothing to map.
#include "dialogs/portDeviceFields.h"

std::vector<wxComboBox*> addPortDeviceFields(wxWindow*, const AddFieldRow&) { return {}; }

void storePortDevices(const std::vector<wxComboBox*>&) {}
