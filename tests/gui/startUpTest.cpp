#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/html/helpctrl.h>
#include <wx/html/helpdata.h>
#include <wx/calctrl.h>
#include <wx/generic/calctrlg.h>
#include <wx/translation.h>

#include "app/BrennixApp.h"
#include "app/MainFrame.h"
#include "app/globals.h"
#include "app/uiText.h"
#include "data/devLink.h"
#include "dialogs/CalDialog.h"
#include "link/codings.h"
#include "tests/gui/guiSupport.h"
#include "view/protocolText.h"

namespace {

// The configuration store of the program under the test's HOME.
wxString storePath() { return wxFileName::GetHomeDir() + "/.Brennix"; }

// One whole run of the program's start-up and shutdown, without its event loop.
void runProgramOnce()
{
    BrennixApp& app = wxGetApp();
    ASSERT_TRUE(app.OnInit());
    app.frame->Destroy();
    settle();
    app.OnExit();
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
