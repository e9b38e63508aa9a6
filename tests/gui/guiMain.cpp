// Starts the toolkit around the GUI tests: a fresh HOME and GTK's settings in memory, so no real
// settings are touched, every wx assertion and every warning of GTK and its libraries a test
// failure, log messages recorded instead of shown in message boxes.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <glib.h>
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

// GTK, GDK, GLib and the libraries under them print their warnings and critical messages on the
// terminal, where nobody reads them in a test run: the test that causes one fails. The program
// prints none in normal use.
GLogWriterOutput failOnToolkitWarning(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer)
{
    if (level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) {
        std::string domain = "?", message;
        for (gsize i = 0; i < count; ++i) {
            const std::string key = fields[i].key;
            const char* value = static_cast<const char*>(fields[i].value);
            if (fields[i].length < 0 && key == "GLIB_DOMAIN")
                domain = value;
            else if (fields[i].length < 0 && key == "MESSAGE")
                message = value;
        }
        ADD_FAILURE() << domain << ((level & G_LOG_LEVEL_WARNING) ? " warning: " : " critical: ") << message;
    }
    return g_log_writer_default(level, fields, count, nullptr);
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
    g_log_set_writer_func(failOnToolkitWarning, nullptr, nullptr);
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
