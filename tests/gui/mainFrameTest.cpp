#include <filesystem>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/filedlg.h>
#include <wx/html/htmlwin.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/printdlg.h>
#include <wx/statusbr.h>
#include <wx/testing.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include "app/MainFrame.h"
#include "app/exportCommands.h"
#include "app/uiText.h"
#include "data/devLink.h"
#include "dialogs/ExitDialog.h"
#include "setup/SetupWindow.h"
#include "tests/gui/guiSupport.h"
#include "tests/support/timeZone.h"
#include "view/GraphTableWindow.h"
#include "view/GraphWindow.h"
#include "view/ReportWindow.h"

namespace {

// A closed top-level window is deleted when the event loop next idles.
bool closing(wxWindow* window) { return wxPendingDelete.Member(window); }

class MainWindow : public FrameTest {
protected:
    int currentCrane() const { return frame->craneSelector->GetSelection(); }
    wxComboBox* graphList() const { return frame->graphPage->graphList(); }
    void chooseCrane(int index)
    {
        frame->craneSelector->SetSelection(index);
        wxCommandEvent event(wxEVT_COMBOBOX, ID_CRANE_SELECTOR);
        event.SetEventObject(frame->craneSelector);
        event.SetInt(index);
        frame->craneSelector->ProcessWindowEvent(event);
    }

    ScopedTimeZone zone{"UTC"};
};

TEST_F(MainWindow, IsBuiltAsTheUserSeesIt)
{
    EXPECT_EQ(frame->GetTitle(), "Brennix 1.2.1");
    EXPECT_TRUE(frame->IsShown());
    EXPECT_EQ(frame->GetStatusBar()->GetFieldsCount(), 1);
    EXPECT_EQ(frame->connectResult, wxID_NO);
    EXPECT_TRUE(frame->portName.empty());
    EXPECT_TRUE(frame->lastDirectory.empty());

    // The three pages, then the graph table beside them.
    ASSERT_EQ(frame->notebook->GetPageCount(), 4u);
    EXPECT_TRUE(frame->notebook->HasFlag(wxNB_BOTTOM));
    EXPECT_EQ(frame->notebook->GetSelection(), 0);
    const char* const titles[] = {"Протокол", "Графики", "Настройка"};
    for (int page = 0; page < 3; ++page) {
        EXPECT_EQ(frame->notebook->GetPageText(page), ui(titles[page]));
        EXPECT_EQ(frame->notebook->GetPageImage(page), page);
    }
    EXPECT_EQ(frame->notebook->GetPage(0), frame->reportPage);
    EXPECT_EQ(frame->notebook->GetPage(1), frame->graphPage);
    EXPECT_EQ(frame->notebook->GetPage(2), frame->setupPage);
    EXPECT_EQ(frame->notebook->GetPage(3), frame->graphTablePage);
    EXPECT_EQ(frame->notebook->GetImageList()->GetImageCount(), 3);
    EXPECT_GE(frame->GetClientSize().GetWidth(), 640);

    // The report page shows its protocol in an HTML view of that name.
    EXPECT_NE(frame->reportPage->FindWindow("htmlWindow"), nullptr);
}

TEST_F(MainWindow, MenusCarryTheCommandsWithTheirTextsHelpsAndAccelerators)
{
    struct Item { int id; const char* text; const char* help; int accelFlags; int accelKey; };
    const Item items[] = {
        {ID_CONNECT, "&Подключиться\tAlt-C", "Подключиться к регистратору параметров и считать данные из него", wxACCEL_ALT, 'C'},
        {wxID_OPEN, "Открыть\tAlt-O", "Открыть файл для просмотра", wxACCEL_ALT, 'O'},
        {wxID_SAVE, "Сохранить\tAlt-S", "Сохранить просматриваемые данные в файле", wxACCEL_ALT, 'S'},
        {ID_PRINT, "&Распечатать\tAlt-P", "Распечатать документ на принтере", wxACCEL_ALT, 'P'},
        {ID_PAGE_SETUP, "&Параметры страницы", "Настройка параметров страницы для печати", 0, 0},
        {ID_PREVIEW, "&Предварительный просмотр", "Предварительный просмотр документа перед распечаткой", 0, 0},
        {ID_EXIT, "&Выйти\tAlt-X", "Завершение работы с программой", wxACCEL_ALT, 'X'},
        {ID_ABOUT, "О программе", "Показать информацию о программе", 0, 0},
        {ID_HELP, "Справка\tF1", "Показать справку", wxACCEL_NORMAL, WXK_F1},
    };
    for (const Item& expected : items) {
        SCOPED_TRACE(expected.id);
        wxMenuItem* item = frame->menuBar->FindItem(expected.id);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetItemLabel(), ui(expected.text));
        EXPECT_EQ(item->GetHelp(), ui(expected.help));
        wxAcceleratorEntry* accel = item->GetAccel();
        if (expected.accelKey == 0) {
            EXPECT_EQ(accel, nullptr);
        } else {
            ASSERT_NE(accel, nullptr);
            EXPECT_EQ(accel->GetFlags(), expected.accelFlags);
            EXPECT_EQ(accel->GetKeyCode(), expected.accelKey);
        }
        delete accel;
    }

    // The two menus, with the graph options' menu between them.
    ASSERT_EQ(frame->menuBar->GetMenuCount(), 3u);
    EXPECT_EQ(frame->menuBar->GetMenuLabel(0), ui("&Файл"));
    EXPECT_EQ(frame->menuBar->GetMenuLabel(1), ui("&Вид"));
    EXPECT_EQ(frame->menuBar->GetMenuLabel(2), ui("&Помощь"));
    // Order with separators: connect, open, save (and the two exports) | print, page setup,
    // preview | exit.
    const int fileOrder[] = {ID_CONNECT, wxID_OPEN, wxID_SAVE, ID_EXPORT_CSV, ID_EXPORT_PDF, wxID_SEPARATOR,
                             ID_PRINT, ID_PAGE_SETUP, ID_PREVIEW, wxID_SEPARATOR, ID_EXIT};
    const wxMenuItemList& file = frame->menuBar->GetMenu(0)->GetMenuItems();
    ASSERT_EQ(file.size(), std::size(fileOrder));
    int position = 0;
    for (const wxMenuItem* item : file)
        EXPECT_EQ(item->GetId(), fileOrder[position++]);
}

TEST_F(MainWindow, ToolBarHoldsTheToolsAndTheCraneSelectorInOrder)
{
    wxToolBar* tools = frame->toolBar;
    EXPECT_EQ(tools->GetToolBitmapSize(), wxSize(32, 32));
    struct Tool { int id; const char* label; const char* longHelp; };
    const Tool expected[] = {
        {ID_CONNECT, "Считать", "Подключиться к регистратору параметров и считать данные из него"},
        {wxID_OPEN, "Открыть", "Открыть файл для просмотра"},
        {wxID_SAVE, "Сохранить", "Сохранить просматриваемые данные в файле"},
        {wxID_SEPARATOR, "", ""},
        {ID_PRINT, "Распечатать", "Распечатать документ на принтере"},
        {wxID_SEPARATOR, "", ""},
        {ID_PREV_CRANE, "Предыдущий", "Перейти к просмотру данных предыдущего крана"},
        {ID_CRANE_SELECTOR, "", ""},
        {ID_NEXT_CRANE, "Следующий", "Перейти к просмотру данных следующего крана"},
        {wxID_SEPARATOR, "", ""},
        {ID_EXIT, "Выйти", "Завершить работу с программой"},
    };
    ASSERT_EQ(tools->GetToolsCount(), std::size(expected));
    for (size_t position = 0; position < std::size(expected); ++position) {
        const wxToolBarToolBase* tool = tools->GetToolByPos(static_cast<int>(position));
        SCOPED_TRACE(position);
        if (expected[position].id == wxID_SEPARATOR) {
            EXPECT_TRUE(tool->IsSeparator());
            continue;
        }
        EXPECT_EQ(tool->GetId(), expected[position].id);
        if (expected[position].id == ID_CRANE_SELECTOR) {
            EXPECT_EQ(tool->GetControl(), frame->craneSelector);
            continue;
        }
        EXPECT_EQ(tool->GetLabel(), ui(expected[position].label));
        EXPECT_EQ(tool->GetLongHelp(), ui(expected[position].longHelp));
        EXPECT_EQ(tool->GetShortHelp(), ui(expected[position].label)) << "the tooltip";
        EXPECT_TRUE(tool->GetNormalBitmap().IsOk()) << "picture missing";
    }
    EXPECT_TRUE(frame->craneSelector->HasFlag(wxCB_READONLY));
    EXPECT_EQ(frame->craneSelector->GetSize().GetWidth(), 200);
    EXPECT_EQ(frame->craneSelector->GetCount(), 0u);
}

TEST_F(MainWindow, WithOneCranePreviousAndNextStayOnIt)
{
    holdCranes({makeCrane("only")});
    ASSERT_EQ(currentCrane(), 0);
    command(frame, ID_PREV_CRANE);
    EXPECT_EQ(currentCrane(), 0);
    command(frame, ID_NEXT_CRANE);
    EXPECT_EQ(currentCrane(), 0);
}

TEST_F(MainWindow, StepsThroughThreeCranesAndShowsEachOnesGraphs)
{
    holdCranes({makeCrane("first", {makeGraph(0, {{0, 0x80 | 10}})}),
                makeCrane("second", {makeGraph(0, {{0, 0x80 | 20}}), makeGraph(60, {{0, 0x80 | 30}})}),
                makeCrane("third", {makeGraph(0, {{0, 0x80 | 40}}), makeGraph(0, {{0, 0x80 | 50}}),
                                    makeGraph(0, {{0, 0x80 | 60}})})});
    EXPECT_EQ(frame->craneSelector->GetString(1), "second");
    ASSERT_EQ(currentCrane(), 0);
    EXPECT_EQ(graphList()->GetCount(), 1u);

    command(frame, ID_NEXT_CRANE);
    command(frame, ID_NEXT_CRANE);
    EXPECT_EQ(currentCrane(), 2);
    EXPECT_EQ(graphList()->GetCount(), 3u);
    command(frame, ID_NEXT_CRANE);
    EXPECT_EQ(currentCrane(), 2) << "next on the last crane does nothing";
    command(frame, ID_PREV_CRANE);
    EXPECT_EQ(currentCrane(), 1);
    ASSERT_EQ(graphList()->GetCount(), 2u);
    EXPECT_EQ(graphList()->GetSelection(), 0) << "the first graph of the crane is shown";
    EXPECT_EQ(graphList()->GetString(1), ui(" 30% 01/01/1970 00:01:00 "));

    chooseCrane(0);
    EXPECT_EQ(currentCrane(), 0);
    EXPECT_EQ(graphList()->GetString(0), ui(" 10% 01/01/1970 00:00:00 "));
    command(frame, ID_PREV_CRANE);
    EXPECT_EQ(currentCrane(), 0) << "previous on the first crane does nothing";
}

TEST_F(MainWindow, GraphLabelsShowThePeakLoadAndTheStart)
{
    cycLink* light = makeGraph(1230768000 + 3723,
                               {{0, 0x80 | 3}, {2, 0x05}, {4, 0x80 | 7}, {6, 0x80 | 1}, {8, 0x80 | 2}});
    cycLink* full = makeGraph(86399, {{0, 0x80 | 100}, {1, 0x80 | 127}});
    cycLink* stateOnly = makeGraph(0, {{0, 0x01}, {5, 0x00}});
    holdCranes({makeCrane("crane", {light, full, stateOnly})});

    ASSERT_EQ(graphList()->GetCount(), 3u);
    EXPECT_EQ(graphList()->GetString(0), ui("  7% 01/01/2009 01:02:03 "));
    EXPECT_EQ(graphList()->GetString(1), ui("127% 01/01/1970 23:59:59 "));
    EXPECT_EQ(graphList()->GetString(2), ui("  0% 01/01/1970 00:00:00 ")) << "no load samples";
    EXPECT_EQ(graphList()->GetClientData(1), full);
}

TEST_F(MainWindow, GraphArrowsStopAtBothEndsOfTheList)
{
    holdCranes({makeCrane("crane", {makeGraph(0, {{0, 0x81}}), makeGraph(0, {{0, 0x82}})})});
    ASSERT_EQ(graphList()->GetSelection(), 0);
    click(frame->graphPage, ID_PREV_GRAPH);
    EXPECT_EQ(graphList()->GetSelection(), 0);
    click(frame->graphPage, ID_NEXT_GRAPH);
    EXPECT_EQ(graphList()->GetSelection(), 1);
    click(frame->graphPage, ID_NEXT_GRAPH);
    EXPECT_EQ(graphList()->GetSelection(), 1);
    click(frame->graphPage, ID_PREV_GRAPH);
    EXPECT_EQ(graphList()->GetSelection(), 0);
}

TEST_F(MainWindow, ACraneWithoutGraphsEmptiesTheGraphList)
{
    holdCranes({makeCrane("with graphs", {makeGraph(0, {{0, 0x81}}), makeGraph(0, {{0, 0x82}})}),
                makeCrane("without graphs")});
    click(frame->graphPage, ID_NEXT_GRAPH);
    command(frame, ID_NEXT_CRANE);
    EXPECT_EQ(currentCrane(), 1);
    EXPECT_EQ(graphList()->GetCount(), 0u);
    EXPECT_EQ(graphList()->GetSelection(), wxNOT_FOUND);
    EXPECT_TRUE(graphList()->GetValue().empty()) << "no label of the other crane left in the box";
}

TEST_F(MainWindow, EmptiedCraneListLeavesNothingPointingAtTheOldCranes)
{
    holdCranes({makeCrane("a", {makeGraph(0, {{0, 0x81}})}), makeCrane("b", {makeGraph(0, {{0, 0x82}})})});
    frame->clearCranes();
    EXPECT_TRUE(frame->cranes.empty());
    EXPECT_EQ(frame->craneSelector->GetCount(), 0u);
    EXPECT_EQ(graphList()->GetCount(), 0u);
    EXPECT_TRUE(frame->craneSelector->GetValue().empty());

    // Every command that looks the current crane or graph up finds none and does nothing.
    ModalScript noDialogs;
    for (int id : {ID_PREV_CRANE, ID_NEXT_CRANE})
        command(frame, id);
    for (int id : {ID_PREV_GRAPH, ID_NEXT_GRAPH})
        click(frame->graphPage, id);
    frame->notebook->SetSelection(1);
    for (int id : {ID_PRINT, ID_PAGE_SETUP, ID_PREVIEW})
        command(frame, id);
    frame->setupPage->refresh();
    frame->Update();
    EXPECT_EQ(currentCrane(), wxNOT_FOUND);

    // A new set of cranes shows as usual.
    holdCranes({makeCrane("c", {makeGraph(0, {{0, 0x83}})})});
    EXPECT_EQ(currentCrane(), 0);
    EXPECT_EQ(graphList()->GetCount(), 1u);
}

TEST_F(MainWindow, PrintingOnTheSettingsPageDoesNothing)
{
    frame->notebook->SetSelection(2);
    const size_t windows = wxTopLevelWindows.size();
    ModalScript noDialogs;
    for (int id : {ID_PRINT, ID_PAGE_SETUP, ID_PREVIEW})
        command(frame, id);
    settle();
    EXPECT_EQ(wxTopLevelWindows.size(), windows) << "no printing or preview window";
}

TEST_F(MainWindow, ExitAnsweredNoKeepsTheProgramAndItsData)
{
    holdCranes({makeCrane("kept", {makeGraph(0, {{0, 0x81}})})});
    wxTEST_DIALOG(command(frame, ID_EXIT), wxExpectDismissableModal<ExitDialog>(wxID_NO));
    EXPECT_FALSE(closing(frame));
    EXPECT_TRUE(frame->IsShown());
    EXPECT_EQ(frame->cranes.count(), 1u);
    EXPECT_EQ(frame->craneSelector->GetCount(), 1u);
    EXPECT_EQ(graphList()->GetCount(), 1u);
}

TEST_F(MainWindow, ExitAnsweredYesClosesTheWindow)
{
    wxTEST_DIALOG(command(frame, ID_EXIT), wxExpectDismissableModal<ExitDialog>(wxID_YES));
    EXPECT_TRUE(closing(frame));
}

TEST_F(MainWindow, CloseBoxAsksAsTheExitCommandDoes)
{
    wxTEST_DIALOG(frame->Close(false), wxExpectDismissableModal<ExitDialog>(wxID_NO));
    EXPECT_FALSE(closing(frame));
    wxTEST_DIALOG(frame->Close(false), wxExpectDismissableModal<ExitDialog>(wxID_YES));
    EXPECT_TRUE(closing(frame));
}

DialogAnswers::Answer exitDialog(int answer)
{
    return {answer, [](wxDialog* dialog) { EXPECT_NE(dynamic_cast<ExitDialog*>(dialog), nullptr); }};
}

// The question before cranes read and not saved are dropped: save (wxID_YES), don't save
// (wxID_NO) or cancel.
DialogAnswers::Answer unsavedCranesQuestion(int answer)
{
    return {answer, [](wxDialog* dialog) {
                auto* box = dynamic_cast<wxMessageDialogBase*>(dialog);
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->GetMessage(), ui("Сохранить считанные данные в файле?"));
            }};
}

// A readout, an open, "Выйти" and the close box ask first whether cranes read and not saved are
// to be saved: cancel keeps everything, a save that does not happen keeps the program running.
TEST_F(MainWindow, UnsavedCranesAreDroppedOnlyWhenTheUserSaysSo)
{
    holdCranes({makeCrane("read", {makeGraph(0, {{0, 0x81}})})});
    frame->unsavedCranes = true;
    const devLink* held = firstCrane(frame->cranes);
    {
        DialogAnswers user({unsavedCranesQuestion(wxID_CANCEL), unsavedCranesQuestion(wxID_CANCEL),
                            exitDialog(wxID_YES), unsavedCranesQuestion(wxID_CANCEL), exitDialog(wxID_YES),
                            unsavedCranesQuestion(wxID_CANCEL), exitDialog(wxID_YES),
                            unsavedCranesQuestion(wxID_YES), escapeFrom()});
        command(frame, ID_CONNECT);
        command(frame, wxID_OPEN);
        command(frame, ID_EXIT);
        frame->Close(false);
        frame->Close(false);   // save chosen, then the save dialog cancelled
        EXPECT_EQ(user.given(), 9u);
    }
    EXPECT_FALSE(closing(frame));
    EXPECT_EQ(firstCrane(frame->cranes), held);
    EXPECT_EQ(frame->craneSelector->GetCount(), 1u);
    EXPECT_TRUE(frame->unsavedCranes);
    {
        DialogAnswers user({unsavedCranesQuestion(wxID_NO), escapeFrom()});
        command(frame, wxID_OPEN);
        EXPECT_EQ(user.given(), 2u) << "not saving lets the open go on";
    }

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("brennix-unsaved-" + std::to_string(wxGetProcessId()));
    ASSERT_TRUE(std::filesystem::create_directories(folder));
    const std::string saved = (folder / "saved.brx").u8string();
    {
        DialogAnswers user({exitDialog(wxID_YES), unsavedCranesQuestion(wxID_YES), typeInto(saved)});
        frame->Close(false);
        EXPECT_EQ(user.given(), 3u);
    }
    EXPECT_TRUE(closing(frame));
    EXPECT_FALSE(frame->unsavedCranes);
    std::error_code ignored;
    EXPECT_TRUE(std::filesystem::exists(saved));
    std::filesystem::remove_all(folder, ignored);
}

// The about box as the user sees it: title, HTML page with logo and version, an OK button.
class ExpectAboutBox : public wxExpectModalBase<wxDialog, ExpectAboutBox> {
protected:
    int OnInvoked(wxDialog* box) const override
    {
        EXPECT_EQ(box->GetTitle(), ui("О программе"));
        wxHtmlWindow* html = wxDynamicCast(box->FindWindow("htmlWindow"), wxHtmlWindow);
        EXPECT_NE(html, nullptr);
        if (html) {
            EXPECT_NE(html->ToText().Find(ui("Brennix версия 1.2.1")), wxNOT_FOUND);
            EXPECT_EQ(html->GetSize().GetHeight(), html->GetInternalRepresentation()->GetHeight())
                << "the view is as high as its page";
        }
        wxWindow* ok = box->FindWindow(wxID_OK);
        EXPECT_TRUE(ok && box->GetDefaultItem() == ok);
        return wxID_OK;
    }
};

// Ctrl-O, Ctrl-S, Ctrl-P and Ctrl-Q, pressed on the keyboard, give the commands that Alt-O,
// Alt-S, Alt-P and Alt-X give; Ctrl-Q asks before it ends the program.
TEST_F(MainWindow, CtrlKeysGiveTheCommandsBesideTheAltAccelerators)
{
    holdCranes({makeCrane("kept", {makeGraph(0, {{0, 0x81}})})});
    const auto fileDialog = [](long style) {
        return DialogAnswers::Answer{wxID_CANCEL, [style](wxDialog* dialog) {
                                         wxFileDialog* files = dynamic_cast<wxFileDialog*>(dialog);
                                         ASSERT_NE(files, nullptr);
                                         EXPECT_EQ(files->GetWindowStyle() & (wxFD_OPEN | wxFD_SAVE), style);
                                     }};
    };
    const auto printDialog = DialogAnswers::Answer{
        wxID_CANCEL, [](wxDialog* dialog) { EXPECT_NE(dynamic_cast<wxPrintDialogBase*>(dialog), nullptr); }};
    DialogAnswers user({fileDialog(wxFD_OPEN), fileDialog(wxFD_SAVE), printDialog, exitDialog(wxID_NO)});
    std::size_t expected = 0;
    for (const int key : {'O', 'S', 'P', 'Q'}) {
        SCOPED_TRACE(static_cast<char>(key));
        ++expected;
        EXPECT_TRUE(pressKey(frame, key, [&] { return user.given() == expected; }, wxMOD_CONTROL));
    }
    settle();
    EXPECT_FALSE(closing(frame));
    EXPECT_EQ(frame->cranes.count(), 1u);
}

TEST_F(MainWindow, AboutBoxShowsTheVersion)
{
    wxTEST_DIALOG(command(frame, ID_ABOUT), ExpectAboutBox());
}

}  // namespace
