#include "view/ReportWindow.h"

#include <wx/cmndata.h>
#include <wx/combobox.h>
#include <wx/html/htmlwin.h>
#include <wx/sizer.h>

#include "app/uiText.h"
#include "data/devLink.h"
#include "view/PreviewFrame.h"
#include "view/protocolText.h"

namespace {

// The protocol's 30-odd rows with the large classification block: at 10-point text within
// 20 mm margins at the top and bottom and 15 mm at the sides they fit one A4 page.
constexpr int protocolPointSize = 10;

}  // namespace

ReportPrinting::ReportPrinting() : wxHtmlEasyPrinting(ui("Отчет"), nullptr)
{
    SetStandardFonts(protocolPointSize);
    GetPageSetupData()->SetMarginTopLeft(wxPoint(15, 20));
    GetPageSetupData()->SetMarginBottomRight(wxPoint(15, 20));
}

wxHtmlPrintout* ReportPrinting::printout(const wxString& html)
{
    wxHtmlPrintout* printout = CreatePrintout();
    printout->SetHtmlText(html, wxString(), true);
    return printout;
}

bool ReportPrinting::DoPreview(wxHtmlPrintout* preview, wxHtmlPrintout* printing)
{
    return showPreview(preview, printing, *GetPrintData(), GetName() + _(" Preview"));
}

ReportWindow::ReportWindow(wxWindow* parent, wxComboBox* craneSelector)
    : PrintPanel(parent, craneSelector)
{
    view = new wxHtmlWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxHW_SCROLLBAR_AUTO,
                            "htmlWindow");
    // The view starts at the size of the page it fills, not the toolkit's tiny default, and the
    // page leaves the layout to the notebook: a view laid out smaller than its scroll bars makes
    // GTK complain on the terminal. Its minimum size stays the default, as does the window's.
    view->SetSize(640, 480);
    wxBoxSizer* sizer = new wxBoxSizer(wxHORIZONTAL);
    sizer->Add(view, 1, wxEXPAND, 0);
    MakeReport();
    SetSizer(sizer);
}

void ReportWindow::Print() { printer.PrintText(html, wxString()); }

void ReportWindow::PageSetup() { printer.PageSetup(); }

void ReportWindow::Preview() { printer.PreviewText(html, wxString()); }

void ReportWindow::MakeReport()
{
    const devLink* crane = selectedCrane();
    if (!crane)
        return;
    html = wxString::FromUTF8(protocolText(*crane));
    view->SetPage(html);
}

void ReportWindow::clearReport()
{
    html.clear();
    view->SetPage(html);
}
