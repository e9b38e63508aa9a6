#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/notebook.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "app/MainFrame.h"
#include "app/guiLog.h"
#include "app/uiText.h"
#include "data/devLink.h"
#include "dialogs/ConnectDialog.h"
#include "tests/gui/guiSupport.h"

namespace {

const wxString& lastMessage() { return RecordingLog::messages().back().second; }
wxLogLevel lastLevel() { return RecordingLog::messages().back().first; }

TEST(LogSinks, FormatLikePrintfAndReachTheirLevels)
{
    logStatus("Считывается график %d из %d", 3, 60);
    EXPECT_EQ(lastLevel(), wxLOG_Status);
    EXPECT_EQ(lastMessage(), ui("Считывается график 3 из 60"));
    logError("Ошибка при записи байта по адресу $%04X - пакет длиной %lu байт", 0x3Fu, 7ul);
    EXPECT_EQ(lastLevel(), wxLOG_Error);
    EXPECT_EQ(lastMessage(), ui("Ошибка при записи байта по адресу $003F - пакет длиной 7 байт"));
}

TEST(LogSinks, TextsFromDevicesAndFilesInWindows1251AreDecoded)
{
    // "Кран №5" in Windows-1251 inside the program's UTF-8 text.
    logError("Неизвестное устройство: %s", "\xCA\xF0\xE0\xED \xB9" "5");
    EXPECT_EQ(lastMessage(), ui("Неизвестное устройство: Кран №5"));
    logStatus("%s", "\xD1\xF7\xE8\xF2\xFB\xE2\xE0\xE5\xF2\xF1\xFF");
    EXPECT_EQ(lastMessage(), ui("Считывается"));
}

// The labels of a dialog and of all its inner windows, in order.
void collectLabels(wxWindow* window, std::vector<wxString>& labels)
{
    for (wxWindow* child : window->GetChildren()) {
        if (wxStaticText* text = wxDynamicCast(child, wxStaticText))
            labels.push_back(text->GetLabel());
        collectLabels(child, labels);
    }
}

TEST(LogSinks, TheFirstErrorOfAnOperationIsTheMessageShown)
{
    // What a collector that hangs up in the middle of a readout leaves in the log.
    const char* const noAnswer = "Устройство не работает или ошибка контрольной суммы при передаче";
    wxLog* previous = wxLog::SetActiveTarget(new FirstErrorLog);
    logError("не могу принять данные: %d", 5);
    logError("%s", noAnswer);
    logError("Ошибка при чтении цикла %d/%d", 0, 3);
    logError("%s", noAnswer);
    logError("Ошибка при установке текущего слота: %u", 1u);
    std::vector<wxString> labels;
    ModalScript script({[&labels](wxDialog* dialog) {
        collectLabels(dialog, labels);
        click(dialog, wxID_OK);
    }});
    wxLog::FlushActive();
    delete wxLog::SetActiveTarget(previous);
    EXPECT_EQ(script.played(), 1u);
    EXPECT_EQ(labels, std::vector<wxString>{ui("не могу принять данные: 5")});
}

TEST(LogSinks, PercentSignsInDataAreNeverFormatsAgain)
{
    logError("%s", "100% %s %n %d");
    EXPECT_EQ(lastMessage(), "100% %s %n %d");
    const std::string longText(5000, 'x');
    logStatus("%s", longText.c_str());
    EXPECT_EQ(lastMessage().length(), 5000u) << "no fixed buffer cuts a long text";
}

// What the X server shows of a window right now.
std::vector<uint32_t> onScreen(wxWindow* window) { return screenPixels(window->GetScreenRect()); }

int darkPixels(const std::vector<uint32_t>& pixels)
{
    int dark = 0;
    for (uint32_t pixel : pixels)
        dark += ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF) < 300 ? 1 : 0;
    return dark;
}

class StatusWhileBlocked : public ::testing::Test {
protected:
    void SetUp() override
    {
        // In the display's bottom right corner, away from where other windows come up.
        const wxSize display = wxGetDisplaySize();
        frame->Move(display.x - frame->GetSize().x, display.y - frame->GetSize().y);
        wxTheApp->SetTopWindow(frame);
        // Let the window come up and paint once, as it would before the user starts a readout.
        letTheToolkitWork();
    }
    void TearDown() override
    {
        frame->Destroy();
        settle();
    }

    MainFrame* frame = new MainFrame;
};

TEST_F(StatusWhileBlocked, EachStatusTextIsOnTheScreenBeforeTheOperationGoesOn)
{
    wxStatusBar* status = frame->GetStatusBar();
    const int emptyBar = darkPixels(onScreen(status));
    // A long operation that never returns to the event loop between its texts.
    std::vector<uint32_t> previous = onScreen(status);
    ASSERT_FALSE(previous.empty()) << "the screen can be read";
    for (int graph = 1; graph <= 3; ++graph) {
        logStatus("Считывается график %d из 60", graph);
        EXPECT_EQ(status->GetStatusText(), wxString::Format(ui("Считывается график %d из 60"), graph));
        const std::vector<uint32_t> shown = onScreen(status);
        EXPECT_GT(darkPixels(shown), emptyBar + 20) << "text drawn on the screen, graph " << graph;
        EXPECT_NE(shown, previous) << "the new text replaced the old one on the screen";
        previous = shown;
    }
}

TEST_F(StatusWhileBlocked, WindowIsRepaintedWhereTheConnectionDialogWas)
{
    // The readout starts right after the connection dialog has closed: the window must not keep
    // the dialog's picture while the readout runs.
    wxWindow* page = frame->notebook;
    const std::vector<uint32_t> clean = onScreen(page);
    std::string port;
    ConnectDialog* dialog = new ConnectDialog(frame, &port);
    dialog->Show();
    letTheToolkitWork();
    ASSERT_GT(differingPixels(onScreen(page), clean), 1000) << "the dialog covers the page";
    dialog->Destroy();
    logStatus("Идентификация устройства");
    EXPECT_LT(differingPixels(onScreen(page), clean), 50) << "the page is clean again";
}

TEST_F(StatusWhileBlocked, UserCommandsWaitUntilTheOperationHasEnded)
{
    frame->cranes.pushBack(makeCrane("a"));
    frame->cranes.pushBack(makeCrane("b"));
    frame->showCranes();
    wxQueueEvent(frame, new wxCommandEvent(wxEVT_MENU, ID_NEXT_CRANE));
    logStatus("Считывается память");
    EXPECT_EQ(frame->craneSelector->GetSelection(), 0) << "no command runs inside the operation";
    settle();
    EXPECT_EQ(frame->craneSelector->GetSelection(), 1) << "it runs once the operation is over";
}

}  // namespace

