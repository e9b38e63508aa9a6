// The readout command on the real main window, with the real simulator behind "COM1".
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/notebook.h>
#include <wx/radiobox.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/testing.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>

#include <wx/choice.h>
#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/filename.h>

#include "app/BrennixApp.h"
#include "app/MainFrame.h"
#include "app/globals.h"
#include "app/uiText.h"
#include "data/devLink.h"
#include "dialogs/ComChooserDialog.h"
#include "dialogs/ConnectDialog.h"
#include "dialogs/InfoDialog.h"
#include "dialogs/SerialPortsPanel.h"
#include "dialogs/ProgressDialog.h"
#include "link/codings.h"
#include "link/commands.h"
#include "link/portNames.h"
#include "tests/gui/guiSupport.h"
#include "tests/support/ptyPeer.h"
#include "tests/support/readoutScenarios.h"
#include "tests/support/simProcess.h"
#include "tests/support/timeZone.h"
#include "view/GraphWindow.h"

namespace {

ModalScript::Step pressing(int id)
{
    return [id](wxDialog* dialog) { click(dialog, id); };
}

// The connection dialog answered as a user would: serial port, then port 1.
const std::vector<ModalScript::Step> serialPortOne = {
    pressing(ID_CONNECT_SERIAL), [](wxDialog* dialog) {
        ComChooserDialog* chooser = dynamic_cast<ComChooserDialog*>(dialog);
        ASSERT_NE(chooser, nullptr);
        chooser->radio->SetSelection(0);
        click(chooser, wxID_YES);
    }};

// The readout's progress dialog, while it is up.
ProgressDialog* progressDialog()
{
    for (wxWindow* window : wxTopLevelWindows)
        if (ProgressDialog* progress = dynamic_cast<ProgressDialog*>(window))
            if (!wxTheApp->IsScheduledForDestruction(progress))
                return progress;
    return nullptr;
}

std::vector<wxString> labels(wxWindow* window)
{
    std::vector<wxString> all;
    for (wxWindow* child : window->GetChildren())
        if (wxStaticText* text = wxDynamicCast(child, wxStaticText))
            all.push_back(text->GetLabel());
    return all;
}

std::vector<wxString> texts(wxComboBox* box)
{
    std::vector<wxString> all;
    for (unsigned i = 0; i < box->GetCount(); ++i)
        all.push_back(box->GetString(i));
    return all;
}

class ReadoutCommand : public FrameTest {
protected:
    void SetUp() override
    {
        recorderEpoch = computeRecorderEpoch();
        RecordingLog::messages().clear();
        // Cranes from an earlier readout, which the command replaces.
        holdCranes({makeCrane("old", {makeGraph(0, {{0, 0x81}, {1, 0x82}, {2, 0x83}, {3, 0x84}})})});
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        recorderEpoch = savedEpoch;
    }

    // Starts the simulator on the scenario with options, behind "COM1".
    void startDevice(std::vector<std::string> options, const char* content = collectorScenario)
    {
        scenario = std::make_unique<scenarioFile>(content);
        options.insert(options.end(), {"--scenario", scenario->path});
        sim = std::make_unique<simProcess>(options);
        ASSERT_FALSE(sim->waitForTerminal().empty()) << "the simulator came up";
        com1 = std::make_unique<scopedComPort>(1, sim->link);
    }
    // Runs the command with the dialogs answered by steps.
    void connect(std::vector<ModalScript::Step> steps)
    {
        const std::size_t expected = steps.size();
        ModalScript script(std::move(steps));
        command(frame, ID_CONNECT);
        EXPECT_EQ(script.played(), expected) << "every dialog expected came up";
        settle();
    }
    std::vector<wxString> logged(wxLogLevel level) const
    {
        std::vector<wxString> found;
        for (const auto& [l, text] : RecordingLog::messages())
            if (l == level)
                found.push_back(text);
        return found;
    }
    wxComboBox* graphList() const { return frame->graphPage->graphList(); }

    ScopedTimeZone zone{"UTC"};
    int32_t savedEpoch = recorderEpoch;
    std::unique_ptr<scenarioFile> scenario;
    std::unique_ptr<simProcess> sim;
    std::unique_ptr<scopedComPort> com1;
};

TEST_F(ReadoutCommand, CollectorBehindComOneFillsTheSelector)
{
    startDevice({});
    frame->showDataFileName("old.brx");   // the cranes replaced came from a data file
    auto steps = serialPortOne;
    steps.push_back([this](wxDialog* dialog) {
        // The completion message, while nothing points at the cranes the readout replaced.
        EXPECT_NE(dynamic_cast<InfoDialog*>(dialog), nullptr);
        EXPECT_EQ(dialog->GetTitle(), ui("Считывание завершено"));
        EXPECT_NE(dialog->FindWindow(wxID_OK), nullptr);
        EXPECT_EQ(frame->craneSelector->GetCount(), 0u);
        EXPECT_EQ(graphList()->GetCount(), 0u);
        // The progress texts reached the status bar while the readout ran.
        EXPECT_EQ(frame->GetStatusBar()->GetStatusText(),
                  ui("Чтение данных об устройстве из слота 3 из 3"));
        click(dialog, wxID_OK);
    });
    connect(steps);

    EXPECT_EQ(frame->connectResult, ID_CONNECT_SERIAL);
    EXPECT_EQ(frame->portName, "COM1");
    EXPECT_EQ(frame->GetTitle(), "Brennix 1.2.1");
    EXPECT_TRUE(logged(wxLOG_Error).empty());
    const std::vector<wxString> statuses = logged(wxLOG_Status);
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.front(), ui("Обнаружен регистратор параметров \"VELM0001\""));
    EXPECT_EQ(texts(frame->craneSelector),
              (std::vector<wxString>{ui("КР-000000001 14/03/2024 08:00:00"), ui("КР-2 14/03/2024 09:00:00"),
                                     ui("КР-3 14/03/2024 10:00:00")}));
    EXPECT_EQ(frame->craneSelector->GetSelection(), 0);
    EXPECT_EQ(graphList()->GetCount(), 3u) << "the graphs of the first crane";
    EXPECT_EQ(graphList()->GetSelection(), 0);
}

TEST_F(ReadoutCommand, RecorderReadThroughThePortChosenLastTime)
{
    startDevice({}, recorderScenario);
    frame->preselectedPort = "COM1";
    wxTEST_DIALOG(command(frame, ID_CONNECT), wxExpectDismissableModal<ConnectDialog>(ID_CONNECT_SERIAL),
                  wxExpectDismissableModal<InfoDialog>(wxID_OK));
    settle();
    EXPECT_TRUE(logged(wxLOG_Error).empty());
    ASSERT_EQ(frame->craneSelector->GetCount(), 1u);
    EXPECT_TRUE(frame->craneSelector->GetString(0).StartsWith(ui("Р-20481 15/03/2024 10:00:")));
    EXPECT_EQ(graphList()->GetCount(), 2u);
    EXPECT_TRUE(frame->unsavedCranes) << "the question comes before they are dropped";
}

TEST_F(ReadoutCommand, CollectorOverInfraredFillsTheSelector)
{
    scenario = std::make_unique<scenarioFile>(collectorScenario);
    sim = std::make_unique<simProcess>(std::vector<std::string>{"--scenario", scenario->path}, simLine::irda);
    ASSERT_TRUE(sim->waitForAir());
    const scopedIrdaAir air(sim->air);
    frame->portName = "COM2";
    wxTEST_DIALOG(command(frame, ID_CONNECT), wxExpectDismissableModal<ConnectDialog>(ID_CONNECT_IRDA),
                  wxExpectDismissableModal<InfoDialog>(wxID_OK));
    settle();

    EXPECT_EQ(frame->connectResult, ID_CONNECT_IRDA);
    EXPECT_TRUE(logged(wxLOG_Error).empty());
    const std::vector<wxString> statuses = logged(wxLOG_Status);
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.front(), ui("поиск устройств IrDA... 1"));
    EXPECT_EQ(texts(frame->craneSelector),
              (std::vector<wxString>{ui("КР-000000001 14/03/2024 08:00:00"), ui("КР-2 14/03/2024 09:00:00"),
                                     ui("КР-3 14/03/2024 10:00:00")}));
    EXPECT_EQ(graphList()->GetCount(), 3u);
}

TEST_F(ReadoutCommand, FailedSlotGivesItsTextAndNoCompletionMessage)
{
    startDevice({"--fault", "ReadMemory/slot=1:length=10"});
    connect(serialPortOne);
    EXPECT_EQ(logged(wxLOG_Error), std::vector<wxString>{ui("Ошибка при чтении памяти с адреса $0000")});
    EXPECT_EQ(texts(frame->craneSelector),
              (std::vector<wxString>{ui("КР-000000001 14/03/2024 08:00:00"), ui("КР-3 14/03/2024 10:00:00")}));
    EXPECT_EQ(graphList()->GetCount(), 3u);
}

TEST_F(ReadoutCommand, CancelledChoiceKeepsTheCranesAndTheirConnection)
{
    frame->connectResult = ID_CONNECT_MODEM;
    frame->portName = "COM3";
    const std::vector<ModalScript::Step> cancels[] = {
        {pressing(wxID_NO)},
        {pressing(ID_CONNECT_SERIAL), pressing(wxID_NO)},   // inside the port chooser
    };
    for (const auto& steps : cancels) {
        connect(steps);
        EXPECT_EQ(frame->connectResult, ID_CONNECT_MODEM);
        EXPECT_EQ(frame->portName, "COM3");
        EXPECT_EQ(texts(frame->craneSelector), std::vector<wxString>{"old"});
        EXPECT_EQ(graphList()->GetCount(), 1u);
        EXPECT_TRUE(RecordingLog::messages().empty());
    }
}

TEST_F(ReadoutCommand, PortThatCannotBeOpenedLeavesNoCrane)
{
    frame->SetStatusText(ui("Чтение графика № 2/2"));   // the last text of an earlier readout
    com1 = std::make_unique<scopedComPort>(1, "/nonexistent/tty");
    connect(serialPortOne);
    EXPECT_EQ(logged(wxLOG_Error).size(), 1u) << "the link's own text only";
    EXPECT_EQ(frame->craneSelector->GetCount(), 0u);
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(), wxString()) << "no text of the earlier readout stays";
}

TEST_F(ReadoutCommand, ThePortChooserLeavesTheScreenAsSoonAsItCloses)
{
    // A device that is slow to answer: the window must not show the closed dialog meanwhile.
    ptyPeer device;
    com1 = std::make_unique<scopedComPort>(1, device.slavePath());
    wxRect chooserArea;
    std::vector<uint32_t> chooserShown, whenAsked;
    device.start([&](int, const std::vector<uint8_t>&) {
        if (whenAsked.empty())
            whenAsked = screenPixels(chooserArea);
        // An unknown device ends the readout.
        return ptyPeer::Answer{framed({0x01, 0x01, 0, 0, Identify, 'Z', 'Z', '_', 'v', '0', '0', '0', '1'})};
    });
    connect({pressing(ID_CONNECT_SERIAL), [&](wxDialog* chooser) {
                 letTheToolkitWork();
                 chooserArea = chooser->GetScreenRect();
                 chooserShown = screenPixels(chooserArea);
                 click(chooser, wxID_YES);
             }});
    device.stop();
    ASSERT_FALSE(chooserShown.empty()) << "the screen can be read";
    EXPECT_GT(differingPixels(whenAsked, chooserShown), 1000)
        << "the chooser is gone from the screen before the device is asked";
}

TEST_F(ReadoutCommand, StrayInputDuringTheReadoutCannotAnswerTheCompletionMessage)
{
    startDevice({"--baud", "9600"});
    // In the middle of the readout the user clicks the tab of the graphs and presses Escape.
    const OnStatus hands("Чтение данных об устройстве из слота 2 из 3",
                         [this] { clickGraphsTabAndPressEscape(frame); });
    auto steps = serialPortOne;
    steps.push_back(messageOutlivingStrayInput(frame, "Считывание завершено"));
    connect(steps);
    EXPECT_EQ(frame->craneSelector->GetCount(), 3u);
}

TEST_F(ReadoutCommand, StoppedReadoutShowsWhatItKept)
{
    startDevice({"--baud", "9600"});
    std::vector<wxString> shown;
    bool busy = false;
    // The user sees where the readout stands and stops it.
    const OnStatus hands("Чтение графика № 2/3", [&] {
        ProgressDialog* progress = progressDialog();
        ASSERT_NE(progress, nullptr);
        shown = labels(progress);
        busy = frame->GetCursor().IsOk() && !frame->IsEnabled();
        const wxPoint stop = centreOf(progress->FindWindow(wxID_ABORT)->GetScreenRect());
        userInput(wxString::Format("mousemove %d %d click 1", stop.x, stop.y));
    });
    connect(serialPortOne);   // and no completion message
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[0], ui("Кран 1 из 3"));
    EXPECT_EQ(shown[1], ui("График 1 из 3"));
    EXPECT_TRUE(busy) << "a busy cursor over the window, which takes no input";
    EXPECT_EQ(progressDialog(), nullptr);
    EXPECT_FALSE(frame->GetCursor().IsOk());
    EXPECT_TRUE(frame->IsEnabled());
    EXPECT_TRUE(logged(wxLOG_Error).empty());
    ASSERT_GE(frame->craneSelector->GetCount(), 1u);
    EXPECT_LT(frame->craneSelector->GetCount(), 3u) << "the readout ended early";
    unsigned graphs = 0;
    for (const devLink* crane = firstCrane(frame->cranes); crane; crane = nextCrane(crane))
        graphs += static_cast<unsigned>(crane->graphs.count());
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(),
              wxString::Format(ui("Считывание прервано пользователем. Сохранены полностью считанные "
                                  "данные: кранов %u, графиков %u"),
                               frame->craneSelector->GetCount(), graphs));
}

// The port chooser shows the device behind each port; what the user maps there and the speed
// chosen are stored and hold from this readout on: the device answers at 19200 only.
TEST_F(ReadoutCommand, ThePortsDevicesAndTheSpeedAreChosenInThePortChooser)
{
    wxConfigBase* config = wxConfigBase::Get();
    config->Write("/Com/COM2", "/dev/ttyUSB7");
    unsetenv("BRENNIX_COM2");
    unsetenv("BRENNIX_COM3");
    unsetenv("BRENNIX_COM4");
    const int32_t speedBefore = portSpeed;
    startDevice({"--baud", "19200"});
    const std::string tooLong(260, 'x');
    ModalScript script({pressing(ID_CONNECT_SERIAL),
                        [&](wxDialog* dialog) {
                            ComChooserDialog* chooser = dynamic_cast<ComChooserDialog*>(dialog);
                            ASSERT_NE(chooser, nullptr);
                            const std::vector<wxComboBox*>& devices = chooser->ports->devices;
                            ASSERT_EQ(devices.size(), 4u);
                            EXPECT_EQ(devices[0]->GetValue(), wxString::FromUTF8(sim->link));
                            EXPECT_FALSE(devices[0]->IsEnabled()) << "the environment's device wins";
                            EXPECT_EQ(devices[1]->GetValue(), "/dev/ttyUSB7");
                            EXPECT_EQ(devices[2]->GetValue(), "/dev/ttyS2");
                            EXPECT_EQ(chooser->ports->speed->GetStringSelection(), "9600");
                            devices[1]->SetFocus();
                            devices[1]->SelectAll();
                            EXPECT_TRUE(pressKey(devices[1], WXK_BACK, [&] { return devices[1]->GetValue().empty(); }));
                            typeInto(devices[3], ("/dev/" + tooLong).c_str());   // beyond the field's length
                            chooser->ports->speed->SetStringSelection("19200");
                            click(chooser, wxID_YES);
                        },
                        [](wxDialog* dialog) {
                            EXPECT_EQ(dialog->GetTitle(), ui("Считывание завершено"));
                            click(dialog, wxID_OK);
                        }});
    command(frame, ID_CONNECT);
    settle();
    EXPECT_EQ(script.played(), 3u);
    EXPECT_TRUE(logged(wxLOG_Error).empty());
    EXPECT_EQ(frame->craneSelector->GetCount(), 3u);

    EXPECT_EQ(portSpeed, 19200);
    EXPECT_EQ(config->ReadLong("/Com/Speed", 0), 19200);
    EXPECT_FALSE(config->HasEntry("/Com/COM1"));
    EXPECT_FALSE(config->HasEntry("/Com/COM2")) << "emptied: the standard device again";
    EXPECT_FALSE(config->HasEntry("/Com/COM3")) << "left as it was";
    EXPECT_EQ(config->Read("/Com/COM4", wxString()), "/dev/" + tooLong.substr(0, 250)) << "255 characters at most";
    config->DeleteEntry("/Com/COM4");
    config->Write("/Com/Speed", speedBefore);
    portSpeed = speedBefore;
}

TEST(PortNames, ConfiguredDevicesAreUsedAndNoneIsRecorded)
{
    const wxString storePath = wxFileName::GetHomeDir() + "/.Brennix";
    wxFileConfig(wxString(), wxString(), storePath).Write("/Com/COM2", "/dev/ttyUSB7");
    unsetenv("BRENNIX_COM2");
    unsetenv("BRENNIX_COM3");
    BrennixApp& app = wxGetApp();
    ASSERT_TRUE(app.OnInit());
    const serialSettings settings = configuredSerialSettings();
    EXPECT_EQ(settings.speed, 9600);
    EXPECT_EQ(portDevicePath("COM2", settings.configuredPort), "/dev/ttyUSB7");
    EXPECT_EQ(portDevicePath("COM3", settings.configuredPort), "/dev/ttyS2");
    app.frame->Destroy();
    settle();
    app.OnExit();

    wxFileConfig store(wxString(), wxString(), storePath);
    EXPECT_EQ(store.Read("/Com/COM2", wxString()), "/dev/ttyUSB7");
    EXPECT_FALSE(store.HasEntry("/Com/COM3")) << "no default is recorded for a port";
    store.DeleteEntry("/Com/COM2");
}

}  // namespace
