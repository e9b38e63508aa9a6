#include "export/pdfPages.h"

#include <wx/dc.h>
#include <wx/print.h>

int printPages(pdfPages& pages, wxPrintout& printout, wxSize paperMm)
{
    wxDC& dc = pages.forPaper(paperMm);
    const wxSize pixels = dc.GetSize();
    printout.SetDC(&dc);
    printout.SetPPIScreen(wxGetDisplayPPI());
    printout.SetPPIPrinter(pages.dotsPerInch(), pages.dotsPerInch());
    printout.SetPageSizePixels(pixels.x, pixels.y);
    printout.SetPaperRectPixels(wxRect(pixels));
    printout.SetPageSizeMM(paperMm.x, paperMm.y);
    printout.OnPreparePrinting();
    int minPage = 0, maxPage = 0, from = 0, to = 0;
    printout.GetPageInfo(&minPage, &maxPage, &from, &to);
    printout.OnBeginPrinting();
    int printed = 0;
    if (printout.OnBeginDocument(from, to)) {
        for (int page = from; page <= to && printout.HasPage(page); ++page) {
            pages.startPage();
            const bool more = printout.OnPrintPage(page);
            pages.endPage();
            ++printed;
            if (!more)
                break;
        }
        printout.OnEndDocument();
    }
    printout.OnEndPrinting();
    printout.SetDC(nullptr);
    return printed;
}
