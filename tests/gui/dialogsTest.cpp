#include <string>

#include <gtest/gtest.h>
#include <wx/calctrl.h>
#include <wx/radiobox.h>
#include <wx/stattext.h>
#include <wx/testing.h>

#include "app/imageWithMask.h"
#include "app/uiText.h"
#include "dialogs/CalDialog.h"
#include "dialogs/ComChooserDialog.h"
#include "dialogs/ConnectDialog.h"
#include "dialogs/ExitDialog.h"
#include "dialogs/InfoDialog.h"
#include "tests/gui/guiSupport.h"

namespace {

// Runs a dialog modally with the script and returns its result; the dialog is destroyed.
int runModal(wxDialog* dialog, std::vector<ModalScript::Step> steps)
{
    const size_t expected = steps.size();
    ModalScript script(std::move(steps));
    const int result = dialog->ShowModal();
    EXPECT_EQ(script.played(), expected) << "every scripted dialog came up";
    dialog->Destroy();
    settle();
    return result;
}

ModalScript::Step pressing(int id)
{
    return [id](wxDialog* dialog) { click(dialog, id); };
}

// Chooses the port at index in the port chooser, which opens on the port at shown, and presses
// the button id.
ModalScript::Step choosingPort(int index, int id, int shown = 0)
{
    return [index, id, shown](wxDialog* dialog) {
        ComChooserDialog* chooser = dynamic_cast<ComChooserDialog*>(dialog);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->radio->GetSelection(), shown) << "the port preselected";
        chooser->radio->SetSelection(index);
        click(chooser, id);
    };
}

// Presses a key on the keyboard while the dialog is up; it must end the dialog.
ModalScript::Step pressingKey(int key)
{
    return [key](wxDialog* dialog) {
        EXPECT_TRUE(pressKey(dialog, key, [dialog] { return !dialog->IsModal(); })) << "the dialog ended";
    };
}

bool isDefaultButton(wxDialog* dialog, int id)
{
    wxWindow* button = dialog->FindWindow(id);
    return button && dialog->GetDefaultItem() == button;
}

TEST(ConnectDialog, SerialPortChosenGivesTheComName)
{
    std::string port = "old";
    EXPECT_EQ(runModal(new ConnectDialog(nullptr, &port),
                       {pressing(ID_CONNECT_SERIAL), choosingPort(2, wxID_YES)}),
              ID_CONNECT_SERIAL);
    EXPECT_EQ(port, "COM3");
}

TEST(ConnectDialog, ModemYieldsAComNameLikeTheSerialPort)
{
    std::string port;
    EXPECT_EQ(runModal(new ConnectDialog(nullptr, &port),
                       {pressing(ID_CONNECT_MODEM), choosingPort(3, wxID_YES)}),
              ID_CONNECT_MODEM);
    EXPECT_EQ(port, "COM4");
}

TEST(ConnectDialog, CancelInsideThePortChooserCancelsAndEmptiesThePort)
{
    std::string port = "COM2";
    EXPECT_EQ(runModal(new ConnectDialog(nullptr, &port),
                       {pressing(ID_CONNECT_SERIAL), choosingPort(1, wxID_NO, 1)}),
              wxID_NO);
    EXPECT_EQ(port, "");
}

// The way and the port chosen last come up chosen: Enter takes the way, the chooser shows the
// port; any other way and port can still be chosen.
TEST(ConnectDialog, TheWayAndPortChosenLastComeUpChosen)
{
    std::string port = "COM3";
    const ModalScript::Step enterOnTheModem = [](wxDialog* dialog) {
        EXPECT_EQ(wxWindow::FindFocus(), dialog->FindWindow(ID_CONNECT_MODEM));
        pressingKey(WXK_RETURN)(dialog);
    };
    EXPECT_EQ(runModal(new ConnectDialog(nullptr, &port, ID_CONNECT_MODEM),
                       {enterOnTheModem, choosingPort(2, wxID_YES, 2)}),
              ID_CONNECT_MODEM);
    EXPECT_EQ(port, "COM3");

    port = "COM4";
    EXPECT_EQ(runModal(new ConnectDialog(nullptr, &port, ID_CONNECT_IRDA),
                       {pressing(ID_CONNECT_SERIAL), choosingPort(0, wxID_YES, 3)}),
              ID_CONNECT_SERIAL);
    EXPECT_EQ(port, "COM1");
}

// Escape on the keyboard answers as the cancelling button: the connection dialog leaves the port
// as it was, the port chooser empties it, the exit question says no, the calendar chooses nothing.
TEST(Dialogs, EscapeCancelsAsTheCancellingButton)
{
    std::string port = "COM2";
    EXPECT_EQ(runModal(new ConnectDialog(nullptr, &port), {pressingKey(WXK_ESCAPE)}), wxID_NO);
    EXPECT_EQ(port, "COM2");
    EXPECT_EQ(runModal(new ConnectDialog(nullptr, &port), {pressing(ID_CONNECT_SERIAL), pressingKey(WXK_ESCAPE)}),
              wxID_NO);
    EXPECT_EQ(port, "");
    EXPECT_EQ(runModal(new ExitDialog(nullptr), {pressingKey(WXK_ESCAPE)}), wxID_NO);
    CalDialog* calendar = new CalDialog(nullptr, wxDateTime(15, wxDateTime::Mar, 2009));
    EXPECT_EQ(runModal(calendar, {pressingKey(WXK_ESCAPE)}), wxID_NO);
}

TEST(ConnectDialog, InfraredEmptiesAPortNameHeldBefore)
{
    std::string port = "COM2";
    EXPECT_EQ(runModal(new ConnectDialog(nullptr, &port), {pressing(ID_CONNECT_IRDA)}), ID_CONNECT_IRDA);
    EXPECT_EQ(port, "");
}

TEST(ConnectDialog, OwnCancelLeavesThePortAsItWas)
{
    std::string port = "COM2";
    EXPECT_EQ(runModal(new ConnectDialog(nullptr, &port), {pressing(wxID_NO)}), wxID_NO);
    EXPECT_EQ(port, "COM2");
}

TEST(ConnectDialog, ChooserClosedByItsFrameCancelsWithThePortUnchanged)
{
    std::string port = "COM2";
    const ModalScript::Step closeBox = [](wxDialog* dialog) { dialog->Close(); };
    EXPECT_EQ(runModal(new ConnectDialog(nullptr, &port), {pressing(ID_CONNECT_MODEM), closeBox}), wxID_NO);
    EXPECT_EQ(port, "COM2");
}

TEST(ConnectDialog, PortChooserAnsweredFromOutside)
{
    // The connection dialog's handler against a port chooser that only returns its answer.
    std::string port = "COM1";
    int result = 0;
    ConnectDialog* dialog = new ConnectDialog(nullptr, &port);
    const ModalScript::Step serialThenCancel = [&](wxDialog* shown) {
        wxTEST_DIALOG(click(shown, ID_CONNECT_SERIAL), wxExpectDismissableModal<ComChooserDialog>(wxID_NO));
    };
    result = runModal(dialog, {serialThenCancel});
    EXPECT_EQ(result, wxID_NO);
    EXPECT_EQ(port, "COM1") << "the faked chooser never touched the port";
}

TEST(ComChooserDialog, ReadsEveryPortName)
{
    for (int index = 0; index < 4; ++index) {
        std::string port;
        ComChooserDialog* chooser = new ComChooserDialog(nullptr, "t", wxBitmap(), &port);
        EXPECT_EQ(chooser->radio->GetCount(), 4u);
        EXPECT_EQ(chooser->radio->GetString(index),
                  wxString::Format(ui("Последовательный порт %d (COM%d)"), index + 1, index + 1));
        EXPECT_TRUE(isDefaultButton(chooser, wxID_NO));
        EXPECT_EQ(runModal(chooser, {choosingPort(index, wxID_YES)}), wxID_YES);
        EXPECT_EQ(port, "COM" + std::to_string(index + 1));
    }
}

TEST(ExitDialog, AnswersYesOrNoAndCloseBoxIsNoYes)
{
    EXPECT_EQ(runModal(new ExitDialog(nullptr), {pressing(wxID_YES)}), wxID_YES);
    EXPECT_EQ(runModal(new ExitDialog(nullptr), {pressing(wxID_NO)}), wxID_NO);
    const ModalScript::Step closeBox = [](wxDialog* dialog) { dialog->Close(); };
    EXPECT_NE(runModal(new ExitDialog(nullptr), {closeBox}), wxID_YES);

    ExitDialog* dialog = new ExitDialog(nullptr);
    EXPECT_EQ(dialog->GetTitle(), ui("Выход из программы"));
    EXPECT_TRUE(isDefaultButton(dialog, wxID_NO));
    dialog->Destroy();
}

TEST(InfoDialog, ShowsTheTextAsGivenAndEndsWithOk)
{
    // The completion text starts with a Latin C and must stay so.
    const wxString text = ui("Cчитывание данных успешно завершено");
    InfoDialog* dialog = new InfoDialog(nullptr, ui("Считывание завершено"), text,
                                        imageWithMask(loadPng("bmps/con_com.160.png")));
    EXPECT_EQ(dialog->GetTitle(), ui("Считывание завершено"));
    bool shown = false;
    for (wxWindow* child : dialog->GetChildren())
        if (wxStaticText* label = wxDynamicCast(child, wxStaticText))
            shown = shown || label->GetLabel() == text;
    EXPECT_TRUE(shown);
    EXPECT_TRUE(isDefaultButton(dialog, wxID_OK));
    EXPECT_EQ(runModal(dialog, {pressing(wxID_OK)}), wxID_OK);
}

TEST(CalDialog, OpensOnTheGivenDateAndReturnsTheChosenOne)
{
    const wxDateTime given(15, wxDateTime::Mar, 2009);
    CalDialog* dialog = new CalDialog(nullptr, given);
    EXPECT_EQ(dialog->calendar->GetDate(), given);
    EXPECT_EQ(dialog->calendar->GetName(), "CalendarCtrl");
    EXPECT_TRUE(isDefaultButton(dialog, wxID_YES));
    const ModalScript::Step pickAndChoose = [](wxDialog* shown) {
        static_cast<CalDialog*>(shown)->calendar->SetDate(wxDateTime(20, wxDateTime::Apr, 2010));
        click(shown, wxID_YES);
    };
    ModalScript script({pickAndChoose});
    EXPECT_EQ(dialog->ShowModal(), wxID_YES);
    EXPECT_EQ(dialog->calendar->GetDate(), wxDateTime(20, wxDateTime::Apr, 2010))
        << "the caller reads the date after the dialog has ended";
    dialog->Destroy();
}

TEST(CalDialog, DoubleClickOnADayChoosesItAtOnce)
{
    CalDialog* dialog = new CalDialog(nullptr, wxDateTime(1, wxDateTime::Jan, 2009));
    const ModalScript::Step doubleClick = [](wxDialog* shown) {
        wxCalendarCtrlBase* calendar = static_cast<CalDialog*>(shown)->calendar;
        calendar->SetDate(wxDateTime(7, wxDateTime::Jan, 2009));
        wxCalendarEvent event(calendar, calendar->GetDate(), wxEVT_CALENDAR_DOUBLECLICKED);
        calendar->ProcessWindowEvent(event);
    };
    ModalScript script({doubleClick});
    EXPECT_EQ(dialog->ShowModal(), wxID_YES);
    EXPECT_EQ(dialog->calendar->GetDate(), wxDateTime(7, wxDateTime::Jan, 2009));
    dialog->Destroy();
}

TEST(CalDialog, CancelRefuses)
{
    EXPECT_EQ(runModal(new CalDialog(nullptr, wxDateTime::Today()), {pressing(wxID_NO)}), wxID_NO);
}

}  // namespace
