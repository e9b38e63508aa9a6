#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gdk/gdkx.h>
#include <wx/choice.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/html/helpctrl.h>
#include <wx/html/helpdata.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/print.h>
#include <wx/calctrl.h>
#include <wx/generic/calctrlg.h>
#include <wx/translation.h>

#include "app/BrennixApp.h"
#include "app/MainFrame.h"
#include "app/globals.h"
#include "app/uiText.h"
#include "data/devLink.h"
#include "dialogs/CalDialog.h"
#include "dialogs/ConnectDialog.h"
#include "link/codings.h"
#include "tests/gui/guiSupport.h"
#include "view/protocolText.h"

namespace {

// The configuration store of the program under the test's HOME.
wxString storePath() { return wxFileName::GetHomeDir() + "/.Brennix"; }

// A window manager (openbox) on the test's display while it lives.
class WindowManager {
public:
    WindowManager() : pid(fork())
    {
        if (pid == 0) {
            std::freopen("/dev/null", "w", stderr);   // its notes on a menu it has no need of
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        // It announces itself on the root window once it manages the screen.
        Display* display = gdk_x11_get_default_xdisplay();
        const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
        EXPECT_TRUE(waitUntil([display, check] {
            Atom type = None;
            int format = 0;
            unsigned long items = 0, left = 0;
            unsigned char* value = nullptr;
            XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, AnyPropertyType, &type,
                               &format, &items, &left, &value);
            if (value)
                XFree(value);
            return items > 0;
        })) << "openbox runs";
    }
    ~WindowManager()
    {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }

private:
    pid_t pid;
};

// One whole run of the program's start-up and shutdown, without its event loop.

// The program started with the arguments after its name, as a desktop entry or a terminal
// starts it.
MainFrame* startProgram(const std::vector<std::string>& arguments = {})
{
    std::vector<std::string> words{"brennix"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> line;
    for (std::string& word : words)
        line.push_back(word.data());
    line.push_back(nullptr);
    BrennixApp& app = wxGetApp();
    app.argc = static_cast<int>(words.size());
    app.argv.Init(app.argc, line.data());
    const bool started = app.OnInit();
    app.argc = 1;
    app.argv.Init(1, line.data());
    EXPECT_TRUE(started);
    settle();   // the program's error box, if any, comes up here
    RecordingLog::install();   // in place of the program's log
    return app.frame;
}

// The user closes the window and answers the exit question yes; the program ends.
void closeProgram()
{
    BrennixApp& app = wxGetApp();
    {
        DialogAnswers user({DialogAnswers::Answer{wxID_YES}});
        app.frame->Close(false);
        EXPECT_EQ(user.given(), 1u) << "the exit question";
    }
    settle();
    app.OnExit();
}

// One whole run of the program's start-up and shutdown, without its event loop.
void runProgramOnce()
{
    startProgram()->Destroy();
    settle();
    wxGetApp().OnExit();
}

TEST(StartUp, FirstRunRecordsBothKeysWithTheirDefaults)
{
    std::remove(storePath().utf8_str().data());
    portSpeed = 0;
    numberOfSensors = 0;
    runProgramOnce();
    EXPECT_EQ(portSpeed, 9600);
    EXPECT_EQ(numberOfSensors, 1);

    ASSERT_TRUE(wxFileName::FileExists(storePath()));
    wxFileConfig store(wxString(), wxString(), storePath());
    EXPECT_EQ(store.ReadLong("/Com/Speed", 0), 9600);
    EXPECT_EQ(store.ReadLong("/numberOfSensors", 0), 1);
}

TEST(StartUp, StoredSpeedIsTheSpeedOfTheRun)
{
    {
        wxFileConfig store(wxString(), wxString(), storePath());
        store.Write("/Com/Speed", 19200L);
        store.Write("/numberOfSensors", 3L);
    }
    runProgramOnce();
    EXPECT_EQ(portSpeed, 19200);
    EXPECT_EQ(numberOfSensors, 3);
    wxFileConfig store(wxString(), wxString(), storePath());
    EXPECT_EQ(store.ReadLong("/Com/Speed", 0), 19200) << "a stored value is kept";
}

TEST(StartUp, OpensTheMainWindowAndBothHelpBooks)
{
    BrennixApp& app = wxGetApp();
    ASSERT_TRUE(app.OnInit());
    EXPECT_EQ(app.GetTopWindow(), app.frame);
    EXPECT_TRUE(app.frame->IsShown());
    EXPECT_NE(app.printData, nullptr);
    EXPECT_NE(app.pageSetupData, nullptr);
    EXPECT_EQ(recorderEpoch, computeRecorderEpoch());

    const wxHtmlBookRecArray& books = app.helpController->GetHelpData()->GetBookRecArray();
    ASSERT_EQ(books.size(), 2u);
    EXPECT_EQ(books[0].GetTitle(), ui("Справка Brennix")) << "the title the help command asks for";
    EXPECT_EQ(books[1].GetTitle(), ui("Накопитель данных Velmora"));

    // Contents and index come out of the books in Cyrillic, not as mangled bytes.
    const wxHtmlHelpDataItems& contents = app.helpController->GetHelpData()->GetContentsArray();
    bool connecting = false;
    for (size_t i = 0; i < contents.size(); ++i)
        connecting = connecting || contents[i].name == ui("Подключение к регистратору");
    EXPECT_TRUE(connecting);
    const wxHtmlHelpDataItems& index = app.helpController->GetHelpData()->GetIndexArray();
    bool calibration = false;
    for (size_t i = 0; i < index.size(); ++i)
        calibration = calibration || index[i].name == ui("Калибровка");
    EXPECT_TRUE(calibration);

    app.frame->Destroy();
    settle();
    app.OnExit();
    EXPECT_EQ(app.helpController, nullptr);
    EXPECT_EQ(app.printData, nullptr);
}

// A data file opened from a file manager, the one argument, is read as the open command reads
// it, and a normal session with it (pages, preview, exit) passes without a word from GTK on the
// terminal: the tests fail on any toolkit warning (guiMain.cpp).
TEST(StartUp, TheOneArgumentIsADataFileOpenedAsTheOpenCommandOpensIt)
{
    const wxFileName file(wxString::FromUTF8(BRENNIX_EXPORT_FIXTURE));
    MainFrame* frame = startProgram({BRENNIX_EXPORT_FIXTURE});
    EXPECT_EQ(frame->cranes.count(), 3u);
    EXPECT_EQ(frame->craneSelector->GetSelection(), 0);
    EXPECT_EQ(frame->GetTitle(), ui("Brennix 1.2.1 — cranes.brx"));
    EXPECT_EQ(frame->lastDirectory, file.GetPath()) << "the file dialogs open in its folder";
    EXPECT_FALSE(frame->unsavedCranes);
    for (int page = 1; page <= 3; ++page) {
        const wxPoint tab = tabOnScreen(frame->notebook, page);
        userInput(wxString::Format("mousemove %d %d click 1", tab.x, tab.y));
        waitUntil([&] { return frame->notebook->GetSelection() == page; });
        EXPECT_EQ(frame->notebook->GetSelection(), page) << "the tab clicked";
    }
    frame->notebook->SetSelection(0);
    wxPreviewFrame* preview = openPreview(frame);
    ASSERT_NE(preview, nullptr);
    settle();
    preview->Close();
    settle();
    closeProgram();

    // The program has no options: whatever is given is a path, here one that names no file.
    {
        DialogAnswers user({DialogAnswers::Answer{wxID_OK, [](wxDialog* box) {
                                                      wxMessageDialog* message = wxDynamicCast(box, wxMessageDialog);
                                                      ASSERT_NE(message, nullptr);
                                                      EXPECT_EQ(message->GetMessage(),
                                                                ui("Ошибка при чтении файла данных"));
                                                  }}});
        frame = startProgram({"--help"});
        EXPECT_EQ(user.given(), 1u) << "the reader's error box";
    }
    EXPECT_EQ(frame->cranes.count(), 0u);
    EXPECT_EQ(frame->GetTitle(), "Brennix 1.2.1");
    closeProgram();
}

// What the window keeps between runs comes back after a restart with the same store: size,
// position, maximised state, the data-file folder and the connection chosen last, which the
// connection dialogs preselect. A remembered connection is no connection of this run: the
// settings page writes to no device before a readout.
TEST(StartUp, TheWindowFolderAndConnectionComeBackAfterARestart)
{
    std::remove(storePath().utf8_str().data());
    const wxString folder = wxFileName::CreateTempFileName("brennix-folder-");
    wxRemoveFile(folder);
    ASSERT_TRUE(wxMkdir(folder));

    const WindowManager manager;   // maximising is the window manager's business
    MainFrame* frame = startProgram();
    const wxRect placed(60, 40, 1000, 700);
    frame->SetSize(placed);
    frame->lastDirectory = folder;
    frame->preselectedWay = ID_CONNECT_MODEM;
    frame->preselectedPort = "COM3";
    settle();
    closeProgram();

    frame = startProgram();
    EXPECT_EQ(frame->GetRect(), placed);
    EXPECT_FALSE(frame->IsMaximized());
    EXPECT_EQ(frame->lastDirectory, folder);
    EXPECT_EQ(frame->preselectedWay, ID_CONNECT_MODEM);
    EXPECT_EQ(frame->preselectedPort, "COM3");
    EXPECT_EQ(frame->connectResult, wxID_NO);
    EXPECT_TRUE(frame->portName.empty());
    frame->Maximize();
    EXPECT_TRUE(waitUntil([frame] { return frame->IsMaximized(); })) << "maximised";
    closeProgram();

    // Maximised it comes back maximised, over the place it had before; a folder that is gone is
    // not offered.
    wxRmdir(folder);
    frame = startProgram();
    EXPECT_TRUE(waitUntil([frame] { return frame->IsMaximized(); })) << "maximised again";
    EXPECT_TRUE(frame->lastDirectory.empty());
    frame->Restore();
    EXPECT_TRUE(waitUntil([frame, placed] { return frame->GetRect() == placed; })) << "the place before";
    closeProgram();
}

// The user's language as the environment gives it, for one test; the process's locale and the
// toolkit's catalog go back to what the other tests run with.
class UserLanguage {
public:
    explicit UserLanguage(const char* lang)
    {
        for (const char* name : {"LANG", "LC_ALL", "LC_MESSAGES", "LANGUAGE"}) {
            if (const char* value = std::getenv(name))
                saved.emplace_back(name, value);
            unsetenv(name);
        }
        setenv("LANG", lang, 1);
    }
    ~UserLanguage()
    {
        unsetenv("LANG");
        for (const auto& [name, value] : saved)
            setenv(name.c_str(), value.c_str(), 1);
        std::setlocale(LC_ALL, "C");
        wxTranslations::Set(nullptr);
    }

private:
    std::vector<std::pair<std::string, std::string>> saved;
};

// Under a Russian locale the toolkit's and the C library's texts are Russian (dialog buttons,
// help viewer, preview, error box, the calendar's months), while numbers keep the decimal point that the
// protocol's formats and the data file rely on.
TEST(StartUp, RussianLocaleTranslatesTheToolkitAndKeepsTheDecimalPoint)
{
    UserLanguage russian("ru_RU.UTF-8");
    BrennixApp& app = wxGetApp();
    ASSERT_TRUE(app.OnInit());
    EXPECT_EQ(std::string(std::setlocale(LC_MESSAGES, nullptr)), "ru_RU.UTF-8")
        << "the ru_RU.UTF-8 locale must exist (tools/install-deps.sh makes it)";
    EXPECT_EQ(wxGetTranslation("Close"), ui("Закрыть")) << "wxWidgets' catalog (package wx3.2-i18n)";
    EXPECT_EQ(wxGetTranslation("Help: %s"), ui("Справка: %s"));
    EXPECT_EQ(wxString::Format(wxGetTranslation("%s Error"), wxGetApp().GetAppDisplayName()),
              ui("Ошибка Brennix")) << "the title of the error box";
    {
        // The calendar lists the months by their own names, not as within a date ("декабря").
        CalDialog calendar(app.frame, wxDateTime(1, wxDateTime::Dec, 2023));
        wxGenericCalendarCtrl* shown = wxDynamicCast(calendar.calendar, wxGenericCalendarCtrl);
        ASSERT_NE(shown, nullptr);
        wxChoice* months = wxDynamicCast(shown->GetMonthControl(), wxChoice);
        ASSERT_NE(months, nullptr);
        EXPECT_EQ(months->GetString(0), ui("Январь"));
        EXPECT_EQ(months->GetString(11), ui("Декабрь"));
    }

    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    std::unique_ptr<devLink> crane(makeCrane("crane"));
    crane->cyclesTotal = 1000;
    crane->cubeSum = 300;
    const std::string protocol = protocolText(*crane);
    EXPECT_NE(protocol.find("= 0.300)"), std::string::npos) << "Kp with its decimal point";
    EXPECT_EQ(protocol.find("0,300"), std::string::npos);

    app.frame->Destroy();
    settle();
    app.OnExit();
}

}  // namespace
