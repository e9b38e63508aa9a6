#include "app/exportCommands.h"

#include <string>
#include <vector>

#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "app/BrennixApp.h"
#include "app/MainFrame.h"
#include "app/guiLog.h"
#include "app/uiText.h"
#include "export/cranePdf.h"
#include "export/exportWriter.h"
#include "view/GraphWindow.h"
#include "view/PrintPanel.h"
#include "view/ReportWindow.h"

namespace {

// True when nothing is in the way or the user agrees to replace what is.
bool mayReplace(wxWindow* parent, const std::string& folder, const std::vector<std::string>& existing)
{
    if (existing.empty())
        return true;
    wxMessageDialog question(
        parent,
        ui(("В папке «" + folder + "» уже есть файлы с теми же именами (" +
            std::to_string(existing.size()) + "), например «" + existing.front() + "». Заменить их?")
               .c_str()),
        ui("Сохранение"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
    return question.ShowModal() == wxID_YES;
}

}  // namespace

void installExportCommands(MainFrame& frame)
{
    wxMenu* file = frame.menuBar->GetMenu(0);
    const int afterSave = file->GetMenuItems().IndexOf(file->FindItem(wxID_SAVE)) + 1;
    file->Insert(afterSave, ID_EXPORT_CSV, ui("Экспорт в &CSV…"),
                 ui("Сохранить отсчеты графиков и сводку по кранам в файлы CSV для электронных таблиц"));
    file->Insert(afterSave + 1, ID_EXPORT_PDF, ui("Сохранить в P&DF…"),
                 ui("Сохранить протокол и графики крана в файл PDF без принтера"));
    frame.Bind(wxEVT_MENU, [&frame](wxCommandEvent&) { exportCranes(frame, exportFormat::csv); }, ID_EXPORT_CSV);
    frame.Bind(wxEVT_MENU, [&frame](wxCommandEvent&) { exportCranes(frame, exportFormat::pdf); }, ID_EXPORT_PDF);
}

void exportCranes(MainFrame& frame, exportFormat format)
{
    const devLink* selected = frame.reportPage->selectedCrane();
    if (!selected) {
        logError("Нет данных для сохранения: считайте регистратор или откройте файл данных.");
        return;
    }
    ExportDialog* dialog = new ExportDialog(&frame, format, ui((craneFileStem(*selected) + ".pdf").c_str()));
    const bool confirmed = dialog->ShowModal() == wxID_OK;
    const bool all = dialog->allCranes();
    const exportChoice choice = dialog->choice();
    const std::string folder = fileSystemPath(dialog->folder());
    const std::string pdfName = fileSystemPath(dialog->pdfName());
    dialog->Destroy();
    if (!confirmed)
        return;

    std::vector<const devLink*> cranes;
    if (all)
        for (const devLink* crane = firstCrane(frame.cranes); crane; crane = nextCrane(crane))
            cranes.push_back(crane);
    else
        cranes.push_back(selected);
    std::vector<exportFile> plan = exportPlan(cranes, choice);
    if (format == exportFormat::pdf && !all) {
        if (pdfName.empty() || pdfName.find('/') != std::string::npos) {
            logError("Имя файла PDF не может быть пустым или содержать «/».");
            return;
        }
        plan.front().name = pdfName;
    }
    if (!mayReplace(&frame, folder, existingFiles(folder, plan)))
        return;

    BrennixApp& app = wxGetApp();
    const cranePdfLayout layout{&frame.reportPage->printing(), app.pageSetupData,
                                frame.graphPage->options()};
    const pdfWriter pdf = [&](const exportFile& file, const std::string& path) {
        return writeCranePdf(path, *file.crane, choice.pdfGraphs, layout);
    };
    wxBusyCursor busy;
    if (writeExport(folder, plan, cranes, choice, pdf, logError))
        logStatus("Сохранено файлов: %zu в папке «%s»", plan.size(), folder.c_str());
}
