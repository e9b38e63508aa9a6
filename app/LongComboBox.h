// The read-only drop-down list of the crane selector and of the graph list, which may hold
// thousands of items (the cranes of a large data file, the graphs of a crane). Filling it with
// Set() takes time in proportion to the items.
#pragma once

#include <wx/combobox.h>

class LongComboBox : public wxComboBox {
public:
    LongComboBox(wxWindow* parent, wxWindowID id, int width);

    unsigned int GetCount() const override;
};
