// The main window's open and save commands: the file dialog, then the data file's reader or
// writer on the main window's cranes.
#include <string>

#include <wx/filedlg.h>
#include <wx/filename.h>

#include "app/MainFrame.h"
#include "app/guiLog.h"
#include "app/uiText.h"
#include "data/dataFile.h"

namespace {

// The full path chosen in the file dialog, empty when the user cancels. The directory of a
// chosen file becomes the dialog's starting directory next time. The path is put together from
// the directory and the name, which the dialog gives also when it was answered unseen.
wxString chooseDataFile(wxWindow* parent, wxString& lastDirectory, long style)
{
    wxFileDialog* dialog =
        new wxFileDialog(parent, ui("Выберите файл"), lastDirectory, wxString(),
                         ui("Файлы Brennix (*.brx)|*.brx|Все файлы (*.*)|*.*"), style);
    wxString path;
    if (dialog->ShowModal() == wxID_OK) {
        lastDirectory = dialog->GetDirectory();
        path = wxFileName(lastDirectory, dialog->GetFilename()).GetFullPath();
    }
    dialog->Destroy();
    return path;
}

std::string fileSystemPath(const wxString& path) { return std::string(path.fn_str()); }

}  // namespace

void MainFrame::openDataFile()
{
    const wxString path = chooseDataFile(this, lastDirectory, wxFD_OPEN);
    if (path.empty())
        return;
    // The cranes held go before the file is read, whatever it turns out to hold.
    clearCranes();
    // After a graph that does not decode the cranes read stay held, with the graphs before it:
    // they are shown, so that what a save would write is what the user sees.
    if (readDataFile(fileSystemPath(path), cranes, logError) != DataFileResult::readError)
        showCranes();
}

void MainFrame::saveDataFile()
{
    if (cranes.empty())
        return;
    const wxString path = chooseDataFile(this, lastDirectory, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (path.empty())
        return;
    writeDataFile(fileSystemPath(path), cranes, logError);
}
