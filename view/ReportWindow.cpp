#include "view/ReportWindow.h"

#include <wx/combobox.h>
#include <wx/html/htmlwin.h>
#include <wx/sizer.h>

#include "app/uiText.h"

ReportWindow::ReportWindow(wxWindow* parent, wxComboBox* craneSelector)
    : PrintPanel(parent), printer(ui("Отчет"), nullptr), craneSelector(craneSelector)
{
    view = new wxHtmlWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxHW_SCROLLBAR_AUTO,
                            "htmlWindow");
    wxBoxSizer* sizer = new wxBoxSizer(wxHORIZONTAL);
    sizer->Add(view, 1, wxEXPAND, 0);
    MakeReport();
    SetSizer(sizer);
    Layout();
}

void ReportWindow::Print() { printer.PrintText(html, wxString()); }

void ReportWindow::PageSetup() { printer.PageSetup(); }

void ReportWindow::Preview() { printer.PreviewText(html, wxString()); }

void ReportWindow::MakeReport()
{
    if (craneSelector->GetSelection() == wxNOT_FOUND)
        return;
}

void ReportWindow::clearReport()
{
    html.clear();
    view->SetPage(html);
}
