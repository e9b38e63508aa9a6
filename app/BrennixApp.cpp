#include "app/BrennixApp.h"

#include <wx/cmndata.h>
#include <wx/config.h>
#include <wx/filename.h>
#include <wx/fs_zip.h>
#include <wx/html/helpctrl.h>
#include <wx/image.h>

#include "app/MainFrame.h"
#include "app/guiLog.h"
#include "app/globals.h"
#include "link/portNames.h"

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
    // "/Com/COM1".."/Com/COM4" name the devices of the ports; read without recording a default,
    // so that the file holds them only where the user has written them.
    setConfiguredPortLookup([](int portNumber) {
        wxString device;
        if (!wxConfigBase::Get()->Read(wxString::Format("/Com/COM%d", portNumber), &device))
            return std::string();
        return device.utf8_string();
    });

    wxImage::AddHandler(new wxPNGHandler);
    delete wxLog::SetActiveTarget(new FirstErrorLog);

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
    setConfiguredPortLookup({});
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
