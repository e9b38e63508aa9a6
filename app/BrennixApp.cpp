#include "app/BrennixApp.h"

#include <wx/cmndata.h>
#include <wx/config.h>
#include <wx/filename.h>
#include <wx/fs_zip.h>
#include <wx/html/helpctrl.h>
#include <wx/image.h>

#include "app/MainFrame.h"
#include "app/globals.h"

namespace {

constexpr int helpViewerStyle = wxHF_TOOLBAR | wxHF_CONTENTS | wxHF_INDEX | wxHF_SEARCH |
                                wxHF_BOOKMARKS | wxHF_OPEN_FILES | wxHF_PRINT;

}  // namespace

bool BrennixApp::OnInit()
{
    SetVendorName("Quendrix");
    SetAppName("Brennix");
    wxConfigBase* config = wxConfigBase::Get();
    config->SetRecordDefaults(true);
    portSpeed = config->ReadLong("/Com/Speed", 9600);
    numberOfSensors = config->ReadLong("/numberOfSensors", 1);

    wxImage::AddHandler(new wxPNGHandler);

    frame = new MainFrame();
    SetTopWindow(frame);

    printData = new wxPrintData;
    pageSetupData = new wxPageSetupDialogData;
    recorderEpoch = computeRecorderEpoch();

    wxFileSystem::AddHandler(new wxZipFSHandler);
    helpController = new wxHtmlHelpController(helpViewerStyle);
    helpController->AddBook(wxFileName("help/brennix.htb", wxPATH_UNIX), false);
    helpController->AddBook(wxFileName("help/velmora.htb", wxPATH_UNIX), false);
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
