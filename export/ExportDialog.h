// The dialog of the export commands: which cranes, what goes into the files, and the folder.
// Its choices are remembered in the configuration store for the next export.
#pragma once

#include <wx/dialog.h>

#include "export/exportPlan.h"

class wxCheckBox;
class wxDirPickerCtrl;
class wxRadioBox;
class wxTextCtrl;

enum class exportFormat { csv, pdf };

class ExportDialog : public wxDialog {
public:
    // pdfName: the default name of the selected crane's PDF, which the user may change.
    ExportDialog(wxWindow* parent, exportFormat format, const wxString& pdfName);

    bool allCranes() const;
    exportChoice choice() const;
    wxString folder() const;
    // The file name typed for the selected crane's PDF (".pdf" added where missing).
    wxString pdfName() const;

    wxRadioBox* cranesBox() const { return cranes; }
    wxDirPickerCtrl* folderPicker() const { return folderControl; }
    wxTextCtrl* nameField() const { return name; }

private:
    void remember() const;

    exportFormat format;
    wxRadioBox* cranes;
    wxRadioBox* layout = nullptr;
    wxCheckBox* summary = nullptr;
    wxRadioBox* decimal = nullptr;
    wxCheckBox* graphs = nullptr;
    wxTextCtrl* name = nullptr;
    wxDirPickerCtrl* folderControl;
};
