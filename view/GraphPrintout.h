// The graphs page on paper: one page with the graph the page shows, drawn by the screen's
// drawing routine on the printer's page, inside the margins of the page setup.
#pragma once

#include <wx/print.h>

#include "view/graphPicture.h"

class GraphDraw;

class GraphPrintout : public wxPrintout {
public:
    explicit GraphPrintout(GraphDraw* drawing);

    bool HasPage(int page) override;
    // Pages 1 to 1, so that the print dialog and the preview offer that page alone.
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool OnPrintPage(int page) override;

private:
    GraphDraw* drawing;
};
