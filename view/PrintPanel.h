// Base of the three notebook pages: the main window's print commands act on the current page.
#pragma once

#include <wx/panel.h>

class PrintPanel : public wxPanel {
public:
    explicit PrintPanel(wxWindow* parent)
        : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER)
    {
    }

    virtual void Print() = 0;
    virtual void PageSetup() = 0;
    virtual void Preview() = 0;
};
