// The main window's open and save commands: the file dialog, then the data file's reader or
// writer on the main window's cranes; and the question that keeps cranes read from being lost.
#include <string>

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include "app/MainFrame.h"
#include "app/guiLog.h"
#include "app/uiText.h"
#include "data/dataFile.h"

namespace {

// The toolkit's own question before a file is replaced, for a target it did not ask about.
bool confirmReplacing(wxWindow* parent, const wxFileName& file)
{
    wxMessageDialog* question =
        new wxMessageDialog(parent,
                            wxString::Format(ui("Файл с именем «%s» уже существует. Заменить его?"),
                                             file.GetFullName()),
                            wxString(), wxYES_NO | wxICON_QUESTION);
    question->SetExtendedMessage(
        wxString::Format(ui("Файл уже существует в «%s». Его замена приведёт к перезаписи содержимого."),
                         file.GetPath()));
    question->SetYesNoLabels(ui("&Заменить"), ui("&Отмена"));
    const bool confirmed = question->ShowModal() == wxID_YES;
    question->Destroy();
    return confirmed;
}

// The full path chosen in the file dialog, as the dialog gives it: a path typed into it may lead
// to another folder than the one shown. Empty when the user cancels. The folder of a chosen file
// becomes the dialog's starting folder next time. A name saved without extension gets ".brx",
// which the dialog's filter shows; when that file exists, the user is asked before it is
// replaced, and the dialog comes back if the answer is no.
wxString chooseDataFile(wxWindow* parent, wxString& lastDirectory, long style)
{
    wxString offeredName;
    for (;;) {
        wxFileDialog* dialog =
            new wxFileDialog(parent, ui("Выберите файл"), lastDirectory, offeredName,
                             ui("Файлы Brennix (*.brx)|*.brx|Все файлы (*.*)|*.*"), style);
        const bool chosen = dialog->ShowModal() == wxID_OK;
        wxFileName file(dialog->GetPath());
        dialog->Destroy();
        if (!chosen)
            return wxString();
        lastDirectory = file.GetPath();
        if (!(style & wxFD_SAVE) || file.HasExt())
            return file.GetFullPath();
        file.SetExt("brx");
        if (!file.FileExists() || confirmReplacing(parent, file))
            return file.GetFullPath();
        offeredName = file.GetFullName();
    }
}

}  // namespace

void MainFrame::openDataFile()
{
    if (!askToKeepUnsavedCranes())
        return;
    const wxString path = chooseDataFile(this, lastDirectory, wxFD_OPEN);
    if (!path.empty())
        readChosenFile(path);
}

void MainFrame::openDataFile(const wxString& path)
{
    if (!askToKeepUnsavedCranes())
        return;
    wxFileName file(path);
    file.MakeAbsolute();
    lastDirectory = file.GetPath();
    readChosenFile(file.GetFullPath());
}

void MainFrame::readChosenFile(const wxString& path)
{
    // The cranes held go before the file is read, whatever it turns out to hold.
    clearCranes();
    // After a graph that does not decode the cranes read stay held, with the graphs before it:
    // they are shown, so that what a save would write is what the user sees.
    if (readDataFile(fileSystemPath(path), cranes, logError) != DataFileResult::readError) {
        showCranes();
        showDataFileName(path);
    }
}

void MainFrame::saveDataFile()
{
    if (cranes.empty())
        return;
    const wxString path = chooseDataFile(this, lastDirectory, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (path.empty())
        return;
    if (writeDataFile(fileSystemPath(path), cranes, logError)) {
        unsavedCranes = false;
        showDataFileName(path);
    }
}

bool MainFrame::askToKeepUnsavedCranes()
{
    if (!unsavedCranes)
        return true;
    wxMessageDialog* question =
        new wxMessageDialog(this, ui("Сохранить считанные данные в файле?"), ui("Данные не сохранены"),
                            wxYES_NO | wxCANCEL | wxICON_QUESTION);
    question->SetExtendedMessage(
        ui("Данные, считанные с регистратора, ещё не сохранены. Без сохранения они будут потеряны."));
    question->SetYesNoCancelLabels(ui("&Сохранить"), ui("&Не сохранять"), ui("&Отмена"));
    const int answer = question->ShowModal();
    question->Destroy();
    if (answer == wxID_YES)
        saveDataFile();
    return answer == wxID_NO || (answer == wxID_YES && !unsavedCranes);
}
