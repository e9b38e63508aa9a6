// The graph table page: every graph of the current crane in one sortable table with its overload
// figures; overloads stand out. Choosing a row shows that graph on the graphs page.
#pragma once

#include <functional>
#include <vector>

#include <wx/listctrl.h>

#include "view/PrintPanel.h"
#include "view/graphTable.h"

class wxStaticText;

enum { ID_GRAPH_TABLE = 525 };

// The table itself: a virtual list over the rows in their sorted order.
class GraphTable : public wxListCtrl {
public:
    explicit GraphTable(wxWindow* parent);

    void setRows(std::vector<graphTableRow> rows);
    // Sorts by the column; the same column again reverses the order.
    void sortBy(graphColumn column);
    const graphTableRow& row(long item) const { return rows[static_cast<std::size_t>(item)]; }
    long itemOfGraph(int graphIndex) const;

    // What the list shows of an item: its cells, and the colours of an overload.
    wxString OnGetItemText(long item, long column) const override;
    wxItemAttr* OnGetItemAttr(long item) const override;

private:
    std::vector<graphTableRow> rows;
    graphColumn sortColumn = graphColumn::number;
    bool ascending = true;
    mutable wxItemAttr overloadAttr;
};

// Prints nothing: print, page setup and preview do nothing here.
class GraphTableWindow : public PrintPanel {
public:
    // showGraph(index, open) shows the crane's graph at index on the graphs page; open makes that
    // page current.
    GraphTableWindow(wxWindow* parent, wxComboBox* craneSelector,
                     std::function<void(int index, bool open)> showGraph);

    void Print() override {}
    void PageSetup() override {}
    void Preview() override {}

    // Fills the table from the crane selected in the selector; empty without one.
    void refresh();
    GraphTable* table() const { return list; }

private:
    void OnColumnClick(wxListEvent& event);
    void OnSelected(wxListEvent& event);
    void OnActivated(wxListEvent& event);

    std::function<void(int, bool)> showGraph;
    wxStaticText* heading;
    GraphTable* list;
};
