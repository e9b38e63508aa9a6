#include "view/GraphPrintout.h"

#include <wx/cmndata.h>

#include "app/BrennixApp.h"
#include "app/uiText.h"
#include "view/GraphDraw.h"

void giveDefaultMargins(wxPageSetupDialogData& setup)
{
    if (setup.GetMarginTopLeft() != wxPoint() || setup.GetMarginBottomRight() != wxPoint())
        return;
    setup.SetMarginTopLeft(wxPoint(defaultMarginMm, defaultMarginMm));
    setup.SetMarginBottomRight(wxPoint(defaultMarginMm, defaultMarginMm));
}

GraphPrintout::GraphPrintout(GraphDraw* drawing) : wxPrintout(ui("График")), drawing(drawing) {}

bool GraphPrintout::HasPage(int page) { return page < 2; }

void GraphPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo)
{
    *minPage = *maxPage = *pageFrom = *pageTo = 1;
}

bool GraphPrintout::OnPrintPage(int)
{
    wxDC* dc = GetDC();
    if (!dc)
        return false;
    int width = 0;
    int height = 0;
    dc->GetSize(&width, &height);
    drawingArea page{width, height};
    if (wxPageSetupDialogData* setup = wxGetApp().pageSetupData) {
        giveDefaultMargins(*setup);
        wxSize paper = setup->GetPaperSize();
        if (paper.x <= 0 || paper.y <= 0)   // before any page setup: the paper printed on
            GetPageSizeMM(&paper.x, &paper.y);
        const wxPoint topLeft = setup->GetMarginTopLeft();
        const wxPoint bottomRight = setup->GetMarginBottomRight();
        page = printedArea(width, height, paper.GetWidth(), paper.GetHeight(), topLeft.x,
                           topLeft.y, bottomRight.x, bottomRight.y);
    }
    drawing->drawSurface(*dc, page);
    return true;
}
