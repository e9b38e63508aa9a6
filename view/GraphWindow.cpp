#include "view/GraphWindow.h"

#include <wx/bmpbuttn.h>
#include <wx/cmndata.h>
#include <wx/combobox.h>
#include <wx/config.h>
#include <wx/menu.h>
#include <wx/print.h>
#include <wx/printdlg.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/BrennixApp.h"
#include "app/LongComboBox.h"
#include "app/imageWithMask.h"
#include "app/uiText.h"
#include "view/GraphDraw.h"
#include "view/GraphPrintout.h"
#include "view/PreviewFrame.h"

namespace {

// Keys of the remembered options in the configuration store.
const char fixedLoadScaleKey[] = "/Graphs/FixedLoadScale";
const char levelLinesKey[] = "/Graphs/LevelLines";
const char cursorDetailKey[] = "/Graphs/CursorDetail";

graphOptions rememberedOptions()
{
    const wxConfigBase* config = wxConfigBase::Get();
    graphOptions options;
    options.fixedLoadScale = config->ReadBool(fixedLoadScaleKey, false);
    options.levelLines = config->ReadBool(levelLinesKey, false);
    options.cursorDetail = config->ReadBool(cursorDetailKey, false);
    return options;
}

}  // namespace

wxBEGIN_EVENT_TABLE(GraphWindow, PrintPanel)
    EVT_BUTTON(ID_PREV_GRAPH, GraphWindow::OnPrevGraph)
    EVT_COMBOBOX(ID_GRAPH_LIST, GraphWindow::OnGraphChosen)
    EVT_BUTTON(ID_NEXT_GRAPH, GraphWindow::OnNextGraph)
wxEND_EVENT_TABLE()

GraphWindow::GraphWindow(wxWindow* parent, wxComboBox* craneSelector)
    : PrintPanel(parent, craneSelector)
{
    grayBall = imageWithMask(loadPng("bmps/grayball.16.png"));
    greenBall = imageWithMask(loadPng("bmps/greenball.16.png"));
    redBall = imageWithMask(loadPng("bmps/redball.16.png"));
    blueBall = imageWithMask(loadPng("bmps/blueball.16.png"));

    drawing = new GraphDraw(this);
    graphs = new LongComboBox(this, ID_GRAPH_LIST, 200);

    wxBoxSizer* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxBitmapButton(this, ID_PREV_GRAPH, loadPng("bmps/blueleftarr.32.png")), 0,
             wxALIGN_CENTER_VERTICAL);
    row->Add(graphs, 0, wxALIGN_CENTER_VERTICAL);
    row->Add(new wxBitmapButton(this, ID_NEXT_GRAPH, loadPng("bmps/bluerightarr.32.png")), 0,
             wxALIGN_CENTER_VERTICAL);
    row->Add(8, 32, 1, wxEXPAND);
    row->Add(buildDetailPanel(), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
    row->Add(buildStatusPanel(), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);   // off the page's edge

    wxBoxSizer* page = new wxBoxSizer(wxVERTICAL);
    page->Add(drawing, 1, wxEXPAND);
    page->Add(row, 0, wxEXPAND);
    SetSizer(page);
    applyOptions(rememberedOptions());
}

wxFlexGridSizer* GraphWindow::buildDetailPanel()
{
    const auto reading = [this]() {
        return new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(64, 16),
                                wxST_NO_AUTORESIZE);
    };
    clockText = reading();
    tonnesText = reading();
    detailPanel = new wxFlexGridSizer(2, 2, 2, 8);
    detailPanel->Add(new wxStaticText(this, wxID_ANY, ui("Груз:")), 0, wxALIGN_CENTER_VERTICAL);
    detailPanel->Add(tonnesText, 0, wxALIGN_CENTER_VERTICAL);
    detailPanel->Add(new wxStaticText(this, wxID_ANY, ui("Время суток:")), 0, wxALIGN_CENTER_VERTICAL);
    detailPanel->Add(clockText, 0, wxALIGN_CENTER_VERTICAL);
    return detailPanel;
}

void GraphWindow::setOptions(const graphOptions& options)
{
    applyOptions(options);
    wxConfigBase* config = wxConfigBase::Get();
    config->Write(fixedLoadScaleKey, options.fixedLoadScale);
    config->Write(levelLinesKey, options.levelLines);
    config->Write(cursorDetailKey, options.cursorDetail);
    config->Flush();   // remembered even if the program does not end normally
}

void GraphWindow::applyOptions(const graphOptions& options)
{
    chosen = options;
    if (menu) {
        menu->Check(ID_FIXED_LOAD_SCALE, options.fixedLoadScale);
        menu->Check(ID_LEVEL_LINES, options.levelLines);
        menu->Check(ID_CURSOR_DETAIL, options.cursorDetail);
    }
    GetSizer()->Show(detailPanel, options.cursorDetail, true);
    Layout();
    drawing->Refresh();
}

wxMenu* GraphWindow::optionsMenu()
{
    menu = new wxMenu;
    menu->AppendCheckItem(ID_FIXED_LOAD_SCALE, ui("Шкала нагрузки &0–125 %"),
                          ui("Все графики в одной шкале нагрузки от 0 до 125 %"));
    menu->AppendCheckItem(ID_LEVEL_LINES, ui("&Линии 100 % и уровней ОГП"),
                          ui("Линии номинальной нагрузки и уровней срабатывания и сброса ОГП"));
    menu->AppendCheckItem(ID_CURSOR_DETAIL, ui("&Время суток и тонны под курсором"),
                          ui("Показывать под курсором также время суток и нагрузку в тоннах"));
    menu->Bind(wxEVT_MENU, [this](wxCommandEvent& event) {
        graphOptions options = chosen;
        bool* option = event.GetId() == ID_FIXED_LOAD_SCALE ? &options.fixedLoadScale
                       : event.GetId() == ID_LEVEL_LINES    ? &options.levelLines
                       : event.GetId() == ID_CURSOR_DETAIL  ? &options.cursorDetail
                                                            : nullptr;
        if (!option) {
            event.Skip();
            return;
        }
        *option = menu->IsChecked(event.GetId());
        setOptions(options);
    });
    applyOptions(chosen);
    return menu;
}

wxFlexGridSizer* GraphWindow::buildStatusPanel()
{
    const auto text = [this](const char* label) {
        return new wxStaticText(this, wxID_ANY, ui(label));
    };
    const auto readout = [this](const char* initial) {
        return new wxStaticText(this, wxID_ANY, ui(initial), wxDefaultPosition, wxSize(48, 16),
                                wxST_NO_AUTORESIZE);
    };
    const auto lamp = [this]() { return new wxStaticBitmap(this, wxID_ANY, grayBall); };

    loadText = readout("0%");
    timeText = readout("0с");
    limiterLamp = lamp();
    for (wxStaticBitmap*& mechanism : mechanismLamps)
        mechanism = lamp();

    wxFlexGridSizer* panel = new wxFlexGridSizer(2, 10, 2, 8);
    const auto add = [panel](wxWindow* window) { panel->Add(window, 0, wxALIGN_CENTER_VERTICAL); };
    add(text("Нагрузка:"));
    add(loadText);
    add(text("ОГП:"));
    add(limiterLamp);
    add(text("Механизм 1:"));
    add(mechanismLamps[0]);
    add(text("Механизм 3:"));
    add(mechanismLamps[2]);
    add(text("Механизм 5:"));
    add(mechanismLamps[4]);
    add(text("Время:"));
    add(timeText);
    panel->Add(4, 4, 0, wxALIGN_CENTER_VERTICAL);
    panel->Add(4, 4, 0, wxALIGN_CENTER_VERTICAL);
    add(text("Механизм 2:"));
    add(mechanismLamps[1]);
    add(text("Механизм 4:"));
    add(mechanismLamps[3]);
    add(text("Механизм 6:"));
    add(mechanismLamps[5]);
    return panel;
}

// Print settings are created at start-up; without them there is nothing to print with. The
// platform's print and page setup dialogs sit over the page's top-level window, the only kind of
// parent they take.
void GraphWindow::Print()
{
    wxPrintData* printData = wxGetApp().printData;
    if (!printData)
        return;
    wxPrintDialogData dialogData(*printData);
    wxPrinter printer(&dialogData);
    GraphPrintout printout(drawing);
    if (printer.Print(wxGetTopLevelParent(this), &printout, true))
        *printData = printer.GetPrintDialogData().GetPrintData();
}

void GraphWindow::PageSetup()
{
    BrennixApp& app = wxGetApp();
    if (!app.printData || !app.pageSetupData)
        return;
    *app.pageSetupData = *app.printData;
    giveDefaultMargins(*app.pageSetupData);
    wxPageSetupDialog dialog(wxGetTopLevelParent(this), app.pageSetupData);
    dialog.ShowModal();
    *app.printData = dialog.GetPageSetupDialogData().GetPrintData();
    *app.pageSetupData = dialog.GetPageSetupDialogData();
}

void GraphWindow::Preview()
{
    if (const wxPrintData* printData = wxGetApp().printData)
        showPreview(new GraphPrintout(drawing), new GraphPrintout(drawing), *printData,
                    ui("Предварительный просмотр перед распечаткой графиков"));
}

const cycLink* GraphWindow::selectedGraph() const
{
    const int n = graphs->GetSelection();
    return n == wxNOT_FOUND ? nullptr : static_cast<const cycLink*>(graphs->GetClientData(n));
}

const wxBitmap& GraphWindow::ball(lampColour colour) const
{
    switch (colour) {
    case lampColour::green:
        return greenBall;
    case lampColour::red:
        return redBall;
    case lampColour::blue:
        return blueBall;
    case lampColour::gray:
        break;
    }
    return grayBall;
}

namespace {

// Relabels only on a change: a label set anew is laid out and repainted at every mouse motion.
void setText(wxStaticText* control, const wxString& text)
{
    if (control->GetLabel() != text)
        control->SetLabel(text);
}

}  // namespace

void GraphWindow::showReading(const cursorReading& reading)
{
    setText(timeText, ui(cursorTimeText(reading.time).c_str()));
    setText(loadText, ui(cursorLoadText(reading.load).c_str()));
    if (chosen.cursorDetail) {
        const cycLink* graph = selectedGraph();
        const devLink* crane = selectedCrane();
        if (graph && crane) {
            setText(clockText, ui(cursorClockText(graph->timeStamp, reading.time).c_str()));
            setText(tonnesText, ui(cursorTonnesText(reading.load, crane->maxWeight).c_str()));
        }
    }
    for (int m = 1; m <= 6; ++m)
        if (const std::optional<lampColour> colour = mechanismLamp(m, lastState, reading.state))
            mechanismLamps[m - 1]->SetBitmap(ball(*colour));
    if (const std::optional<lampColour> colour = ::limiterLamp(lastState, reading.state))
        limiterLamp->SetBitmap(ball(*colour));
    lastState = reading.state;
}

void GraphWindow::resetReadout(lampColour limiter)
{
    setText(loadText, wxString());
    setText(timeText, wxString());
    setText(clockText, wxString());
    setText(tonnesText, wxString());
    limiterLamp->SetBitmap(ball(limiter));
    for (wxStaticBitmap* lamp : mechanismLamps)
        lamp->SetBitmap(grayBall);
    lastState = 0;
}

void GraphWindow::ShowGraph(int n)
{
    if (n >= 0 && n < static_cast<int>(graphs->GetCount()))
        graphs->SetSelection(n);
    // Painted at once: the cursor readout uses the scale of the last drawing.
    drawing->Refresh();
    drawing->Update();
}

void GraphWindow::OnPrevGraph(wxCommandEvent&)
{
    const int current = graphs->GetSelection();
    if (current != wxNOT_FOUND && current > 0)
        ShowGraph(current - 1);
}

void GraphWindow::OnGraphChosen(wxCommandEvent&)
{
    ShowGraph(graphs->GetSelection());
}

void GraphWindow::OnNextGraph(wxCommandEvent&)
{
    const int current = graphs->GetSelection();
    if (current != wxNOT_FOUND && current < static_cast<int>(graphs->GetCount()) - 1)
        ShowGraph(current + 1);
}
