#include "app/BrennixApp.h"

#include <clocale>

#include <wx/cmndata.h>
#include <wx/config.h>
#include <wx/filename.h>
#include <wx/fs_zip.h>
#include <wx/html/helpctrl.h>
#include <wx/image.h>
#include <wx/translation.h>
#include <wx/uilocale.h>

#include "app/MainFrame.h"
#include "app/dataFiles.h"
#include "app/guiLog.h"
#include "app/globals.h"
#include "link/codings.h"

namespace {

constexpr int helpViewerStyle = wxHF_TOOLBAR | wxHF_CONTENTS | wxHF_INDEX | wxHF_SEARCH |
                                wxHF_BOOKMARKS | wxHF_OPEN_FILES | wxHF_PRINT;

// The user's locale for what the toolkit and GTK show themselves (file, print and page-setup
// dialogs, calendar, help viewer, preview, message box titles), with the toolkit's standard
// message catalog. The program's own texts are Russian whatever the locale. Numbers keep the
// decimal point: the protocol's and the drawings' printf formats and the data file rely on it.
void useUserLocale()
{
    wxUILocale::UseDefault();
    wxTranslations* translations = new wxTranslations;
    wxTranslations::Set(translations);   // owned by the toolkit from here on
    translations->AddStdCatalog();
    std::setlocale(LC_NUMERIC, "C");
}

// A help book by its name in the run directory (the native path format takes "/" as a
// separator on every platform).
void addHelpBook(wxHtmlHelpController& help, const char* name)
{
    help.AddBook(wxFileName(wxString::FromUTF8(dataFile(name))), false);
}

}  // namespace

bool BrennixApp::OnInit()
{
    useUserLocale();
    SetVendorName("Quendrix");
    SetAppName("Brennix");
    wxConfigBase* config = wxConfigBase::Get();
    config->SetRecordDefaults(true);
    portSpeed = config->ReadLong("/Com/Speed", 9600);
    numberOfSensors = config->ReadLong("/numberOfSensors", 1);

    wxImage::AddHandler(new wxPNGHandler);
    delete wxLog::SetActiveTarget(new FirstErrorLog);

    frame = new MainFrame();
    SetTopWindow(frame);

    printData = new wxPrintData;
    pageSetupData = new wxPageSetupDialogData;
    recorderEpoch = computeRecorderEpoch();

    wxFileSystem::AddHandler(new wxZipFSHandler);
    helpController = new wxHtmlHelpController(helpViewerStyle);
    addHelpBook(*helpController, "help/brennix.htb");
    addHelpBook(*helpController, "help/velmora.htb");

    // A data file opened from a file manager comes as the one argument; the program has no
    // options, so whatever is given is taken as a path.
    if (argc > 1)
        frame->openDataFile(argv[1]);
    return true;
}

int BrennixApp::OnExit()
{
    // Deleting the configuration object writes the defaults it recorded.
    delete wxConfigBase::Set(nullptr);
    delete printData;
    printData = nullptr;
    delete pageSetupData;
    pageSetupData = nullptr;
    delete helpController;
    helpController = nullptr;
    frame = nullptr;
    return 0;
}
