// Base of the three notebook pages: the main window's print commands act on the current page,
// and every page shows the crane selected in the main window's crane selector.
#pragma once

#include <wx/combobox.h>
#include <wx/panel.h>

class devLink;

class PrintPanel : public wxPanel {
public:
    PrintPanel(wxWindow* parent, wxComboBox* craneSelector)
        : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER),
          craneSelector(craneSelector)
    {
    }

    virtual void Print() = 0;
    virtual void PageSetup() = 0;
    virtual void Preview() = 0;

    // The crane selected in the selector (its item data); null while none is selected.
    devLink* selectedCrane() const
    {
        const int n = craneSelector->GetSelection();
        return n == wxNOT_FOUND ? nullptr : static_cast<devLink*>(craneSelector->GetClientData(n));
    }

protected:
    wxComboBox* craneSelector;
};
