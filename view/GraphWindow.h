// The graphs page: one load graph of the current crane at a time, the navigation row and the
// status panel of the cursor readout.
#pragma once

#include <cstdint>

#include <wx/bitmap.h>
#include <wx/string.h>

#include "view/PrintPanel.h"
#include "view/cursorReadout.h"
#include "view/graphOptions.h"

class GraphDraw;
class wxComboBox;
class wxFlexGridSizer;
class wxMenu;
class wxStaticBitmap;
class wxStaticText;

enum {
    ID_PREV_GRAPH = 507,
    ID_GRAPH_LIST = 508,
    ID_NEXT_GRAPH = 509,
    ID_FIXED_LOAD_SCALE = 520,
    ID_LEVEL_LINES = 521,
    ID_CURSOR_DETAIL = 522,
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
    GraphDraw* graphDrawing() const { return drawing; }

    // The options of the drawing and the readout, as remembered in the configuration store.
    const graphOptions& options() const { return chosen; }
    // Switches the options, remembers them and redraws.
    void setOptions(const graphOptions& options);
    // A menu of the options as check items, kept in step with them; the menu bar it goes into
    // owns it.
    wxMenu* optionsMenu();

    // The graph selected in the list; null without one.
    const cycLink* selectedGraph() const;

    // The status panel under the pointer: the time and load texts and the lamps that changed.
    void showReading(const cursorReading& reading);
    // The pointer entered or left the drawing: empty texts, gray mechanisms, the limiter lamp as
    // given, and the next reading compared against a state of 0.
    void resetReadout(lampColour limiter);

private:
    wxFlexGridSizer* buildStatusPanel();
    wxFlexGridSizer* buildDetailPanel();
    // Shows the options on the page and in the menu, without remembering them.
    void applyOptions(const graphOptions& options);
    const wxBitmap& ball(lampColour colour) const;

    GraphDraw* drawing;
    wxComboBox* graphs;
    wxStaticText* loadText = nullptr;
    wxStaticText* timeText = nullptr;
    wxFlexGridSizer* detailPanel = nullptr;   // clock time and tonnes, shown with the option
    wxStaticText* clockText = nullptr;
    wxStaticText* tonnesText = nullptr;
    graphOptions chosen;
    wxMenu* menu = nullptr;   // the options menu, owned by the menu bar
    wxStaticBitmap* mechanismLamps[6] = {};
    wxStaticBitmap* limiterLamp = nullptr;
    wxBitmap grayBall;
    wxBitmap greenBall;
    wxBitmap redBall;
    wxBitmap blueBall;
    uint8_t lastState = 0;

    wxDECLARE_EVENT_TABLE();
};
