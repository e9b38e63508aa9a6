// The drawing of one load graph of a crane on any device context: the screen's page, a printed
// page, a PDF page. The graphs page, its printout and the PDF export all draw through it.
#pragma once

#include <optional>

#include "data/devLink.h"
#include "view/graphOptions.h"
#include "view/graphScale.h"

class wxDC;
class wxPageSetupDialogData;
class wxPrintout;

// Draws the graph onto dc as large as area: title, footer, grid, curve, markers, bands, ticks and
// axes, and with the options the fixed load scale and the level lines. Draws nothing for a graph
// without load samples. Returns the scale drawn with.
std::optional<graphScale> drawGraph(wxDC& dc, const drawingArea& area, const devLink& crane,
                                    const cycLink& graph, const graphOptions& options);

// Margins all round, in millimetres, of a page setup that holds none: the platform's page setup
// may offer no margin fields, and a graph drawn to the paper's edge loses its title, labels and
// footer to the printer.
constexpr int defaultMarginMm = 15;

// Gives a page setup without margins (all four zero) the default ones; margins set are kept.
void giveDefaultMargins(wxPageSetupDialogData& setup);

// The printout's page as a drawing area, with the margins of the page setup (the defaults where it
// has none); without a page setup, the whole page.
drawingArea printedPageArea(wxPrintout& printout, wxDC& dc, wxPageSetupDialogData* setup);
