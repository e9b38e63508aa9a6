// The protocol page: the current crane's operating-conditions protocol as HTML.
#pragma once

#include <wx/html/htmprint.h>

#include "view/PrintPanel.h"

class wxComboBox;
class wxHtmlWindow;

class ReportWindow : public PrintPanel {
public:
    ReportWindow(wxWindow* parent, wxComboBox* craneSelector);

    void Print() override;
    void PageSetup() override;
    void Preview() override;
    // Rebuilds the protocol from the crane selected in the selector; keeps the page as it is
    // while nothing is selected.
    virtual void MakeReport();

    // Shows an empty page once the cranes are gone.
    void clearReport();

private:
    wxHtmlWindow* view;
    wxString html;
    wxHtmlEasyPrinting printer;
    wxComboBox* craneSelector;
};
