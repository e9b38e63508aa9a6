#include "export/pdfPages.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <wx/dcgraph.h>
#include <wx/graphics.h>

namespace {

// The page is described at 72 dots per inch: one dot is a PDF point.
constexpr int pointsPerInch = 72;

int pointsOf(int mm) { return static_cast<int>(mm * pointsPerInch / 25.4 + 0.5); }

// A graphics-context DC of a known page size and resolution: a DC made straight from a cairo
// context reports a size of 0 × 0, which printouts divide by.
class pageDCImpl : public wxGCDCImpl {
public:
    pageDCImpl(wxDC* owner, wxGraphicsContext* context) : wxGCDCImpl(owner, context) {}
    void DoGetSize(int* width, int* height) const override
    {
        if (width)
            *width = pixels.x;
        if (height)
            *height = pixels.y;
    }
    wxSize GetPPI() const override { return wxSize(pointsPerInch, pointsPerInch); }

    wxSize pixels;
};

class pageDC : public wxDC {
public:
    explicit pageDC(wxGraphicsContext* context) : wxDC(new pageDCImpl(this, context)) {}
    pageDCImpl& impl() { return *static_cast<pageDCImpl*>(GetImpl()); }
};

class cairoPdfPages : public pdfPages {
public:
    cairoPdfPages(cairo_surface_t* surface)
        : surface(surface),
          cairo(cairo_create(surface)),
          context(wxGraphicsRenderer::GetCairoRenderer()->CreateContextFromNativeContext(cairo)),
          dc(std::make_unique<pageDC>(context))
    {
    }
    ~cairoPdfPages() override { finish(); }

    wxDC& forPaper(wxSize paperMm) override
    {
        dc->impl().pixels = wxSize(pointsOf(paperMm.x), pointsOf(paperMm.y));
        return *dc;
    }
    void startPage() override
    {
        cairo_pdf_surface_set_size(surface, dc->impl().pixels.x, dc->impl().pixels.y);
        dc->StartPage();
    }
    void endPage() override
    {
        dc->EndPage();
        context->Flush();
        cairo_show_page(cairo);
    }
    bool finish() override
    {
        if (!surface)
            return written;
        dc.reset();   // and the graphics context with it
        cairo_destroy(cairo);
        cairo_surface_finish(surface);
        written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(surface);
        surface = nullptr;
        return written;
    }
    int dotsPerInch() const override { return pointsPerInch; }

private:
    cairo_surface_t* surface;
    cairo_t* cairo;
    wxGraphicsContext* context;   // owned by dc
    std::unique_ptr<pageDC> dc;
    bool written = false;
};

}  // namespace

std::unique_ptr<pdfPages> openPdfPages(const std::string& path)
{
    cairo_surface_t* surface =
        cairo_pdf_surface_create(path.c_str(), pointsOf(a4PaperMm.x), pointsOf(a4PaperMm.y));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return std::make_unique<cairoPdfPages>(surface);
}
