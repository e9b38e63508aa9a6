#include "export/cranePdf.h"

#include <memory>
#include <vector>

#include <wx/cmndata.h>
#include <wx/html/htmprint.h>

#include "app/uiText.h"
#include "export/pdfPages.h"
#include "view/ReportWindow.h"
#include "view/graphPicture.h"
#include "view/protocolText.h"

namespace {

// Every graph of a crane, one page each, inside the margins of the page setup.
class craneGraphsPrintout : public wxPrintout {
public:
    craneGraphsPrintout(const devLink& crane, const cranePdfLayout& layout)
        : wxPrintout(ui("График")), crane(crane), layout(layout)
    {
        for (const cycLink* graph = firstGraph(crane); graph; graph = nextGraph(graph))
            graphs.push_back(graph);
    }

    bool HasPage(int page) override { return page >= 1 && page <= static_cast<int>(graphs.size()); }
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override
    {
        *minPage = *pageFrom = 1;
        *maxPage = *pageTo = static_cast<int>(graphs.size());
    }
    bool OnPrintPage(int page) override
    {
        wxDC* dc = GetDC();
        if (!dc || !HasPage(page))
            return false;
        drawGraph(*dc, printedPageArea(*this, *dc, layout.graphPages), crane, *graphs[page - 1],
                  layout.options);
        return true;
    }

private:
    const devLink& crane;
    const cranePdfLayout& layout;
    std::vector<const cycLink*> graphs;
};

}  // namespace

wxSize paperOf(const wxPageSetupDialogData& setup)
{
    wxSize paper = setup.GetPaperSize();
    if (paper.x <= 0 || paper.y <= 0)
        paper = a4PaperMm;
    if (setup.GetPrintData().GetOrientation() == wxLANDSCAPE)
        paper = wxSize(paper.y, paper.x);
    return paper;
}

bool writeCranePdf(const std::string& path, const devLink& crane, bool withGraphs,
                   const cranePdfLayout& layout)
{
    const std::unique_ptr<pdfPages> pages = openPdfPages(path);
    if (!pages)
        return false;
    const std::unique_ptr<wxHtmlPrintout> protocol(
        layout.protocol->printout(wxString::FromUTF8(protocolText(crane))));
    printPages(*pages, *protocol, paperOf(*layout.protocol->GetPageSetupData()));
    if (withGraphs && firstGraph(crane)) {
        craneGraphsPrintout graphs(crane, layout);
        printPages(*pages, graphs, paperOf(*layout.graphPages));
    }
    return pages->finish();
}
