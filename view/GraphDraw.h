// The drawing area of the graphs page: the load curve with its markers, grid, axes and the bands
// of the mechanisms and the load limiter. Its drawing routine serves the screen and the printout.
#pragma once

#include <optional>

#include <wx/window.h>

#include "view/graphScale.h"

class GraphWindow;
class wxDC;

class GraphDraw : public wxWindow {
public:
    explicit GraphDraw(GraphWindow* page);

    // Draws the graph selected on the page, of the crane selected in the main window, onto dc as
    // large as `area`; nothing without a selection or for a graph without load samples. The
    // scale drawn with is kept for the cursor readout.
    void Draw(wxDC& dc);

    // Draws on another surface (a printed page, a bitmap); the cursor readout keeps following
    // the screen's drawing.
    void drawSurface(wxDC& dc, const drawingArea& surface);

    // The scale of the last drawing on screen; empty when it drew no graph.
    const std::optional<graphScale>& drawnScale() const { return scale; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnEnter(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);

    GraphWindow* page;
    drawingArea area;   // the client area, margins 0
    std::optional<graphScale> scale;

    wxDECLARE_EVENT_TABLE();
};
