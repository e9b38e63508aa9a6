// Starts the toolkit around the GUI tests: a fresh HOME and GTK's settings in memory, so no real
// settings are touched, every wx assertion a test failure, log messages recorded instead of
// shown in message boxes.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

#include "app/BrennixApp.h"
#include "tests/gui/guiSupport.h"

wxIMPLEMENT_APP_NO_MAIN(BrennixApp);

namespace {

void failOnAssert(const wxString& file, int line, const wxString& function, const wxString& condition,
                  const wxString& message)
{
    ADD_FAILURE_AT(file.utf8_str().data(), line)
        << "wx assertion \"" << condition.utf8_str().data() << "\" in " << function.utf8_str().data()
        << ": " << message.utf8_str().data();
}

std::string freshHome()
{
    char folder[] = "/tmp/brennix-gui-tests-XXXXXX";
    if (!mkdtemp(folder))
        std::abort();
    return folder;
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();

    const std::string home = freshHome();
    setenv("HOME", home.c_str(), 1);
    setenv("GSETTINGS_BACKEND", "memory", 1);
    if (!wxEntryStart(argc, argv))
        return 2;
    wxSetAssertHandler(failOnAssert);
    // PNG files load in every test, as after the program's start-up (which adds the handler once).
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    RecordingLog::install();
    const int result = RUN_ALL_TESTS();
    wxEntryCleanup();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
