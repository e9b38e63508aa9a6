// The graphs page on paper: one page with the graph the page shows, drawn by the screen's
// drawing routine on the printer's page, inside the margins of the page setup.
#pragma once

#include <wx/print.h>

class GraphDraw;
class wxPageSetupDialogData;

// Margins all round, in millimetres, of a page setup that holds none: the platform's page setup
// may offer no margin fields, and a graph drawn to the paper's edge loses its title, labels and
// footer to the printer.
constexpr int defaultMarginMm = 15;

// Gives a page setup without margins (all four zero) the default ones; margins set are kept.
void giveDefaultMargins(wxPageSetupDialogData& setup);

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
