// Prints a printout the way a printer would, onto a PDF file with real Unicode text (the PDF pages
// of the program's export), so that tests can count its pages, read its text and look at it. The
// page is described at 72 dots per inch (one dot a PDF point), so fonts come out at their true size
// as on paper.
#pragma once

#include <string>

#include <wx/gdicmn.h>

class wxPrintout;

constexpr int pdfDotsPerInch = 72;

// Runs the printout over the pages it announces onto paper of the given size in millimetres.
// Returns the number of pages printed, or -1 when the file could not be made.
int printToPdf(wxPrintout& printout, const std::string& pdfPath, wxSize paperMM = wxSize(210, 297));

// Prints the printout as the system's print dialog prints it to a file: through the toolkit's own
// printer and device context on a GTK print job, on A4 paper, without showing the dialog. That
// device context draws differently from the one above (polygons, for one).
bool printThroughGtkToPdf(wxPrintout& printout, const std::string& pdfPath);

// The PDF's text in reading order (pdftotext), empty on failure.
std::string pdfText(const std::string& pdfPath);

// Renders one page (counted from 1) to a PNG file at the given resolution (pdftoppm).
bool pdfPageToPng(const std::string& pdfPath, int page, const std::string& pngPath, int dpi = 100);
