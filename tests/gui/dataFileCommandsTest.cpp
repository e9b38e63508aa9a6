#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>

#include "app/MainFrame.h"
#include "app/uiText.h"
#include "data/dataFile.h"
#include "data/devLink.h"
#include "data/wholeFile.h"
#include "tests/gui/guiSupport.h"
#include "tests/support/timeZone.h"
#include "view/GraphWindow.h"
#include "view/ReportWindow.h"

namespace {

namespace fs = std::filesystem;

constexpr long openStyle = wxFD_OPEN;
constexpr long saveStyle = wxFD_SAVE | wxFD_OVERWRITE_PROMPT;

// The file dialog both commands run, as it is offered; then the user types the path into it and
// presses Enter, or presses Escape for an empty path.
DialogAnswers::Answer fileDialog(long style, const wxString& directory, const wxString& path)
{
    const auto offered = [style, directory](wxDialog* dialog) {
        wxFileDialog* files = wxDynamicCast(dialog, wxFileDialog);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->GetMessage(), ui("Выберите файл"));
        EXPECT_EQ(files->GetWildcard(), ui("Файлы Brennix (*.brx)|*.brx|Все файлы (*.*)|*.*"));
        EXPECT_EQ(files->GetWindowStyle() & (wxFD_OPEN | wxFD_SAVE | wxFD_OVERWRITE_PROMPT), style);
        if (!directory.empty()) {   // else the toolkit starts in the working directory
            EXPECT_EQ(files->GetDirectory(), directory);
        }
    };
    return path.empty() ? escapeFrom(offered) : typeInto(path, offered);
}

// A graph the reader keeps: four load samples.
cycLink* keptGraph(int32_t timeStamp)
{
    return makeGraph(timeStamp, {{0, 0x81}, {1, 0x82}, {2, 0x01}, {3, 0x83}, {4, 0x84}});
}

devLink* craneNamed(const std::string& name, std::vector<cycLink*> graphs)
{
    devLink* crane = makeCrane(name, std::move(graphs));
    crane->regNo = name.substr(0, name.find(' '));
    crane->timeStamp = 1706756645;
    crane->cyclesTotal = 1000;
    crane->cubeSum = 300;
    return crane;
}

class DataFileCommands : public FrameTest {
protected:
    void SetUp() override
    {
        RecordingLog::messages().clear();
        directory = fs::temp_directory_path() / ("brennix-files-" + std::to_string(::getpid()));
        fs::remove_all(directory);
        fs::create_directories(directory);
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        fs::remove_all(directory);
    }
    wxString file(const char* name) const { return wxString((directory / name).string()); }
    // Runs the command while the user types the path into its file dialog (an empty path:
    // presses Escape); answers for the dialogs that follow it may be given.
    void fileCommand(int id, long style, const wxString& path,
                     std::vector<DialogAnswers::Answer> following = {})
    {
        following.insert(following.begin(), fileDialog(style, frame->lastDirectory, path));
        const std::size_t answers = following.size();
        DialogAnswers dialogs(std::move(following));
        command(frame, id);
        EXPECT_EQ(dialogs.given(), answers);
    }
    std::vector<wxString> errors() const
    {
        std::vector<wxString> texts;
        for (const auto& [level, text] : RecordingLog::messages())
            if (level == wxLOG_Error)
                texts.push_back(text);
        return texts;
    }
    std::vector<wxString> selectorItems() const
    {
        std::vector<wxString> items;
        for (unsigned i = 0; i < frame->craneSelector->GetCount(); ++i)
            items.push_back(frame->craneSelector->GetString(i));
        return items;
    }

    ScopedTimeZone zone{"UTC"};
    fs::path directory;
};

TEST_F(DataFileCommands, SavedCranesOpenAgainAndShowTheFirst)
{
    holdCranes({craneNamed("7 01/02/2024 03:04:05", {keptGraph(1706756000), keptGraph(1706756100)}),
                craneNamed("8 02/02/2024 00:00:00", {keptGraph(1706757000)})});
    const std::string written = dataFileText(frame->cranes);

    EXPECT_EQ(frame->GetTitle(), "Brennix 1.2.1");
    fileCommand(wxID_SAVE, saveStyle, file("cranes.brx"));
    EXPECT_EQ(readWholeFile((directory / "cranes.brx").string()), written);
    EXPECT_EQ(frame->lastDirectory, wxString(directory.string()));
    EXPECT_EQ(frame->GetTitle(), ui("Brennix 1.2.1 — cranes.brx")) << "the file saved to";
    frame->SetTitle("Brennix 1.2.1");

    frame->craneSelector->SetSelection(1);
    fileCommand(wxID_OPEN, openStyle, file("cranes.brx"));
    EXPECT_EQ(dataFileText(frame->cranes), written);
    EXPECT_EQ(selectorItems(), (std::vector<wxString>{"7 01/02/2024 03:04:05", "8 02/02/2024 00:00:00"}));
    ASSERT_EQ(frame->craneSelector->GetSelection(), 0);
    EXPECT_EQ(frame->craneSelector->GetClientData(0), firstCrane(frame->cranes));
    EXPECT_EQ(frame->graphPage->graphList()->GetCount(), 2u);
    EXPECT_NE(frame->reportPage->protocolHtml().Find("<B>7</B>"), wxNOT_FOUND);
    EXPECT_EQ(frame->GetTitle(), ui("Brennix 1.2.1 — cranes.brx")) << "the file opened";
    EXPECT_TRUE(errors().empty());
}

TEST_F(DataFileCommands, CancelledDialogsChangeNothing)
{
    holdCranes({craneNamed("7 x", {keptGraph(0)})});
    const devLink* held = firstCrane(frame->cranes);
    fileCommand(wxID_OPEN, openStyle, wxString());
    fileCommand(wxID_SAVE, saveStyle, wxString());
    EXPECT_EQ(firstCrane(frame->cranes), held);
    EXPECT_EQ(frame->craneSelector->GetSelection(), 0);
    EXPECT_TRUE(frame->lastDirectory.empty());
    EXPECT_TRUE(fs::is_empty(directory));
}

TEST_F(DataFileCommands, SavingWithoutCranesAsksNothing)
{
    ModalScript noDialogs;
    command(frame, wxID_SAVE);
    EXPECT_TRUE(fs::is_empty(directory));
    EXPECT_TRUE(errors().empty());
}

TEST_F(DataFileCommands, AFileThatDoesNotReadLeavesNoCranes)
{
    std::ofstream(directory / "broken.brx") << "a(type = \"RAM\"";
    for (const char* name : {"missing.brx", "broken.brx"}) {
        holdCranes({craneNamed("7 x", {keptGraph(0)})});
        frame->showDataFileName(file("held.brx"));
        fileCommand(wxID_OPEN, openStyle, file(name));
        EXPECT_TRUE(frame->cranes.empty()) << name;
        EXPECT_EQ(frame->GetTitle(), "Brennix 1.2.1") << "no file's name";
        EXPECT_EQ(frame->craneSelector->GetCount(), 0u);
        EXPECT_EQ(frame->graphPage->graphList()->GetCount(), 0u);
        EXPECT_TRUE(frame->reportPage->protocolHtml().empty());
    }
    EXPECT_EQ(errors(), std::vector<wxString>(2, ui("Ошибка при чтении файла данных")));
}

TEST_F(DataFileCommands, AFileWithoutCranesEmptiesTheListSilently)
{
    std::ofstream(directory / "none.brx") << "other(type = \"Cycle\").\n";
    holdCranes({craneNamed("7 x", {keptGraph(0)})});
    fileCommand(wxID_OPEN, openStyle, file("none.brx"));
    EXPECT_TRUE(frame->cranes.empty());
    EXPECT_EQ(frame->craneSelector->GetCount(), 0u);
    EXPECT_TRUE(errors().empty());
}

// The graph that does not decode ends the reading: the cranes read stay and are shown, with the
// graphs decoded before it.
TEST_F(DataFileCommands, ADecodeErrorShowsTheCranesReadSoFar)
{
    std::ofstream(directory / "bad.brx")
        << "a(type = \"RAM\", 'Ncycles' = 2).\n"
           "b(type = \"RAM\", 'Ncycles' = 1).\n"
           "'a#1'(timeStamp = 5, 'Npoints' = 4, 'Points' = \"000081000182000283000384\").\n"
           "'a#2'(timeStamp = 6, 'Npoints' = 4, 'Points' = \"0000810001G2000283000384\").\n";
    fileCommand(wxID_OPEN, openStyle, file("bad.brx"));
    EXPECT_EQ(errors(), std::vector<wxString>{
                            ui("Ошибка при декодировании цикла 1: невозможно сконвертировать байт 5")});
    EXPECT_EQ(selectorItems(), (std::vector<wxString>{"a", "b"}));
    EXPECT_EQ(frame->craneSelector->GetSelection(), 0);
    EXPECT_EQ(frame->graphPage->graphList()->GetCount(), 1u);
}

// The save fails: the target of a name typed without extension is a folder.
TEST_F(DataFileCommands, AFailedSaveKeepsTheCranesAndTheOldFile)
{
    holdCranes({craneNamed("7 x", {keptGraph(0)})});
    fs::create_directory(directory / "taken.brx");
    fs::create_directory(directory / "takenAway");   // so that GTK does not complete "taken"
    fileCommand(wxID_SAVE, saveStyle, file("taken"));
    EXPECT_EQ(errors(), std::vector<wxString>{ui("Ошибка при записи файла данных")});
    EXPECT_EQ(frame->cranes.count(), 1u);
    EXPECT_EQ(frame->craneSelector->GetSelection(), 0);
    EXPECT_TRUE(fs::is_directory(directory / "taken.brx"));
}

// Paths typed into the file dialogs: a folder other than the one shown, a name without
// extension, and the question before the file of that name is replaced.
TEST_F(DataFileCommands, TypedPathsAreTakenAsTyped)
{
    aList other;
    other.pushBack(craneNamed("9 y", {keptGraph(0)}));
    const std::string otherText = dataFileText(other);
    std::ofstream(directory / "other.brx") << otherText;
    fs::create_directory(directory / "sub");
    std::ofstream(directory / "sub" / "other.brx") << "the shown folder's file";
    std::ofstream(directory / "sub" / "otherwise.brx");   // so that GTK does not complete "other"
    frame->lastDirectory = (directory / "sub").string();

    fileCommand(wxID_OPEN, openStyle, file("other.brx"));
    EXPECT_EQ(selectorItems(), std::vector<wxString>{"9 y"});
    EXPECT_EQ(frame->lastDirectory, wxString(directory.string()));

    fileCommand(wxID_SAVE, saveStyle, file("sub/saved.brx"));
    EXPECT_EQ(readWholeFile((directory / "sub" / "saved.brx").string()), otherText);
    EXPECT_FALSE(fs::exists(directory / "saved.brx")) << "not in the folder shown";
    EXPECT_EQ(frame->lastDirectory, wxString((directory / "sub").string()));

    frame->lastDirectory = directory.string();
    fileCommand(wxID_SAVE, saveStyle, file("sub/new"));
    EXPECT_EQ(readWholeFile((directory / "sub" / "new.brx").string()), otherText);

    // "other" becomes "other.brx", which exists: the question names it; no brings the dialog back.
    const wxString sub((directory / "sub").string());
    const auto replacing = [sub](int answer) {
        return DialogAnswers::Answer{answer, [sub](wxDialog* dialog) {
            auto* box = dynamic_cast<wxMessageDialogBase*>(dialog);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->GetMessage(), ui("Файл с именем «other.brx» уже существует. Заменить его?"));
            EXPECT_EQ(box->GetExtendedMessage(),
                      wxString::Format(ui("Файл уже существует в «%s». Его замена приведёт к перезаписи "
                                          "содержимого."), sub));
        }};
    };
    fileCommand(wxID_SAVE, saveStyle, file("sub/other"),
                {replacing(wxID_NO), fileDialog(saveStyle, sub, wxString())});
    EXPECT_EQ(readWholeFile((directory / "sub" / "other.brx").string()), "the shown folder's file");
    fileCommand(wxID_SAVE, saveStyle, file("sub/other"), {replacing(wxID_YES)});
    EXPECT_EQ(readWholeFile((directory / "sub" / "other.brx").string()), otherText);
    EXPECT_TRUE(errors().empty());
}

}  // namespace
