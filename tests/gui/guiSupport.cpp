// The window tests' helpers that work with every toolkit; those that drive GTK and read the X
// display are in guiSupportX11.cpp.
#include "tests/gui/guiSupport.h"

#include <algorithm>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/notebook.h>
#include <wx/print.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "app/BrennixApp.h"
#include "app/MainFrame.h"
#include "app/uiText.h"
#include "data/devLink.h"

void RecordingLog::install() { delete wxLog::SetActiveTarget(new RecordingLog); }

std::vector<std::pair<wxLogLevel, wxString>>& RecordingLog::messages()
{
    static std::vector<std::pair<wxLogLevel, wxString>> recorded;
    return recorded;
}

void RecordingLog::DoLogRecord(wxLogLevel level, const wxString& message, const wxLogRecordInfo& info)
{
    messages().emplace_back(level, message);
    if (level == wxLOG_Status)
        wxLogGui::DoLogRecord(level, message, info);
}

ModalScript::ModalScript(std::vector<Step> steps) : steps(std::move(steps)) { Register(); }

ModalScript::~ModalScript() { Unregister(); }

int ModalScript::Enter(wxDialog* dialog)
{
    if (next >= steps.size()) {
        ADD_FAILURE() << "unexpected dialog \"" << dialog->GetTitle().utf8_str().data() << "\"";
        return wxID_CANCEL;
    }
    Step step = steps[next++];
    auto answer = std::make_shared<Answer>();
    answers[dialog] = answer;
    dialog->CallAfter([dialog, step, answer] {
        if (answer->ended)
            return;
        answer->played = true;
        step(dialog);
    });
    return wxID_NONE;
}

void ModalScript::Exit(wxDialog* dialog)
{
    const auto found = answers.find(dialog);
    if (found == answers.end())
        return;
    found->second->ended = true;
    if (!found->second->played)
        ADD_FAILURE() << "\"" << dialog->GetTitle().utf8_str().data() << "\" ended before the script answered it";
    answers.erase(found);
}

DialogAnswers::DialogAnswers(std::vector<Answer> answers) : answers(std::move(answers)) { Register(); }

DialogAnswers::~DialogAnswers() { Unregister(); }

int DialogAnswers::Enter(wxDialog* dialog)
{
    if (dialog == running)   // a file dialog enters twice: as a file dialog and as a dialog
        return wxID_NONE;
    if (next >= answers.size()) {
        ADD_FAILURE() << "unexpected dialog \"" << dialog->GetTitle().utf8_str().data() << "\"";
        return wxID_CANCEL;
    }
    const Answer& answer = answers[next++];
    if (answer.check)
        answer.check(dialog);
    if (answer.id == wxID_NONE)
        running = dialog;
    return answer.id;
}

void DialogAnswers::Exit(wxDialog* dialog)
{
    if (dialog == running)
        running = nullptr;
}

namespace {

DialogAnswers::Answer keysAnswer(const wxString& text, const std::string& key,
                                 std::function<void(wxDialog*)> check)
{
    return {wxID_NONE, [text, key, check](wxDialog* dialog) {
                if (check)
                    check(dialog);
                typeKeys(dialog, text, {key});
            }};
}

}  // namespace

DialogAnswers::Answer typeInto(const wxString& text, std::function<void(wxDialog*)> check)
{
    return keysAnswer(text, "Return", std::move(check));
}

DialogAnswers::Answer escapeFrom(std::function<void(wxDialog*)> check)
{
    return keysAnswer(wxString(), "Escape", std::move(check));
}

void click(wxWindow* window, int id)
{
    wxWindow* button = window->FindWindow(id);
    ASSERT_NE(button, nullptr) << "no control " << id;
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(button);
    button->ProcessWindowEvent(event);
}

void command(wxWindow* window, int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(window);
    window->ProcessWindowEvent(event);
}

int differingPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    int differing = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        differing += a[i] != b[i] ? 1 : 0;
    return differing;
}

void settle()
{
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessPendingEvents();
}

bool waitUntil(const std::function<bool()>& done)
{
    for (int round = 0; round < 1000 && !done(); ++round) {
        wxYield();
        wxMilliSleep(10);
    }
    return done();
}

void letTheToolkitWork()
{
    for (int round = 0; round < 30; ++round) {
        wxYield();
        wxMilliSleep(10);
    }
}

ModalScript::Step messageOutlivingStrayInput(MainFrame* frame, const char* title)
{
    return [frame, title](wxDialog* dialog) {
        EXPECT_EQ(dialog->GetTitle(), ui(title));
        letTheToolkitWork();   // as long as the user takes to read the message
        EXPECT_TRUE(dialog->IsModal()) << "the message is still up";
        EXPECT_EQ(frame->notebook->GetSelection(), 0) << "the click went nowhere";
        click(dialog, wxID_OK);
    };
}

FreshPrintSettings::FreshPrintSettings()
{
    BrennixApp& app = wxGetApp();
    EXPECT_EQ(app.printData, nullptr) << "no settings left by another test";
    app.printData = new wxPrintData;
    app.pageSetupData = new wxPageSetupDialogData;
}

FreshPrintSettings::~FreshPrintSettings()
{
    BrennixApp& app = wxGetApp();
    delete app.printData;
    app.printData = nullptr;
    delete app.pageSetupData;
    app.pageSetupData = nullptr;
}

namespace {

// Keys then go to the window's top-level window.
void pointAt(wxWindow* window)
{
    const wxWindow* top = wxGetTopLevelParent(window);
    wxUIActionSimulator().MouseMove(top->GetScreenPosition() + top->GetSize() / 2);
}

}  // namespace

bool pressKey(wxWindow* window, int key, const std::function<bool()>& taken, int modifiers)
{
    pointAt(window);
    wxUIActionSimulator().Char(key, modifiers);
    return waitUntil(taken);
}

void typeInto(wxWindow* field, const char* text)
{
    field->SetFocus();
    pointAt(field);
    wxUIActionSimulator user;
    user.Char('a', wxMOD_CONTROL);   // select all: the typing replaces the text
    user.Text(text);
    // Keys arrive in order: once Home is in, every key typed before it is.
    bool homeTaken = false;
    const auto mark = [&homeTaken](wxKeyEvent& event) {
        homeTaken = homeTaken || event.GetKeyCode() == WXK_HOME;
        event.Skip();
    };
    field->Bind(wxEVT_KEY_UP, mark);
    EXPECT_TRUE(pressKey(field, WXK_HOME, [&homeTaken] { return homeTaken; })) << "typed into the field";
    field->Unbind(wxEVT_KEY_UP, mark);
}

wxPoint centreOf(const wxRect& area) { return area.GetPosition() + area.GetSize() / 2; }

wxPoint tabOnScreen(wxNotebook* notebook, int page)
{
    // The tabs run along the bottom edge.
    wxPoint tab(0, notebook->GetSize().y - 10);
    while (tab.x < notebook->GetSize().x && notebook->HitTest(tab) != page)
        tab.x += 4;
    return notebook->ClientToScreen(tab);
}

OnStatus::OnStatus(const char* status, std::function<void()> action)
    : status(wxString::FromUTF8(status)), action(std::move(action)), previous(wxLog::SetActiveTarget(this))
{
}

OnStatus::~OnStatus() { wxLog::SetActiveTarget(previous); }

void OnStatus::DoLogRecord(wxLogLevel level, const wxString& message, const wxLogRecordInfo& info)
{
    RecordingLog::DoLogRecord(level, message, info);
    if (level == wxLOG_Status && message == status && action)
        std::exchange(action, nullptr)();
}

cycLink* makeGraph(int32_t timeStamp, const std::vector<std::pair<uint16_t, uint8_t>>& points)
{
    cycLink* graph = new cycLink;
    graph->timeStamp = timeStamp;
    for (const auto& [seconds, value] : points) {
        graph->Points.push_back(static_cast<uint8_t>(seconds >> 8));
        graph->Points.push_back(static_cast<uint8_t>(seconds & 0xFF));
        graph->Points.push_back(value);
    }
    graph->Npoints = static_cast<uint16_t>(points.size());
    graph->decodePoints();
    return graph;
}

devLink* makeCrane(const std::string& name, std::vector<cycLink*> graphs)
{
    devLink* crane = new devLink;
    crane->name = name;
    for (cycLink* graph : graphs)
        crane->graphs.pushBack(graph);
    return crane;
}

FrameTest::FrameTest() : frame(new MainFrame) {}

void FrameTest::TearDown()
{
    frame->Destroy();
    settle();
}

void FrameTest::holdCranes(std::vector<devLink*> cranes)
{
    for (devLink* crane : cranes)
        frame->cranes.pushBack(crane);
    frame->showCranes();
}

wxPreviewFrame* openPreview(MainFrame* frame)
{
    const wxWindowList before = wxTopLevelWindows;
    command(frame, ID_PREVIEW);
    wxPreviewFrame* preview = nullptr;
    for (wxWindow* window : wxTopLevelWindows)
        if (!before.Member(window))
            preview = wxDynamicCast(window, wxPreviewFrame);
    return preview;
}
