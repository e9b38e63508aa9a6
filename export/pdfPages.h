// Pages of a PDF file drawn through the toolkit's device context, with no printer involved.
// This is the seam between the export and the platform: on Linux the pages are a cairo PDF
// surface (pdfPagesCairo.cpp). Windows has no such surface in the toolkit, and its PDF printer
// is not on every computer; there each page is drawn onto a picture and the pictures make the
// PDF (pdfPagesWindows.cpp).
#pragma once

#include <memory>
#include <string>

#include <wx/gdicmn.h>

class wxDC;
class wxPrintout;

class pdfPages {
public:
    virtual ~pdfPages() = default;
    // The pages' device context, sized for the paper (millimetres) of the pages to come.
    virtual wxDC& forPaper(wxSize paperMm) = 0;
    virtual void startPage() = 0;
    virtual void endPage() = 0;
    // Completes the file; false when it could not be written whole.
    virtual bool finish() = 0;
    virtual int dotsPerInch() const = 0;
};

// Pages writing to the file at path; null when the file cannot be made.
std::unique_ptr<pdfPages> openPdfPages(const std::string& path);

// Runs the printout over the pages it announces onto new pages of the given paper, as a printer
// runs it. Returns the number of pages printed.
int printPages(pdfPages& pages, wxPrintout& printout, wxSize paperMm);

// A4 in millimetres, the paper of a page setup that names none.
const wxSize a4PaperMm(210, 297);
