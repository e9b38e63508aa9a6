#include "app/MainFrame.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include <wx/accel.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/filename.h>
#include <wx/html/helpctrl.h>
#include <wx/html/htmlwin.h>
#include <wx/imaglist.h>
#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/toolbar.h>

#include "app/BrennixApp.h"
#include "app/dataFiles.h"
#include "app/exportCommands.h"
#include "app/LongComboBox.h"
#include "app/imageWithMask.h"
#include "app/uiText.h"
#include "app/windowMemory.h"
#include "data/cp1251.h"
#include "data/devLink.h"
#include "data/timeText.h"
#include "dialogs/ExitDialog.h"
#include "setup/SetupWindow.h"
#include "view/GraphTableWindow.h"
#include "view/GraphWindow.h"
#include "view/ReportWindow.h"
#include "view/protocolText.h"

namespace {

const char* const connectHelp = "Подключиться к регистратору параметров и считать данные из него";
const char* const openHelp = "Открыть файл для просмотра";
const char* const saveHelp = "Сохранить просматриваемые данные в файле";
const char* const printHelp = "Распечатать документ на принтере";

const char* const programTitle = "Brennix 1.2.1";

// The usual desktop key of a command beside the one its menu item shows.
wxAcceleratorEntry ctrlKey(int key, int command) { return wxAcceleratorEntry(wxACCEL_CTRL, key, command); }

// Graph list label: peak load, then the graph's start in local time.
wxString graphLabel(const cycLink& graph)
{
    char load[16];
    std::snprintf(load, sizeof load, "%3d%% ", peakLoad(graph));
    return wxString::FromUTF8(load) +
           wxString::FromUTF8(localTimeText(graph.timeStamp, "%d/%m/%Y %H:%M:%S "));
}

void showAboutBox(wxWindow* parent)
{
    wxDialog* box = new wxDialog(parent, wxID_ANY, ui("О программе"));
    wxBoxSizer* sizer = new wxBoxSizer(wxVERTICAL);

    wxHtmlWindow* html = new wxHtmlWindow(box, wxID_ANY, wxDefaultPosition, wxSize(400, 160),
                                          wxHW_SCROLLBAR_NEVER | wxBORDER_NONE, "htmlWindow");
    html->SetPage(wxString::FromUTF8("<html><head>") + wxString::FromUTF8(htmlCharsetMeta) +
                  ui("</head><body bgcolor=\"#E0F0FF\">"
                     "<table cellspacing=3 cellpadding=4 width=\"100%\">"
                     "<tr><td align=center><img src=\"") +
                  ui(dataFile("bmps/logo.200.png").c_str()) +
                  ui("\"></td></tr>"
                     "<tr><td bgcolor=\"#003060\" align=center><b><font size=+2 color=\"#C0D0FF\">"
                     "Brennix версия 1.2.1</font></b></td></tr>"
                     "<tr><td bgcolor=\"#D0E0FF\" align=center><font color=\"#0080FF\">"
                     "Учёт условий эксплуатации кранов по данным регистраторов параметров"
                     "</font></td></tr>"
                     "</table></body></html>"));
    const wxSize laidOut(html->GetInternalRepresentation()->GetWidth(),
                         html->GetInternalRepresentation()->GetHeight());
    html->SetSize(laidOut);
    html->SetMinSize(laidOut);
    sizer->Add(html, 1, wxALL, 10);
    sizer->Add(new wxStaticLine(box, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL), 0,
               wxEXPAND | wxLEFT | wxRIGHT, 10);
    wxButton* ok = new wxButton(box, wxID_OK, "OK");
    ok->SetDefault();
    sizer->Add(ok, 0, wxALL | wxALIGN_RIGHT, 15);

    box->SetSizer(sizer);
    sizer->Fit(box);
    box->ShowModal();
    box->Destroy();
}

}  // namespace

wxBEGIN_EVENT_TABLE(MainFrame, wxFrame)
    EVT_MENU(ID_CONNECT, MainFrame::OnConnect)
    EVT_MENU(wxID_OPEN, MainFrame::OnOpen)
    EVT_MENU(wxID_SAVE, MainFrame::OnSave)
    EVT_MENU(ID_PRINT, MainFrame::OnPrint)
    EVT_MENU(ID_PAGE_SETUP, MainFrame::OnPageSetup)
    EVT_MENU(ID_PREVIEW, MainFrame::OnPreview)
    EVT_MENU(ID_EXIT, MainFrame::OnExit)
    EVT_MENU(ID_ABOUT, MainFrame::OnAbout)
    EVT_MENU(ID_HELP, MainFrame::OnHelp)
    EVT_MENU(ID_PREV_CRANE, MainFrame::OnPrevCrane)
    EVT_COMBOBOX(ID_CRANE_SELECTOR, MainFrame::OnCraneChosen)
    EVT_MENU(ID_NEXT_CRANE, MainFrame::OnNextCrane)
    EVT_CLOSE(MainFrame::OnClose)
wxEND_EVENT_TABLE()

MainFrame::MainFrame()
    : wxFrame(nullptr, wxID_ANY, programTitle, wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE)
{
    SetIcons(programIcons());
    buildMenus();
    CreateStatusBar(1, wxST_SIZEGRIP | wxFULL_REPAINT_ON_RESIZE, 0);
    buildToolBar();
    buildNotebook();
    menuBar->Insert(1, graphPage->optionsMenu(), ui("&Вид"));
    installExportCommands(*this);

    // The sizer only computes the frame's size hints: the notebook, the only child besides the
    // bars, fills the client area by itself. It is at least 640 × 480, and wider where a page
    // needs it (the graph page's navigation row and status panel in this toolkit's fonts).
    const wxSize pages = notebook->GetBestSize();
    notebook->SetMinSize(wxSize(std::max(640, pages.x), std::max(480, pages.y)));
    wxBoxSizer sizing(wxVERTICAL);
    sizing.Add(notebook, 0, 0, 0);
    SetMinSize(wxSize(640, 480));
    sizing.SetSizeHints(this);
    sizing.Detach(notebook);

    connectResult = wxID_NO;
    preselectedWay = wxID_NO;
    recallWindow(*this);   // and shows the window as it was left
}

MainFrame::~MainFrame()
{
    // The pages hold the cranes' addresses in their lists: empty those before the cranes go.
    clearCranes();
}

void MainFrame::buildMenus()
{
    wxMenu* file = new wxMenu;
    file->Append(ID_CONNECT, ui("&Подключиться\tAlt-C"), ui(connectHelp));
    file->Append(wxID_OPEN, ui("Открыть\tAlt-O"), ui(openHelp))->AddExtraAccel(ctrlKey('O', wxID_OPEN));
    file->Append(wxID_SAVE, ui("Сохранить\tAlt-S"), ui(saveHelp))->AddExtraAccel(ctrlKey('S', wxID_SAVE));
    file->AppendSeparator();
    file->Append(ID_PRINT, ui("&Распечатать\tAlt-P"), ui(printHelp))->AddExtraAccel(ctrlKey('P', ID_PRINT));
    file->Append(ID_PAGE_SETUP, ui("&Параметры страницы"), ui("Настройка параметров страницы для печати"));
    file->Append(ID_PREVIEW, ui("&Предварительный просмотр"),
                 ui("Предварительный просмотр документа перед распечаткой"));
    file->AppendSeparator();
    file->Append(ID_EXIT, ui("&Выйти\tAlt-X"), ui("Завершение работы с программой"))
        ->AddExtraAccel(ctrlKey('Q', ID_EXIT));

    wxMenu* help = new wxMenu;
    help->Append(ID_ABOUT, ui("О программе"), ui("Показать информацию о программе"));
    help->AppendSeparator();
    help->Append(ID_HELP, ui("Справка\tF1"), ui("Показать справку"));

    menuBar = new wxMenuBar;
    menuBar->Append(file, ui("&Файл"));
    menuBar->Append(help, ui("&Помощь"));
    SetMenuBar(menuBar);
}

void MainFrame::buildToolBar()
{
    // The old toolkit's 3D-button flag is gone: plain horizontal is the same look today.
    toolBar = CreateToolBar(wxTB_HORIZONTAL);
    toolBar->SetToolBitmapSize(wxSize(32, 32));
    const auto addTool = [this](int id, const char* label, const char* picture, const char* longHelp) {
        toolBar->AddTool(id, ui(label), loadPng(picture), wxNullBitmap, wxITEM_NORMAL, ui(label),
                         ui(longHelp));
    };
    addTool(ID_CONNECT, "Считать", "bmps/connect.32.png", connectHelp);
    addTool(wxID_OPEN, "Открыть", "bmps/open.32.png", openHelp);
    addTool(wxID_SAVE, "Сохранить", "bmps/save.32.png", saveHelp);
    toolBar->AddSeparator();
    addTool(ID_PRINT, "Распечатать", "bmps/print.32.png", printHelp);
    toolBar->AddSeparator();
    addTool(ID_PREV_CRANE, "Предыдущий", "bmps/yellowleftarr.32.png",
            "Перейти к просмотру данных предыдущего крана");
    craneSelector = new LongComboBox(toolBar, ID_CRANE_SELECTOR, 200);
    toolBar->AddControl(craneSelector);
    addTool(ID_NEXT_CRANE, "Следующий", "bmps/yellowrightarr.32.png",
            "Перейти к просмотру данных следующего крана");
    toolBar->AddSeparator();
    addTool(ID_EXIT, "Выйти", "bmps/exit.32.png", "Завершить работу с программой");
    toolBar->Realize();
}

void MainFrame::buildNotebook()
{
    wxImageList* pageIcons = new wxImageList(16, 16, true, 1);
    pageIcons->Add(imageWithMask(loadPng("bmps/blueball.16.png")));
    pageIcons->Add(imageWithMask(loadPng("bmps/greenball.16.png")));
    pageIcons->Add(imageWithMask(loadPng("bmps/redball.16.png")));

    notebook = new wxNotebook(this, wxID_ANY, wxDefaultPosition, wxSize(640, 480), wxNB_BOTTOM);
    notebook->AssignImageList(pageIcons);
    reportPage = new ReportWindow(notebook, craneSelector);
    notebook->AddPage(reportPage, ui("Протокол"), true, 0);
    graphPage = new GraphWindow(notebook, craneSelector);
    notebook->AddPage(graphPage, ui("Графики"), false, 1);
    setupPage = new SetupWindow(notebook, craneSelector);
    notebook->AddPage(setupPage, ui("Настройка"), false, 2);
    graphTablePage = new GraphTableWindow(notebook, craneSelector, [this](int graph, bool open) {
        graphPage->ShowGraph(graph);
        if (open)
            notebook->SetSelection(notebook->FindPage(graphPage));
    });
    notebook->AddPage(graphTablePage, ui("Таблица графиков"), false, 2);
}

void MainFrame::selectCrane(int index)
{
    if (index < 0 || index >= static_cast<int>(craneSelector->GetCount()))
        return;
    craneSelector->SetSelection(index);
    const devLink* crane = static_cast<const devLink*>(craneSelector->GetClientData(index));

    wxArrayString labels;
    std::vector<void*> graphs;
    for (cycLink* graph = firstGraph(*crane); graph; graph = nextGraph(graph)) {
        labels.Add(graphLabel(*graph));
        graphs.push_back(graph);
    }
    graphPage->graphList()->Set(labels, graphs.data());

    reportPage->MakeReport();
    graphPage->ShowGraph(0);
    setupPage->refresh();
    graphTablePage->refresh();
}

void MainFrame::clearCranes()
{
    graphPage->graphList()->Clear();
    graphPage->ShowGraph(0);
    craneSelector->Clear();
    reportPage->clearReport();
    setupPage->refresh();
    graphTablePage->refresh();
    cranes.clear();
    unsavedCranes = false;
    showDataFileName(wxString());
}

void MainFrame::showDataFileName(const wxString& path)
{
    wxString title(programTitle);
    if (!path.empty())
        title += ui(" — ") + wxFileName(path).GetFullName();
    SetTitle(title);
}

void MainFrame::showCranes()
{
    wxArrayString names;
    std::vector<void*> held;
    for (devLink* crane = firstCrane(cranes); crane; crane = nextCrane(crane)) {
        names.Add(craneText(shownText(crane->name)));
        held.push_back(crane);
    }
    craneSelector->Set(names, held.data());
    selectCrane(0);
}

void MainFrame::OnPrevCrane(wxCommandEvent&)
{
    const int current = craneSelector->GetSelection();
    if (current != wxNOT_FOUND && current > 0)
        selectCrane(current - 1);
}

void MainFrame::OnCraneChosen(wxCommandEvent&)
{
    const int current = craneSelector->GetSelection();
    if (current != wxNOT_FOUND)
        selectCrane(current);
}

void MainFrame::OnNextCrane(wxCommandEvent&)
{
    const int current = craneSelector->GetSelection();
    if (current != wxNOT_FOUND && current < static_cast<int>(craneSelector->GetCount()) - 1)
        selectCrane(current + 1);
}

void MainFrame::OnConnect(wxCommandEvent&) { readRecorder(); }
void MainFrame::OnOpen(wxCommandEvent&) { openDataFile(); }
void MainFrame::OnSave(wxCommandEvent&) { saveDataFile(); }

void MainFrame::OnPrint(wxCommandEvent&)
{
    if (PrintPanel* page = dynamic_cast<PrintPanel*>(notebook->GetCurrentPage()))
        page->Print();
}

void MainFrame::OnPageSetup(wxCommandEvent&)
{
    if (PrintPanel* page = dynamic_cast<PrintPanel*>(notebook->GetCurrentPage()))
        page->PageSetup();
}

void MainFrame::OnPreview(wxCommandEvent&)
{
    if (PrintPanel* page = dynamic_cast<PrintPanel*>(notebook->GetCurrentPage()))
        page->Preview();
}

void MainFrame::OnExit(wxCommandEvent&) { Close(false); }

// The exit command and the title bar's close box both ask whether to end the program and, for
// cranes not saved, whether to save them; a close that cannot be refused asks nothing.
void MainFrame::OnClose(wxCloseEvent& event)
{
    if (event.CanVeto()) {
        ExitDialog* dialog = new ExitDialog(this);
        const bool confirmed = dialog->ShowModal() == wxID_YES;
        dialog->Destroy();
        if (!confirmed || !askToKeepUnsavedCranes()) {
            event.Veto();
            return;
        }
    }
    rememberWindow(*this);
    Destroy();
}

void MainFrame::OnAbout(wxCommandEvent&) { showAboutBox(this); }

void MainFrame::OnHelp(wxCommandEvent&)
{
    if (wxHtmlHelpController* help = wxGetApp().helpController)
        help->Display(ui("Справка Brennix"));
}
