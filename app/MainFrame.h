// The program's only top-level window: menus, tool bar with the crane selector, the notebook
// of the three pages and the status bar. It owns the cranes read.
#pragma once

#include <cstdint>
#include <string>

#include <wx/frame.h>

#include "data/aList.h"

class GraphTableWindow;
class GraphWindow;
class ReportWindow;
class SetupWindow;
class wxComboBox;
class wxMenuBar;
class wxNotebook;
class wxToolBar;

enum {
    ID_PRINT = 500,
    ID_PAGE_SETUP = 501,
    ID_PREVIEW = 502,
    ID_EXIT = 503,
    ID_ABOUT = 504,
    ID_HELP = 505,
    ID_CONNECT = 506,
    ID_PREV_CRANE = 510,
    ID_CRANE_SELECTOR = 511,
    ID_NEXT_CRANE = 512,
};

class MainFrame : public wxFrame {
public:
    MainFrame();
    ~MainFrame() override;

    // Makes the crane at index of the selector current and shows it on all three pages.
    void selectCrane(int index);

    // Empties the crane selector and the graph list, so that no page refers to a crane any
    // more, then deletes the cranes. The readout and the file reader call this instead of
    // cranes.clear() before they fill cranes anew.
    void clearCranes();
    // Refills the crane selector from cranes and makes the first crane current, if any.
    void showCranes();
    // Names the data file that the cranes held were read from or saved to in the title; an
    // empty path leaves the program's name alone. clearCranes() empties it.
    void showDataFileName(const wxString& path);

    // The readout command: asks for the connection, reads the recorder or collector behind it
    // into cranes and shows them.
    void readRecorder();
    // The file commands: replace the cranes with a data file's, or write them into one.
    void openDataFile();
    void saveDataFile();
    // Reads the data file at path as the open command reads the one chosen in its dialog (a file
    // given on the command line).
    void openDataFile(const wxString& path);
    // Before the cranes are replaced or the program ends: when they came from a readout and were
    // not saved since, asks whether to save them first. False when the user cancels, or chose to
    // save and nothing was saved.
    bool askToKeepUnsavedCranes();

    virtual void OnPrevCrane(wxCommandEvent& event);
    virtual void OnCraneChosen(wxCommandEvent& event);
    virtual void OnNextCrane(wxCommandEvent& event);

    wxMenuBar* menuBar = nullptr;
    wxToolBar* toolBar = nullptr;
    wxNotebook* notebook = nullptr;
    wxComboBox* craneSelector = nullptr;
    ReportWindow* reportPage = nullptr;
    GraphWindow* graphPage = nullptr;
    SetupWindow* setupPage = nullptr;
    GraphTableWindow* graphTablePage = nullptr;   // the fourth page, after the three above
    wxString lastDirectory;
    aList cranes;               // of devLink
    int32_t connectResult;      // last result of the connection dialog
    std::string portName;       // "COM1".."COM4" chosen there, or empty
    bool unsavedCranes = false; // cranes came from a readout and were not saved since
    // The way and the serial port chosen last in the connection dialogs, in this run or an
    // earlier one (app/windowMemory.h); the dialogs preselect them.
    int32_t preselectedWay;
    std::string preselectedPort;

private:
    void buildMenus();
    void buildToolBar();
    void buildNotebook();
    // Replaces the cranes with those of the data file at path.
    void readChosenFile(const wxString& path);

    void OnConnect(wxCommandEvent& event);
    void OnOpen(wxCommandEvent& event);
    void OnSave(wxCommandEvent& event);
    void OnPrint(wxCommandEvent& event);
    void OnPageSetup(wxCommandEvent& event);
    void OnPreview(wxCommandEvent& event);
    void OnExit(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnAbout(wxCommandEvent& event);
    void OnHelp(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};
