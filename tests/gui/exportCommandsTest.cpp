// The export commands in a real main window: the dialog answered as a user answers it, the PDF
// files looked at and read, and the console program's HTML equal to what the protocol page shows.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/cmndata.h>
#include <wx/combobox.h>
#include <wx/filepicker.h>
#include <wx/image.h>
#include <wx/msgdlg.h>
#include <wx/radiobox.h>
#include <wx/textctrl.h>

#include "app/BrennixApp.h"
#include "app/MainFrame.h"
#include "app/exportCommands.h"
#include "app/guiLog.h"
#include "app/uiText.h"
#include "data/dataFile.h"
#include "tests/gui/guiSupport.h"
#include "tests/gui/pdfPrint.h"
#include "tests/support/timeZone.h"
#include "view/ReportWindow.h"
#include "view/protocolText.h"

namespace fs = std::filesystem;

namespace {

std::string fileText(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Blanks and line breaks as one blank, so that texts compare whatever way a PDF lays them out.
std::string oneBlank(const std::string& text)
{
    return std::regex_replace(text, std::regex("[ \t\r\n\f]+"), " ");
}

// The texts between the protocol's tags, as it shows them.
std::vector<std::string> protocolTexts(const std::string& html)
{
    std::vector<std::string> texts;
    const std::regex between(">([^<]+)<");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), between); it != std::sregex_iterator(); ++it) {
        std::string text = oneBlank((*it)[1].str());
        text = std::regex_replace(text, std::regex("&nbsp"), "");
        text = std::regex_replace(text, std::regex("^ | $"), "");
        if (!text.empty())
            texts.push_back(text);
    }
    return texts;
}

class ExportCommands : public FrameTest {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/exportCommandsTest-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        folder = name;
        ASSERT_NE(readDataFile(BRENNIX_EXPORT_FIXTURE, frame->cranes, logError), DataFileResult::readError);
        frame->showCranes();
        RecordingLog::messages().clear();
    }
    void TearDown() override
    {
        fs::remove_all(folder);
        FrameTest::TearDown();
    }

    static void choose(wxRadioBox* box, int item)
    {
        box->SetSelection(item);
        wxCommandEvent event(wxEVT_RADIOBOX, box->GetId());
        event.SetInt(item);
        event.SetEventObject(box);
        box->ProcessWindowEvent(event);
    }

    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> errors() const
    {
        std::vector<std::string> texts;
        for (const auto& [level, text] : RecordingLog::messages())
            if (level == wxLOG_Error)
                texts.push_back(text.utf8_string());
        return texts;
    }

    FreshPrintSettings settings;
    std::string folder;
    ScopedTimeZone zone{"UTC"};
};

// --html writes each crane's protocol as the protocol page shows it, in the encoding its
// charset line names.
TEST_F(ExportCommands, ConsoleProgramsHtmlIsTheProtocolPagesHtml)
{
    const std::string command = "./brennix-export '" BRENNIX_EXPORT_FIXTURE "' '" + folder + "' --html >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_EQ(frame->craneSelector->GetCount(), 3u);
    for (int c = 0; c < 3; ++c) {
        frame->selectCrane(c);
        const std::string regNo = static_cast<devLink*>(frame->craneSelector->GetClientData(c))->regNo;
        const std::string bytes = fileText(fs::path(folder) / (regNo + "_2024-03-14.html"));
        EXPECT_EQ(wxString(bytes.data(), wxCSConv(wxFONTENCODING_CP1251), bytes.size()),
                  frame->reportPage->protocolHtml())
            << regNo;
    }
}

// With a display, the console program draws PDF as the window does: the same pages and texts.
TEST_F(ExportCommands, ConsoleProgramsPdfWithADisplay)
{
    const std::string command =
        "./brennix-export '" BRENNIX_EXPORT_FIXTURE "' '" + folder + "' --pdf --graphs >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(files(), (std::vector<std::string>{"2741_2024-03-14.pdf", "512_2024-03-14.pdf", "77_2024-03-14.pdf"}));
    const std::string text = pdfText(folder + "/512_2024-03-14.pdf");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 3) << "the protocol and 2 graphs";
    frame->selectCrane(1);
    for (const std::string& line : protocolTexts(frame->reportPage->protocolHtml().utf8_string()))
        EXPECT_NE(oneBlank(text).find(line), std::string::npos) << line;
    EXPECT_NE(text.find("График нагружения крана инв. № 512-И."), std::string::npos);
}

// All cranes to PDF, the folder typed: one file per crane, the protocol then every graph, each
// page as it prints.
TEST_F(ExportCommands, PdfOfAllCranesWithTheirGraphs)
{
    ModalScript script({[this](wxDialog* dialog) {
        ExportDialog* exportDialog = dynamic_cast<ExportDialog*>(dialog);
        ASSERT_NE(exportDialog, nullptr);
        EXPECT_EQ(dialog->GetTitle(), ui("Сохранить в PDF"));
        choose(exportDialog->cranesBox(), 1);
        EXPECT_FALSE(exportDialog->nameField()->IsEnabled()) << "all cranes go by their default names";
        typeInto(exportDialog->folderPicker()->GetTextCtrl(), folder.c_str());
        click(dialog, wxID_OK);
    }});
    command(frame, ID_EXPORT_PDF);
    EXPECT_EQ(script.played(), 1u);
    EXPECT_TRUE(errors().empty());
    ASSERT_EQ(files(), (std::vector<std::string>{"2741_2024-03-14.pdf", "512_2024-03-14.pdf", "77_2024-03-14.pdf"}));

    const std::string pdf = folder + "/2741_2024-03-14.pdf";
    const std::string text = pdfText(pdf);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 6) << "the protocol and 5 graphs";
    frame->selectCrane(0);
    for (const std::string& line : protocolTexts(frame->reportPage->protocolHtml().utf8_string()))
        EXPECT_NE(oneBlank(text).find(line), std::string::npos) << line;
    EXPECT_NE(text.find("График нагружения крана инв. № 2741-И."), std::string::npos);
    EXPECT_NE(text.find("Начало отсчета: 14/03/2024 07:06:40."), std::string::npos);

    // Looked at: the protocol's page, then a graph's page with its curve.
    const std::string protocolPng = testing::TempDir() + "export-protocol.png";
    const std::string graphPng = testing::TempDir() + "export-graph.png";
    ASSERT_TRUE(pdfPageToPng(pdf, 1, protocolPng, 72));
    ASSERT_TRUE(pdfPageToPng(pdf, 4, graphPng, 72));
    const wxImage graph(wxString::FromUTF8(graphPng), wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(graph.IsOk());
    EXPECT_EQ(graph.GetWidth(), 595);   // A4 as the graph prints by default
    int curve = 0;
    for (int y = 0; y < graph.GetHeight(); ++y)
        for (int x = 0; x < graph.GetWidth(); ++x)
            curve += graph.GetGreen(x, y) > 200 && graph.GetRed(x, y) < 120 && graph.GetBlue(x, y) < 120;
    EXPECT_GT(curve, 200);
    if (!std::getenv("BRENNIX_KEEP_PICTURES")) {
        std::remove(protocolPng.c_str());
        std::remove(graphPng.c_str());
    }
}

// The selected crane under a name typed by the user; a second export into the same folder asks
// before replacing, and a refusal leaves the file as it was.
TEST_F(ExportCommands, SelectedCraneUnderATypedNameAndNoSilentReplacing)
{
    frame->selectCrane(1);
    const auto answerDialog = [this](wxDialog* dialog) {
        ExportDialog* exportDialog = dynamic_cast<ExportDialog*>(dialog);
        ASSERT_NE(exportDialog, nullptr);
        choose(exportDialog->cranesBox(), 0);
        EXPECT_EQ(exportDialog->nameField()->GetValue(), "512_2024-03-14.pdf");
        typeInto(exportDialog->nameField(), "crane 512");
        typeInto(exportDialog->folderPicker()->GetTextCtrl(), folder.c_str());
        click(dialog, wxID_OK);
    };
    {
        ModalScript script({answerDialog});
        command(frame, ID_EXPORT_PDF);
    }
    ASSERT_EQ(files(), std::vector<std::string>{"crane 512.pdf"});
    const auto written = fs::last_write_time(folder + "/crane 512.pdf");
    const std::string text = pdfText(folder + "/crane 512.pdf");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 3) << "the protocol and 2 graphs";

    ModalScript script({answerDialog, [](wxDialog* question) {
                            const auto* message = dynamic_cast<wxMessageDialogBase*>(question);
                            ASSERT_NE(message, nullptr);
                            EXPECT_NE(message->GetMessage().Find(ui("уже есть файлы")), wxNOT_FOUND);
                            // The system's own message box: answered as its "No" button answers.
                            gtk_dialog_response(GTK_DIALOG(question->GetHandle()), GTK_RESPONSE_NO);
                        }});
    command(frame, ID_EXPORT_PDF);
    EXPECT_EQ(script.played(), 2u);
    EXPECT_EQ(fs::last_write_time(folder + "/crane 512.pdf"), written);
    EXPECT_EQ(files(), std::vector<std::string>{"crane 512.pdf"});
}

// CSV of all cranes, one file per crane with a decimal point; a folder that does not exist is
// named in the error and nothing is written.
TEST_F(ExportCommands, CsvOfAllCranesAndAMissingFolder)
{
    const auto answer = [](const std::string& into) {
        return [into](wxDialog* dialog) {
            ExportDialog* exportDialog = dynamic_cast<ExportDialog*>(dialog);
            ASSERT_NE(exportDialog, nullptr);
            EXPECT_EQ(dialog->GetTitle(), ui("Экспорт в CSV"));
            choose(exportDialog->cranesBox(), 1);
            exportDialog->folderPicker()->SetPath(wxString::FromUTF8(into));
            click(dialog, wxID_OK);
        };
    };
    {
        ModalScript script({answer(folder + "/missing")});
        command(frame, ID_EXPORT_CSV);
    }
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_EQ(errors()[0], "Экспорт не выполнен: папка «" + folder +
                               "/missing» недоступна (папка не существует). Ни один файл не сохранён.");
    EXPECT_TRUE(files().empty());

    ModalScript script({answer(folder)});
    command(frame, ID_EXPORT_CSV);
    EXPECT_EQ(files().size(), 8u) << "7 graphs and the summary, as the dialog was left last time";
    EXPECT_EQ(fileText(folder + "/сводка.csv").rfind("\xEF\xBB\xBF", 0), 0u);
}

}  // namespace
