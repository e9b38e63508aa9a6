// The application object: configuration, print settings, help books and the main window.
#pragma once

#include <wx/app.h>

class MainFrame;
class wxHtmlHelpController;
class wxPageSetupDialogData;
class wxPrintData;

class BrennixApp : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;

    MainFrame* frame = nullptr;
    wxPrintData* printData = nullptr;
    wxPageSetupDialogData* pageSetupData = nullptr;
    wxHtmlHelpController* helpController = nullptr;
};

wxDECLARE_APP(BrennixApp);
