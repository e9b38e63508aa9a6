// Starts the toolkit around the GUI tests: fresh user settings, so no real settings are touched,
// every wx assertion and every warning of the toolkit a test failure, log messages recorded
// instead of shown in message boxes.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

#include "app/BrennixApp.h"
#include "tests/gui/freshSettings.h"
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

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();

    useFreshSettings();
    failOnToolkitWarnings();
    if (!wxEntryStart(argc, argv))
        return 2;
    wxSetAssertHandler(failOnAssert);
    // PNG files load in every test, as after the program's start-up (which adds the handler once).
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    RecordingLog::install();
    const int result = RUN_ALL_TESTS();
    wxEntryCleanup();
    removeFreshSettings();
    return result;
}
