#include "view/PreviewFrame.h"

#include <algorithm>

#include <wx/cmndata.h>
#include <wx/gdicmn.h>
#include <wx/print.h>

namespace {

// The choices of the preview's zoom control, largest first.
constexpr int zoomChoices[] = {200, 150, 120, 110, 100, 95, 90, 85, 80, 75, 70,
                               65,  60,  55,  50,  45,  40, 35, 30, 25, 20, 15, 10};

// The preview asks for scroll lines only where the page is larger than the canvas.
bool wholePageShows(const wxPreviewCanvas* canvas)
{
    return canvas->GetScrollLines(wxHORIZONTAL) == 0 && canvas->GetScrollLines(wxVERTICAL) == 0;
}

// Nine tenths of the screen's height, a page's width beside it, and never less than the frame
// asks for itself.
void sizeForAPage(wxPreviewFrame* frame)
{
    const wxRect screen = wxGetClientDisplayRect();
    const wxSize own = frame->GetSize();
    const int height = std::max(own.y, screen.height * 9 / 10);
    const int width = std::max({own.x, frame->GetControlBar()->GetBestSize().x, height * 3 / 4});
    frame->SetSize(std::min(width, screen.width), std::min(height, screen.height));
    frame->Layout();
}

void zoomToFit(wxPreviewFrame* frame, wxPrintPreview* preview)
{
    const wxPreviewCanvas* canvas = preview->GetCanvas();
    for (const int zoom : zoomChoices) {
        preview->SetZoom(zoom);
        if (wholePageShows(canvas))
            break;
    }
    frame->GetControlBar()->SetZoomControl(preview->GetZoom());
}

}  // namespace

bool showPreview(wxPrintout* preview, wxPrintout* printing, const wxPrintData& printData,
                 const wxString& title)
{
    wxPrintDialogData dialogData(printData);
    wxPrintPreview* pages = new wxPrintPreview(preview, printing, &dialogData);
    if (!pages->IsOk()) {
        delete pages;
        return false;
    }
    wxPreviewFrame* frame = new wxPreviewFrame(pages, nullptr, title, wxDefaultPosition,
                                               wxDefaultSize, wxDEFAULT_FRAME_STYLE, "frame");
    // The frame lays itself out in Initialize; sized or centred before, it would be at no size.
    frame->Initialize();
    sizeForAPage(frame);
    zoomToFit(frame, pages);
    frame->Centre(wxBOTH);
    frame->Show();
    return true;
}
