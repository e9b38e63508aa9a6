// The graphs page: one load graph of the current crane at a time, the navigation row and the
// status panel of the cursor readout.
#pragma once

#include <wx/bitmap.h>

#include "view/PrintPanel.h"

class GraphDraw;
class wxComboBox;
class wxFlexGridSizer;
class wxStaticBitmap;
class wxStaticText;

enum {
    ID_PREV_GRAPH = 507,
    ID_GRAPH_LIST = 508,
    ID_NEXT_GRAPH = 509,
};

class GraphWindow : public PrintPanel {
public:
    GraphWindow(wxWindow* parent, wxComboBox* craneSelector);

    void Print() override;
    void PageSetup() override;
    void Preview() override;

    virtual void OnPrevGraph(wxCommandEvent& event);
    virtual void OnGraphChosen(wxCommandEvent& event);
    virtual void OnNextGraph(wxCommandEvent& event);

    // Selects item n of the graph list (nothing when n is outside it) and redraws.
    void ShowGraph(int n);
    // One item per graph of the current crane, item data = the cycLink; the main window fills it.
    wxComboBox* graphList() const { return graphs; }

private:
    wxFlexGridSizer* buildStatusPanel();

    GraphDraw* drawing;
    wxComboBox* graphs;
    wxComboBox* craneSelector;
    wxStaticText* loadText = nullptr;
    wxStaticText* timeText = nullptr;
    wxStaticBitmap* mechanismLamps[6] = {};
    wxStaticBitmap* limiterLamp = nullptr;
    wxBitmap grayBall;
    wxBitmap greenBall;
    wxBitmap redBall;
    wxBitmap blueBall;

    wxDECLARE_EVENT_TABLE();
};
