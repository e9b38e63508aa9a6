// The protocol page: the current crane's operating-conditions protocol as HTML.
#pragma once

#include <wx/html/htmprint.h>

#include "view/PrintPanel.h"

class wxHtmlWindow;

// HTML printing of the protocol, sized so that the protocol fits one A4 page. Its settings are
// its own: a page setup made here does not change the graph page's.
class ReportPrinting : public wxHtmlEasyPrinting {
public:
    ReportPrinting();
    // A printout of the text as Print and Preview run it; the caller owns it.
    wxHtmlPrintout* printout(const wxString& html);

protected:
    // The preview in the frame both pages preview in, which shows a whole page.
    bool DoPreview(wxHtmlPrintout* preview, wxHtmlPrintout* printing) override;
};

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

    const wxString& protocolHtml() const { return html; }
    // A printout of the protocol shown, as Print would print it; the caller owns it.
    wxHtmlPrintout* printout() { return printer.printout(html); }
    // The page's HTML printing with its settings, to print other cranes' protocols alike.
    ReportPrinting& printing() { return printer; }

private:
    wxHtmlWindow* view;
    wxString html;
    ReportPrinting printer;
};
