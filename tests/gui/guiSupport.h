// Helpers of the GUI tests: recorded log, scripted modal dialogs, clicks and cranes in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/log.h>
#include <wx/modalhook.h>
#include <wx/utils.h>

class MainFrame;
class cycLink;
class devLink;
class wxNotebook;
class wxPreviewFrame;

// Keeps the status bar working as in the program, records every message and shows no box.
class RecordingLog : public wxLogGui {
public:
    static void install();
    static std::vector<std::pair<wxLogLevel, wxString>>& messages();

protected:
    void DoLogRecord(wxLogLevel level, const wxString& message, const wxLogRecordInfo& info) override;
};

// Lets every modal dialog really run and plays one step on each, in order, once it is up.
// A dialog beyond the script fails the test and ends with wxID_CANCEL without being shown; a
// dialog that ends before its step has been played (something else answered it) fails the test,
// and its step is not played.
class ModalScript : public wxModalDialogHook {
public:
    using Step = std::function<void(wxDialog*)>;
    explicit ModalScript(std::vector<Step> steps = {});
    ~ModalScript() override;
    std::size_t played() const { return next; }

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog* dialog) override;

private:
    struct Answer {
        bool played = false;
        bool ended = false;
    };
    std::vector<Step> steps;
    std::size_t next = 0;
    std::map<wxDialog*, std::shared_ptr<Answer>> answers;
};

// Plays the user's part in the dialogs that a command opens, one answer per dialog in order.
// A dialog whose answer is wxID_NONE runs, for the keys its check has typeKeys send it once it
// is up (a file dialog); every other dialog is answered unseen with the answer's identifier. An
// answer may first look at its dialog. A dialog beyond the answers fails the test and ends with
// wxID_CANCEL without being shown.
class DialogAnswers : public wxModalDialogHook {
public:
    struct Answer {
        int id;   // wxID_NONE: let the dialog run
        std::function<void(wxDialog*)> check = {};
    };
    explicit DialogAnswers(std::vector<Answer> answers);
    ~DialogAnswers() override;
    std::size_t given() const { return next; }

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog* dialog) override;

private:
    std::vector<Answer> answers;
    std::size_t next = 0;
    wxDialog* running = nullptr;
};

// Types into a dialog of the toolkit or the system (a file dialog) as the user does, with the
// keyboard: once the dialog is on the screen and has the keyboard focus, types the text, then
// presses the keys named (xdotool's names, e.g. "Return"), from beside the dialog's modal loop,
// which takes the keys while the test waits for it to end. Through xdotool and the X display under
// GTK (guiSupportX11.cpp), through the system's input on Windows (guiSupportWindows.cpp).
void typeKeys(wxWindow* dialog, const wxString& text, const std::vector<std::string>& keys);

// Answers that let the dialog run and, once it is up, type the text into it and press Enter, or
// press Escape; the check, if any, looks at the dialog first.
DialogAnswers::Answer typeInto(const wxString& text, std::function<void(wxDialog*)> check = {});
DialogAnswers::Answer escapeFrom(std::function<void(wxDialog*)> check = {});

// Sends a button click from the window's child id, as the user's click would.
void click(wxWindow* window, int id);
// Sends a menu or tool command to the window.
void command(wxWindow* window, int id);
// Processes what is queued, the deletion of destroyed windows included.
void settle();
// Lets the toolkit work until done() holds, for ten seconds at most; returns done().
bool waitUntil(const std::function<bool()>& done);
// Lets the toolkit work for about a third of a second: time for a window to come up and paint,
// or for input on its way to arrive.
void letTheToolkitWork();

// The user's keyboard, through the X server: keys go to the window under the pointer, which is
// first moved over the middle of the window's top-level window (a modal dialog's included).
// Presses key there, with the modifiers (wxMOD_CONTROL, ...), and lets the toolkit work until
// taken() says the key has had its effect; false when it has not within ten seconds.
bool pressKey(wxWindow* window, int key, const std::function<bool()>& taken, int modifiers = wxMOD_NONE);
// Focuses the field, selects all its text and types text over it, key by key; returns once the
// field has had every key.
void typeInto(wxWindow* field, const char* text);
// What the screen shows in an area right now, pixel by pixel (0xRRGGBB), read through a
// connection of its own to the X server (so from any thread) or from the Windows screen; empty
// when the display cannot be read.
std::vector<uint32_t> screenPixels(const wxRect& area);
// Makes every warning or critical message of the toolkit and the libraries under it (which print
// them on the terminal, where nobody reads them in a test run) a failure of the test that causes
// it: the program prints none in normal use.
void failOnToolkitWarnings();
int differingPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b);

// Input through the X server, as the user's hands give it (xdotool's arguments); it arrives
// while the test goes on.
void userInput(const wxString& arguments);
wxPoint centreOf(const wxRect& area);
// Where on the screen the tab of the notebook's page is.
wxPoint tabOnScreen(wxNotebook* notebook, int page);
// The user's stray hands while an operation blocks: a click on the tab of the graphs, then Escape.
void clickGraphsTabAndPressEscape(MainFrame* frame);
// Answers the message of the title as the user who reads it: once the stray input has had time
// to arrive, the message must still be up and the click must have gone nowhere.
ModalScript::Step messageOutlivingStrayInput(MainFrame* frame, const char* title);

// Plays an action once, right after the status text has been logged: a moment in the middle of
// a readout or a settings update. Records the log as the tests' log does.
class OnStatus : public RecordingLog {
public:
    OnStatus(const char* status, std::function<void()> action);
    ~OnStatus() override;

protected:
    void DoLogRecord(wxLogLevel level, const wxString& message, const wxLogRecordInfo& info) override;

private:
    wxString status;
    std::function<void()> action;
    wxLog* previous;
};

// A graph starting at timeStamp; points are (seconds, value byte) as the recorder stores them.
cycLink* makeGraph(int32_t timeStamp, const std::vector<std::pair<uint16_t, uint8_t>>& points);
devLink* makeCrane(const std::string& name, std::vector<cycLink*> graphs = {});

// A fresh main window for every test, destroyed after it.
// Fresh print and page-setup settings of the program (the start-up makes them once) for as long
// as the object lives.
class FreshPrintSettings {
public:
    FreshPrintSettings();
    ~FreshPrintSettings();
    FreshPrintSettings(const FreshPrintSettings&) = delete;
    FreshPrintSettings& operator=(const FreshPrintSettings&) = delete;
};

class FrameTest : public ::testing::Test {
protected:
    FrameTest();
    void TearDown() override;
    // Hands the cranes to the window and shows the first.
    void holdCranes(std::vector<devLink*> cranes);

    MainFrame* frame;
};

// Runs the window's preview command and returns the preview frame it opened, or null.
wxPreviewFrame* openPreview(MainFrame* frame);
