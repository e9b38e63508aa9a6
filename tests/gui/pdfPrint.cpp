#include "tests/gui/pdfPrint.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cstdio>
#include <cstdlib>

#include <wx/dcgraph.h>
#include <wx/graphics.h>
#include <wx/print.h>

namespace {

// A graphics-context DC of a known page size and resolution: a DC made straight from a cairo
// context reports a size of 0 × 0, which printouts divide by.
class pdfPageDCImpl : public wxGCDCImpl {
public:
    pdfPageDCImpl(wxDC* owner, wxGraphicsContext* context, wxSize pixels)
        : wxGCDCImpl(owner, context), pixels(pixels)
    {
    }
    void DoGetSize(int* width, int* height) const override
    {
        if (width)
            *width = pixels.x;
        if (height)
            *height = pixels.y;
    }
    wxSize GetPPI() const override { return wxSize(pdfDotsPerInch, pdfDotsPerInch); }

private:
    wxSize pixels;
};

class pdfPageDC : public wxDC {
public:
    pdfPageDC(wxGraphicsContext* context, wxSize pixels) : wxDC(new pdfPageDCImpl(this, context, pixels)) {}
};

int pixelsOf(int mm) { return static_cast<int>(mm * pdfDotsPerInch / 25.4 + 0.5); }

std::string quoted(const std::string& path) { return "'" + path + "'"; }

}  // namespace

int printToPdf(wxPrintout& printout, const std::string& pdfPath, wxSize paperMM)
{
    const wxSize pixels(pixelsOf(paperMM.x), pixelsOf(paperMM.y));
    cairo_surface_t* surface = cairo_pdf_surface_create(pdfPath.c_str(), pixels.x, pixels.y);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return -1;
    }
    cairo_t* cairo = cairo_create(surface);
    int pages = 0;
    {
        wxGraphicsContext* context = wxGraphicsRenderer::GetCairoRenderer()->CreateContextFromNativeContext(cairo);
        pdfPageDC dc(context, pixels);
        printout.SetDC(&dc);
        printout.SetPPIScreen(wxGetDisplayPPI());
        printout.SetPPIPrinter(pdfDotsPerInch, pdfDotsPerInch);
        printout.SetPageSizePixels(pixels.x, pixels.y);
        printout.SetPaperRectPixels(wxRect(pixels));
        printout.SetPageSizeMM(paperMM.x, paperMM.y);
        printout.OnPreparePrinting();
        int minPage = 0, maxPage = 0, from = 0, to = 0;
        printout.GetPageInfo(&minPage, &maxPage, &from, &to);
        printout.OnBeginPrinting();
        if (printout.OnBeginDocument(from, to)) {
            for (int page = from; page <= to && printout.HasPage(page); ++page) {
                dc.StartPage();
                const bool more = printout.OnPrintPage(page);
                dc.EndPage();
                context->Flush();
                cairo_show_page(cairo);
                ++pages;
                if (!more)
                    break;
            }
            printout.OnEndDocument();
        }
        printout.OnEndPrinting();
        printout.SetDC(nullptr);
    }
    cairo_destroy(cairo);
    cairo_surface_finish(surface);
    const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written ? pages : -1;
}

std::string pdfText(const std::string& pdfPath)
{
    std::string text;
    if (FILE* pipe = popen(("pdftotext -enc UTF-8 " + quoted(pdfPath) + " - 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

bool pdfPageToPng(const std::string& pdfPath, int page, const std::string& pngPath, int dpi)
{
    std::string stem = pngPath;
    if (stem.size() > 4 && stem.compare(stem.size() - 4, 4, ".png") == 0)
        stem.resize(stem.size() - 4);
    const std::string command = "pdftoppm -png -singlefile -r " + std::to_string(dpi) + " -f " + std::to_string(page) +
                                " -l " + std::to_string(page) + " " + quoted(pdfPath) + " " + quoted(stem);
    return std::system(command.c_str()) == 0;
}
