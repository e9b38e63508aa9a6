#include "view/GraphPrintout.h"

#include "app/BrennixApp.h"
#include "app/uiText.h"
#include "view/GraphDraw.h"

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
    drawing->drawSurface(*dc, printedPageArea(*this, *dc, wxGetApp().pageSetupData));
    return true;
}
