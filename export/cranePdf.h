// A crane's protocol, and optionally all its graphs, as one PDF: each page as it prints, the
// protocol through its HTML printing, each graph on a page of its own through the graph drawing.
#pragma once

#include <string>

#include <wx/gdicmn.h>

#include "data/devLink.h"
#include "view/graphOptions.h"

class ReportPrinting;
class wxPageSetupDialogData;

// How the pages print: the protocol's printing (its fonts, margins and paper), the graph pages'
// page setup (paper, orientation and margins) and the graph options.
struct cranePdfLayout {
    ReportPrinting* protocol;
    wxPageSetupDialogData* graphPages;
    graphOptions options;
};

// The paper of a page setup in millimetres, turned for landscape; A4 where it names none.
wxSize paperOf(const wxPageSetupDialogData& setup);

bool writeCranePdf(const std::string& path, const devLink& crane, bool withGraphs,
                   const cranePdfLayout& layout);
