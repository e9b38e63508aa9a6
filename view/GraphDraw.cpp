#include "view/GraphDraw.h"

GraphDraw::GraphDraw(wxWindow* parent)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
               wxSUNKEN_BORDER | wxFULL_REPAINT_ON_RESIZE)
{
    SetBackgroundColour(*wxWHITE);
}
