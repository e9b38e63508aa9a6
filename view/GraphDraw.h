// The drawing area of the graphs page.
#pragma once

#include <wx/window.h>

class GraphDraw : public wxWindow {
public:
    explicit GraphDraw(wxWindow* parent);
};
