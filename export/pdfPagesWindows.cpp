// PDF pages on Windows: the toolkit has no PDF surface there, and a PDF printer is not on every
// computer. Each page is drawn through a graphics context onto a picture at twice the context's
// own resolution and becomes a page of an image PDF (imagePdf.h): a real PDF written without any
// printer, whose text is a picture.
#include "export/pdfPages.h"

#include <filesystem>
#include <fstream>

#include <wx/dcgraph.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include "export/imagePdf.h"

namespace {

// Picture pixels per dot of the page's device context.
constexpr double pixelsPerDot = 2;

constexpr double pointsPerInch = 72;

// A graphics-context DC of a known page size in dots: a DC made from a graphics context knows
// no size, which printouts divide by.
class pageDCImpl : public wxGCDCImpl {
public:
    pageDCImpl(wxDC* owner, wxGraphicsContext* context) : wxGCDCImpl(owner, context) {}
    void DoGetSize(int* width, int* height) const override
    {
        if (width)
            *width = dots.x;
        if (height)
            *height = dots.y;
    }

    wxSize dots;
};

class pageDC : public wxDC {
public:
    pageDC() : wxDC(new pageDCImpl(this, nullptr)) {}
    pageDCImpl& impl() { return *static_cast<pageDCImpl*>(GetImpl()); }
};

// The resolution of the default renderer's contexts: their fonts' points are drawn at this many
// dots per inch.
int contextDotsPerInch()
{
    wxImage probe(1, 1);
    const std::unique_ptr<wxGraphicsContext> context(wxGraphicsRenderer::GetDefaultRenderer()->CreateContextFromImage(probe));
    wxDouble x = 0, y = 0;
    context->GetDPI(&x, &y);
    return y > 0 ? wxRound(y) : 96;
}

class imagePdfPages : public pdfPages {
public:
    explicit imagePdfPages(std::string path) : path(std::move(path)) {}
    ~imagePdfPages() override { dc.impl().SetGraphicsContext(nullptr); }

    wxDC& forPaper(wxSize paperMm) override
    {
        paper = paperMm;
        newPicture();   // a context to measure on before the first page
        dc.impl().dots = wxSize(wxRound(paperMm.x * dpi / 25.4), wxRound(paperMm.y * dpi / 25.4));
        return dc;
    }
    void startPage() override
    {
        newPicture();
        dc.StartPage();
    }
    void endPage() override
    {
        dc.EndPage();
        dc.impl().SetGraphicsContext(nullptr);   // draws what is pending into the picture
        const double mmToPt = pointsPerInch / 25.4;
        if (!pdf.addPage(paper.x * mmToPt, paper.y * mmToPt, picture.GetWidth(), picture.GetHeight(),
                         picture.GetData(), static_cast<std::size_t>(picture.GetWidth()) * picture.GetHeight() * 3))
            failed = true;
        newPicture();
    }
    bool finish() override
    {
        if (finished)
            return written;
        finished = true;
        if (failed)
            return false;
        const std::string bytes = pdf.bytes();
        std::ofstream file(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.close();
        written = !file.fail();
        return written;
    }
    int dotsPerInch() const override { return dpi; }

private:
    // A white picture of the page and a context drawing on it, scaled so that the DC draws in dots.
    void newPicture()
    {
        dc.impl().SetGraphicsContext(nullptr);
        picture = wxImage(wxRound(paper.x * dpi / 25.4 * pixelsPerDot), wxRound(paper.y * dpi / 25.4 * pixelsPerDot));
        picture.SetRGB(wxRect(picture.GetSize()), 255, 255, 255);
        wxGraphicsContext* context = wxGraphicsRenderer::GetDefaultRenderer()->CreateContextFromImage(picture);
        context->Scale(pixelsPerDot, pixelsPerDot);
        dc.impl().SetGraphicsContext(context);
    }

    std::string path;
    pageDC dc;
    const int dpi = contextDotsPerInch();
    wxSize paper = a4PaperMm;
    wxImage picture;
    imagePdf pdf;
    bool failed = false, finished = false, written = false;
};

}  // namespace

std::unique_ptr<pdfPages> openPdfPages(const std::string& path)
{
    // The file is written whole at the end; made now, so that a path that cannot be written fails here.
    if (!std::ofstream(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc))
        return nullptr;
    return std::make_unique<imagePdfPages>(path);
}
