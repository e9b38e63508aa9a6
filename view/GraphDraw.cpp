#include "view/GraphDraw.h"

#include <wx/dcclient.h>

#include "view/GraphWindow.h"
#include "view/graphPicture.h"


wxBEGIN_EVENT_TABLE(GraphDraw, wxWindow)
    EVT_PAINT(GraphDraw::OnPaint)
    EVT_MOTION(GraphDraw::OnMotion)
    EVT_ENTER_WINDOW(GraphDraw::OnEnter)
    EVT_LEAVE_WINDOW(GraphDraw::OnLeave)
wxEND_EVENT_TABLE()

GraphDraw::GraphDraw(GraphWindow* page)
    : wxWindow(page, wxID_ANY, wxDefaultPosition, wxDefaultSize,
               wxSUNKEN_BORDER | wxFULL_REPAINT_ON_RESIZE),
      page(page)
{
    SetBackgroundColour(*wxWHITE);
}

void GraphDraw::Draw(wxDC& dc)
{
    scale.reset();
    const cycLink* graph = page->selectedGraph();
    const devLink* crane = page->selectedCrane();
    if (graph && crane)
        scale = drawGraph(dc, area, *crane, *graph, page->options());
}

void GraphDraw::drawSurface(wxDC& dc, const drawingArea& surface)
{
    const drawingArea screenArea = area;
    const std::optional<graphScale> screenScale = scale;
    area = surface;
    Draw(dc);
    area = screenArea;
    scale = screenScale;
}

void GraphDraw::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    const wxSize client = GetClientSize();
    area = drawingArea{client.GetWidth(), client.GetHeight()};
    Draw(dc);
}

void GraphDraw::OnMotion(wxMouseEvent& event)
{
    event.Skip();
    const cycLink* graph = page->selectedGraph();
    if (!graph || !scale)
        return;
    if (const std::optional<cursorReading> reading = readCursor(*graph, *scale, event.GetX()))
        page->showReading(*reading);
}

void GraphDraw::OnEnter(wxMouseEvent& event)
{
    event.Skip();
    page->resetReadout(lampColour::green);
}

void GraphDraw::OnLeave(wxMouseEvent& event)
{
    event.Skip();
    page->resetReadout(lampColour::gray);
}
