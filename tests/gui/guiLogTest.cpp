#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/notebook.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "app/MainFrame.h"
#include "app/guiLog.h"
#include "app/uiText.h"
#include "data/devLink.h"
#include "dialogs/ConnectDialog.h"
#include "tests/gui/guiSupport.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

TEST(LogSinks, PercentSignsInDataAreNeverFormatsAgain)
{
    logError("%s", "100% %s %n %d");
    EXPECT_EQ(lastMessage(), "100% %s %n %d");
    const std::string longText(5000, 'x');
    logStatus("%s", longText.c_str());
    EXPECT_EQ(lastMessage().length(), 5000u) << "no fixed buffer cuts a long text";
}

// What the X server shows of a window right now, read through a connection of our own.
std::vector<uint32_t> onScreen(wxWindow* window)
{
    const wxRect area = window->GetScreenRect();
    std::vector<uint32_t> pixels;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return pixels;
    XImage* image = XGetImage(display, DefaultRootWindow(display), area.x, area.y, area.width,
                              area.height, AllPlanes, ZPixmap);
    if (image) {
        for (int y = 0; y < area.height; ++y)
            for (int x = 0; x < area.width; ++x)
                pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)));
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return pixels;
}

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
        for (int round = 0; round < 30; ++round) {
            wxYield();
            wxMilliSleep(10);
        }
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

int differingPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    int differing = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        differing += a[i] != b[i] ? 1 : 0;
    return differing;
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
    for (int round = 0; round < 30; ++round) {
        wxYield();
        wxMilliSleep(10);
    }
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
