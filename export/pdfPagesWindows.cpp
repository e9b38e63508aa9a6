// PDF pages on Windows: the toolkit has no PDF surface there, and a PDF printer is not on every
// computer. Each page is drawn onto a picture as onto a printer of 192 dots per inch (a memory
// DC, whose fonts the system finds as the screen's) and becomes a page of an image PDF
// (imagePdf.h): a real PDF written without any printer, whose text is a picture.
#include "export/pdfPages.h"

#include <filesystem>
#include <fstream>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include "export/imagePdf.h"

namespace {

constexpr int pageDotsPerInch = 192;
constexpr double pointsPerInch = 72;
constexpr double mmPerInch = 25.4;

class imagePdfPages : public pdfPages {
public:
    explicit imagePdfPages(std::string path) : path(std::move(path)) {}
    ~imagePdfPages() override { dc.SelectObject(wxNullBitmap); }

    wxDC& forPaper(wxSize paperMm) override
    {
        paper = paperMm;
        dc.SelectObject(wxNullBitmap);
        page.Create(wxRound(paper.x * pageDotsPerInch / mmPerInch), wxRound(paper.y * pageDotsPerInch / mmPerInch), 24);
        dc.SelectObject(page);
        return dc;
    }
    void startPage() override
    {
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
    }
    void endPage() override
    {
        dc.SelectObject(wxNullBitmap);
        const wxImage picture = page.ConvertToImage();
        dc.SelectObject(page);
        const double mmToPt = pointsPerInch / mmPerInch;
        if (!picture.IsOk() ||
            !pdf.addPage(paper.x * mmToPt, paper.y * mmToPt, picture.GetWidth(), picture.GetHeight(), picture.GetData(),
                         static_cast<std::size_t>(picture.GetWidth()) * picture.GetHeight() * 3))
            failed = true;
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
    int dotsPerInch() const override { return pageDotsPerInch; }

private:
    std::string path;
    wxMemoryDC dc;
    wxBitmap page;
    wxSize paper = a4PaperMm;
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
