#include "view/GraphTableWindow.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/uiText.h"
#include "view/numberText.h"

namespace {

const wxColour overloadBackground(255, 214, 214);
const wxColour overloadText(150, 0, 0);

// Numbers right-aligned, texts left.
wxListColumnFormat alignmentOf(graphColumn column)
{
    switch (column) {
    case graphColumn::start:
    case graphColumn::store:
    case graphColumn::limiter:
    case graphColumn::mechanisms:
        return wxLIST_FORMAT_LEFT;
    default:
        return wxLIST_FORMAT_RIGHT;
    }
}

int widthOf(graphColumn column)
{
    switch (column) {
    case graphColumn::number: return 48;
    case graphColumn::start: return 160;
    case graphColumn::store: return 100;
    case graphColumn::duration: return 116;
    case graphColumn::above100: return 124;
    case graphColumn::mechanisms: return 130;
    default: return 80;
    }
}

}  // namespace

GraphTable::GraphTable(wxWindow* parent)
    : wxListCtrl(parent, ID_GRAPH_TABLE, wxDefaultPosition, wxDefaultSize,
                 wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES)
{
    for (int c = 0; c < graphColumnCount; ++c) {
        const graphColumn column = static_cast<graphColumn>(c);
        AppendColumn(ui(graphColumnTitle(column)), alignmentOf(column), FromDIP(widthOf(column)));
    }
    overloadAttr.SetBackgroundColour(overloadBackground);
    overloadAttr.SetTextColour(overloadText);
    ShowSortIndicator(static_cast<int>(sortColumn), ascending);
}

void GraphTable::setRows(std::vector<graphTableRow> newRows)
{
    rows = std::move(newRows);
    sortGraphRows(rows, sortColumn, ascending);
    SetItemCount(static_cast<long>(rows.size()));
    Refresh();
}

void GraphTable::sortBy(graphColumn column)
{
    ascending = column == sortColumn ? !ascending : true;
    sortColumn = column;
    const long selected = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    const int graph = selected >= 0 ? row(selected).index : -1;
    sortGraphRows(rows, sortColumn, ascending);
    ShowSortIndicator(static_cast<int>(sortColumn), ascending);
    if (selected >= 0) {   // the same graph stays chosen
        SetItemState(selected, 0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        const long item = itemOfGraph(graph);
        SetItemState(item, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                     wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        EnsureVisible(item);
    }
    Refresh();
}

long GraphTable::itemOfGraph(int graphIndex) const
{
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].index == graphIndex)
            return static_cast<long>(i);
    return -1;
}

wxString GraphTable::OnGetItemText(long item, long column) const
{
    if (item < 0 || item >= static_cast<long>(rows.size()))
        return wxString();
    return ui(graphCellText(row(item), static_cast<graphColumn>(column)).c_str());
}

wxItemAttr* GraphTable::OnGetItemAttr(long item) const
{
    if (item < 0 || item >= static_cast<long>(rows.size()) || !isOverload(row(item).figures))
        return nullptr;
    return &overloadAttr;
}

GraphTableWindow::GraphTableWindow(wxWindow* parent, wxComboBox* craneSelector,
                                   std::function<void(int, bool)> showGraph)
    : PrintPanel(parent, craneSelector),
      showGraph(std::move(showGraph))
{
    heading = new wxStaticText(this, wxID_ANY, wxString());
    list = new GraphTable(this);
    wxBoxSizer* page = new wxBoxSizer(wxVERTICAL);
    page->Add(heading, 0, wxALL, 6);
    page->Add(list, 1, wxEXPAND);
    SetSizer(page);
    Layout();

    list->Bind(wxEVT_LIST_COL_CLICK, &GraphTableWindow::OnColumnClick, this);
    list->Bind(wxEVT_LIST_ITEM_SELECTED, &GraphTableWindow::OnSelected, this);
    list->Bind(wxEVT_LIST_ITEM_ACTIVATED, &GraphTableWindow::OnActivated, this);
}

void GraphTableWindow::refresh()
{
    const devLink* crane = selectedCrane();
    if (!crane) {
        list->setRows({});
        heading->SetLabel(wxString());
        return;
    }
    std::vector<graphTableRow> rows = graphTableRows(*crane);
    int overloads = 0;
    for (const graphTableRow& row : rows)
        overloads += isOverload(row.figures);
    heading->SetLabel(ui(printfText("Графиков: %zu, из них с перегрузкой или срабатыванием ОГП: %d. "
                                    "Двойной щелчок по строке открывает график.",
                                    rows.size(), overloads)
                             .c_str()));
    list->setRows(std::move(rows));
    Layout();
}

void GraphTableWindow::OnColumnClick(wxListEvent& event)
{
    if (event.GetColumn() >= 0)
        list->sortBy(static_cast<graphColumn>(event.GetColumn()));
}

void GraphTableWindow::OnSelected(wxListEvent& event)
{
    showGraph(list->row(event.GetIndex()).index, false);
}

void GraphTableWindow::OnActivated(wxListEvent& event)
{
    showGraph(list->row(event.GetIndex()).index, true);
}
