// The settings page inside the real main window: what it shows of the selected crane, the date
// pickers, and its exchanges with the real simulator on a pseudo-terminal.
#include <algorithm>

#include <gtest/gtest.h>
#include <wx/calctrl.h>
#include <wx/combobox.h>
#include <wx/notebook.h>
#include <wx/stattext.h>
#include <wx/testing.h>
#include <wx/textctrl.h>

#include "app/MainFrame.h"
#include "app/uiText.h"
#include "data/devLink.h"
#include "data/readout.h"
#include "dialogs/CalDialog.h"
#include "dialogs/ConnectDialog.h"
#include "link/codings.h"
#include "link/comm.h"
#include "setup/SetupWindow.h"
#include "tests/gui/guiSupport.h"
#include "tests/support/readoutScenarios.h"
#include "tests/support/reportLog.h"
#include "tests/support/simProcess.h"
#include "tests/support/timeZone.h"

namespace {

// Picks a date on the calendar and ends the dialog with result.
class pickingDate : public wxExpectModalBase<CalDialog, pickingDate> {
public:
    pickingDate(const wxDateTime& date, int result) : date(date), result(result) {}

protected:
    int OnInvoked(CalDialog* dialog) const override
    {
        dialog->calendar->SetDate(date);
        return result;
    }

private:
    wxDateTime date;
    int result;
};

// Clicks the button id of the dialog titled title; ends any other dialog with a failure.
void answer(wxDialog* dialog, const char* title, int id)
{
    if (dialog->GetTitle() != ui(title)) {
        ADD_FAILURE() << "dialog \"" << dialog->GetTitle().utf8_str().data() << "\" instead of \"" << title << "\"";
        dialog->EndModal(wxID_CANCEL);
        return;
    }
    click(dialog, id);
}
// The update's question confirmed; the completion message after the write closed.
void confirmWrite(wxDialog* dialog) { answer(dialog, "Обновление настроек РП", wxID_YES); }
void closeCompletion(wxDialog* dialog) { answer(dialog, "Обновление завершено", wxID_OK); }

// The texts of a dialog's labels, in order.
std::vector<wxString> labels(const wxWindow* dialog)
{
    std::vector<wxString> texts;
    for (const wxWindow* child : dialog->GetChildren())
        if (const wxStaticText* label = wxDynamicCast(child, wxStaticText))
            texts.push_back(label->GetLabelText());
    return texts;
}

// The question's values of a field: now and to be written.
std::pair<wxString, wxString> row(const std::vector<wxString>& texts, const char* label)
{
    const auto at = std::find(texts.begin(), texts.end(), ui(label));
    if (texts.end() - at < 3)
        return {};
    return {at[1], at[2]};
}

bool has(const std::vector<wxString>& texts, const char* text)
{
    return std::find(texts.begin(), texts.end(), ui(text)) != texts.end();
}

devLink* craneWithSettings()
{
    devLink* crane = makeCrane("\xD0\xCA-7 01/06/2024 10:00:00");
    crane->regNo = "\xD0\xCA-7";     // "РК-7" in Windows-1251
    crane->serNo = "00451";
    crane->invNo = "INV00017";
    crane->regiSince = 1600000000;   // 13/09/2020 12:26:40 UTC
    crane->workSince = 1262322000;   // 01/01/2010 05:00:00
    crane->maxWeight = 320;
    crane->workMaxYears = 25;
    crane->workMaxGrp = 6;
    crane->adcZS = 12;
    crane->adcFZS = 198;
    crane->ogpH = 105;
    crane->ogpL = 95;
    return crane;
}

wxString text(const wxTextCtrl* field) { return field->GetValue(); }

// A collector holding a recorder whose registration number (from the slot) has 10 characters
// and whose capacity is 1280 t, the most the capacity byte holds.
const char collectorWithLongValues[] = R"(device collector
clock 2024-03-15 12:00:00
crane
  regNo OLD-0001
  slotRegNo КР-1234567
  serNo S-1
  capacity 1280
  serviceYears 20
  fullCode 200
  zeroCode 20
  group 5
  ogp 110 100
)";

std::size_t errorCount()
{
    std::size_t n = 0;
    for (const auto& [level, message] : RecordingLog::messages())
        n += level == wxLOG_Error;
    return n;
}

class SettingsPage : public FrameTest {
protected:
    void SetUp() override
    {
        RecordingLog::messages().clear();
        holdCranes({crane});
    }
    // A recorder on its own pseudo-terminal, chosen at the last connect as COM1.
    void connectSimulator(std::vector<std::string> options)
    {
        sim = std::make_unique<simProcess>(options);
        ASSERT_EQ(sim->waitForTerminal().size(), 1u);
        port = std::make_unique<scopedComPort>(1, sim->link);
        frame->connectResult = ID_CONNECT_SERIAL;
        frame->portName = "COM1";
    }
    // The same recorder in the emulated IrDA air, chosen at the last connect as infrared.
    void connectInfrared()
    {
        sim = std::make_unique<simProcess>(std::vector<std::string>{}, simLine::irda);
        ASSERT_TRUE(sim->waitForAir());
        air = std::make_unique<scopedIrdaAir>(sim->air);
        frame->connectResult = ID_CONNECT_IRDA;
        frame->portName.clear();
    }
    std::string dumpAfterwards()
    {
        EXPECT_EQ(sim->terminate(), 0);
        return sim->dumpText();
    }

    ScopedTimeZone zone{"UTC"};
    SetupWindow* page = frame->setupPage;
    devLink* crane = craneWithSettings();
    std::unique_ptr<simProcess> sim;
    std::unique_ptr<scopedComPort> port;
    std::unique_ptr<scopedIrdaAir> air;
};

TEST_F(SettingsPage, LongValuesShowWholeAndAnUnchangedUpdateWritesWhatTheRecorderCanHold)
{
    scenarioFile scenario(collectorWithLongValues);
    connectSimulator({"--scenario", scenario.path});
    frame->clearCranes();
    crane = nullptr;
    {
        comm link(reportLog::status, reportLog::error);
        ASSERT_TRUE(link.openSerial("COM1", {}));
        ASSERT_TRUE(readDevice(link, frame->cranes, computeRecorderEpoch(), reportLog::status, reportLog::error));
    }
    frame->showCranes();
    EXPECT_EQ(text(page->regNoField), ui("КР-1234567"));
    EXPECT_EQ(text(page->capacityField), "1280");

    std::vector<wxString> asked;
    const auto escape = [&asked](wxDialog* dialog) {
        asked = labels(dialog);
        EXPECT_TRUE(pressKey(dialog, WXK_ESCAPE, [dialog] { return !dialog->IsModal(); }));
        if (dialog->IsModal())
            dialog->EndModal(wxID_NO);
    };
    ModalScript script({escape, confirmWrite, closeCompletion});
    click(page, ID_UPDATE_RECORDER);
    ASSERT_EQ(script.played(), 1u) << "nothing after the question is declined";
    EXPECT_TRUE(has(asked, "Устройство \"VELM0001\", последовательный порт COM1"));
    EXPECT_TRUE(has(asked, "Внимание: подключен накопитель данных, а не регистратор параметров"));
    EXPECT_EQ(row(asked, "Регистрационный номер крана"), std::make_pair(wxString("OLD-0001"), ui("КР-12345")));
    EXPECT_EQ(row(asked, "Номинальная грузоподъемность крана, т"), std::make_pair(wxString("1280"), wxString("1280")));
    EXPECT_EQ(row(asked, "Уровень срабатывания ОГП"), std::make_pair(wxString("110%"), wxString("110%")));

    click(page, ID_UPDATE_RECORDER);
    EXPECT_EQ(script.played(), 3u);
    EXPECT_EQ(errorCount(), 0u);
    const std::string dump = dumpAfterwards();
    EXPECT_EQ(dump.find("\nwrite 0 0000 "), dump.rfind("\nwrite 0 0000 ")) << "the declined update wrote nothing";
    // The first 8 characters of the number in Windows-1251, the serial number kept.
    EXPECT_NE(dump.find("\nmemory 0 0000 CA D0 2D 31 32 33 34 35 53 2D 31 00 00 00 00 00\n"), std::string::npos)
        << dump;
    EXPECT_NE(dump.find("\nwrite 0 0028 FF\n"), std::string::npos) << "1280 t at byte 40";
    EXPECT_EQ(dump.find("\nset-clock none"), std::string::npos);
}

// Typed as the user types, into the fields of the page on screen.
TEST_F(SettingsPage, TypingStopsAtEachLimitAndNumbersTheRecorderCannotHoldAreRefused)
{
    connectSimulator({});
    frame->notebook->SetSelection(frame->notebook->FindPage(page));
    const struct {
        wxTextCtrl* field;
        const char* typed;
        const char* kept;
    } typing[] = {
        {page->regNoField, "AB-4567890", "AB-45678"}, {page->serNoField, "123456789", "12345678"},
        {page->invNoField, "INV000017", "INV00001"},  {page->capacityField, "12805", "1280"},
        {page->serviceLifeField, "250", "25"},        {page->fullCodeField, "9999", "999"},
        {page->zeroCodeField, "3000", "300"},
    };
    for (const auto& t : typing) {
        typeInto(t.field, t.typed);
        EXPECT_EQ(text(t.field), t.kept);
    }
    ModalScript noDialog;
    click(page, ID_UPDATE_RECORDER);
    ASSERT_EQ(errorCount(), 2u);
    const auto& log = RecordingLog::messages();
    EXPECT_EQ(log[log.size() - 2].second,
              ui("Неверное значение в поле 'Сумма: код АЦП для нагрузки 100%'\nКод АЦП — число от 0 до 255"));
    EXPECT_EQ(log.back().second,
              ui("Неверное значение в поле 'Сумма: код АЦП для нагрузки 0%'\nКод АЦП — число от 0 до 255"));

    typeInto(page->fullCodeField, "200");
    typeInto(page->zeroCodeField, "200");
    typeInto(page->capacityField, "135");
    click(page, ID_UPDATE_RECORDER);
    ASSERT_EQ(errorCount(), 4u);
    EXPECT_EQ(log[log.size() - 2].second,
              ui("Неверное значение в поле 'Номинальная грузоподъемность крана'\n"
                 "Свыше 127 т — кратные 10 т, до 1280 т"));
    EXPECT_EQ(log.back().second, ui("Код АЦП для нагрузки 0% должен быть меньше кода АЦП для нагрузки 100%"));
    EXPECT_EQ(dumpAfterwards().find("\nwrite "), std::string::npos);
}

TEST_F(SettingsPage, ShowsTheSelectedCraneAndEmptiesWithTheCranes)
{
    EXPECT_EQ(text(page->regNoField), ui("РК-7"));
    EXPECT_EQ(text(page->serNoField), "00451");
    EXPECT_EQ(text(page->invNoField), "INV00017");
    EXPECT_EQ(text(page->regiSinceFields[0]) + "." + text(page->regiSinceFields[1]) + "." +
                  text(page->regiSinceFields[2]),
              "13.9.2020");
    EXPECT_EQ(text(page->workSinceFields[0]) + "." + text(page->workSinceFields[1]) + "." +
                  text(page->workSinceFields[2]),
              "1.1.2010");
    EXPECT_EQ(text(page->capacityField), "320");
    EXPECT_EQ(text(page->serviceLifeField), "25");
    EXPECT_EQ(page->groupChoice->GetStringSelection(), "A6");
    EXPECT_EQ(text(page->zeroCodeField), "12");
    EXPECT_EQ(text(page->fullCodeField), "210");
    EXPECT_EQ(page->tripChoice->GetStringSelection(), "105%");
    EXPECT_EQ(page->resetChoice->GetStringSelection(), " 95%");

    ASSERT_EQ(page->groupChoice->GetCount(), 8u);
    EXPECT_EQ(page->groupChoice->GetString(0), "A1");
    for (wxComboBox* levels : {page->tripChoice, page->resetChoice}) {
        ASSERT_EQ(levels->GetCount(), 127u);
        EXPECT_EQ(levels->GetString(0), "  1%");
        EXPECT_EQ(levels->GetString(126), "127%");
    }
    for (wxTextCtrl* dateField : {page->regiSinceFields[0], page->workSinceFields[2]})
        EXPECT_FALSE(dateField->IsEditable());
    // The update text in its large font is shown whole.
    bool updateTextShown = false;
    for (wxWindow* child : page->GetChildren())
        if (wxStaticText* label = wxDynamicCast(child, wxStaticText))
            if (label->GetLabel() == ui("Обновить информацию в РП и синхронизировать время")) {
                EXPECT_EQ(label->GetFont().GetPointSize(), 14);
                EXPECT_GE(label->GetSize().x, label->GetTextExtent(label->GetLabel()).x);
                updateTextShown = true;
            }
    EXPECT_TRUE(updateTextShown);

    // Numbers a list has no item for leave it without selection.
    devLink* other = craneWithSettings();
    other->workMaxGrp = 0;
    other->ogpH = 200;
    frame->clearCranes();
    crane = nullptr;
    frame->cranes.pushBack(other);
    frame->showCranes();
    for (wxComboBox* choice : {page->groupChoice, page->tripChoice}) {
        EXPECT_EQ(choice->GetSelection(), wxNOT_FOUND);
        EXPECT_TRUE(choice->GetValue().empty()) << "nothing of the former crane is shown";
    }
    EXPECT_EQ(page->resetChoice->GetStringSelection(), " 95%");

    frame->clearCranes();
    EXPECT_TRUE(text(page->regNoField).empty());
    EXPECT_TRUE(text(page->regiSinceFields[2]).empty());
    EXPECT_TRUE(text(page->fullCodeField).empty());
    EXPECT_EQ(page->resetChoice->GetSelection(), wxNOT_FOUND);
    EXPECT_TRUE(page->resetChoice->GetValue().empty());
}

TEST_F(SettingsPage, DatePickersChangeTheCraneAtOnce)
{
    wxTEST_DIALOG(click(page, ID_PICK_REGI_SINCE), pickingDate(wxDateTime(20, wxDateTime::Apr, 2021), wxID_YES));
    EXPECT_EQ(crane->regiSince, wxDateTime(20, wxDateTime::Apr, 2021).GetTicks());
    EXPECT_EQ(text(page->regiSinceFields[0]), "20");
    EXPECT_EQ(text(page->regiSinceFields[1]), "4");
    EXPECT_EQ(text(page->regiSinceFields[2]), "2021");

    wxTEST_DIALOG(click(page, ID_PICK_WORK_SINCE), pickingDate(wxDateTime(2, wxDateTime::Feb, 2003), wxID_NO));
    EXPECT_EQ(crane->workSince, 1262322000) << "a refused choice changes nothing";
    EXPECT_EQ(text(page->workSinceFields[2]), "2010");
    wxTEST_DIALOG(click(page, ID_PICK_WORK_SINCE), pickingDate(wxDateTime(2, wxDateTime::Feb, 2003), wxID_CANCEL));
    EXPECT_EQ(crane->workSince, 1262322000);

    frame->clearCranes();
    crane = nullptr;
    ModalScript noDialog;
    click(page, ID_PICK_REGI_SINCE);
    click(page, ID_PICK_WORK_SINCE);
}

TEST_F(SettingsPage, CodeButtonsWithoutAConnectionPutZero)
{
    ModalScript noDialog;
    click(page, ID_READ_ZERO_CODE);
    click(page, ID_READ_FULL_CODE);
    EXPECT_EQ(text(page->zeroCodeField), "0");
    EXPECT_EQ(text(page->fullCodeField), "0");
    EXPECT_TRUE(RecordingLog::messages().empty());
}

TEST_F(SettingsPage, CodeButtonsReadTheLiveLoadCode)
{
    connectSimulator({"--load", "77", "--fault", "ReadLoad:length@1"});
    click(page, ID_READ_FULL_CODE);
    EXPECT_EQ(text(page->fullCodeField), "0");
    ASSERT_FALSE(RecordingLog::messages().empty());
    EXPECT_EQ(RecordingLog::messages().back().second, ui("Ошибка при чтении текущей нагрузки"));
    click(page, ID_READ_ZERO_CODE);
    EXPECT_EQ(text(page->zeroCodeField), "77");
    click(page, ID_READ_FULL_CODE);
    EXPECT_EQ(text(page->fullCodeField), "77");
}

TEST_F(SettingsPage, UpdateWritesWhatThePageShowsAndSetsTheClock)
{
    connectSimulator({});
    page->regNoField->ChangeValue(ui("КР-9"));
    page->capacityField->ChangeValue("25");
    page->tripChoice->SetSelection(109);
    ModalScript script({confirmWrite, closeCompletion});
    click(page, ID_UPDATE_RECORDER);
    EXPECT_EQ(script.played(), 2u);
    EXPECT_EQ(errorCount(), 0u);
    ASSERT_FALSE(RecordingLog::messages().empty());
    EXPECT_EQ(RecordingLog::messages().back().second, ui("Обновляется память РП по адресу $003F"));

    const std::string dump = dumpAfterwards();
    EXPECT_NE(dump.find("\nmemory 0 0000 CA D0 2D 39 00 00 00 00 30 30 34 35 31 00 00 00\n"), std::string::npos)
        << dump;
    // The installation date, codes 12 and 210, 25 t, 25 years, A6, limiter 110 % and 95 %.
    EXPECT_NE(dump.find("\nmemory 0 0020 1A 0C 07 0D 09 78 D2 D2 19 2E FE 07 80 19 06 0C\n"), std::string::npos)
        << dump;
    EXPECT_NE(dump.find("\nmemory 0 0030 C6 0C C6 6E 5F 00 00 00 00 00 00 00 00 00 "), std::string::npos)
        << dump;
    EXPECT_EQ(dump.find("\nset-clock none"), std::string::npos);
}

TEST_F(SettingsPage, StrayInputDuringTheUpdateCannotAnswerTheCompletionMessage)
{
    connectSimulator({"--baud", "9600"});
    // While the block is written the user clicks the tab of the graphs and presses Escape.
    bool busy = false;
    const OnStatus hands("Обновляется память РП по адресу $0010", [this, &busy] {
        busy = frame->GetCursor().IsOk() && !frame->IsEnabled();
        clickGraphsTabAndPressEscape(frame);
    });
    ModalScript script({confirmWrite, messageOutlivingStrayInput(frame, "Обновление завершено")});
    click(page, ID_UPDATE_RECORDER);
    EXPECT_EQ(script.played(), 2u);
    EXPECT_EQ(errorCount(), 0u);
    EXPECT_TRUE(busy) << "a busy cursor over the window, which takes no input";
    EXPECT_TRUE(frame->IsEnabled());
    EXPECT_FALSE(frame->GetCursor().IsOk());
    EXPECT_NE(dumpAfterwards().find("\nwrite 0 003F "), std::string::npos) << "all 64 bytes written";
}

TEST_F(SettingsPage, UpdateOverInfraredWritesTheBlockAndSetsTheClock)
{
    connectInfrared();
    page->capacityField->ChangeValue("25");
    ModalScript script({confirmWrite, closeCompletion});
    click(page, ID_UPDATE_RECORDER);
    EXPECT_EQ(script.played(), 2u);
    EXPECT_EQ(errorCount(), 0u);

    const std::string dump = dumpAfterwards();
    EXPECT_NE(dump.find("\nirda-connect "), std::string::npos) << dump;
    EXPECT_NE(dump.find("\nwrite 0 0028 19\n"), std::string::npos) << "25 t at byte 40: " << dump;
    EXPECT_NE(dump.find("\nwrite 0 003F "), std::string::npos) << "all 64 bytes written";
    EXPECT_EQ(dump.find("\nset-clock none"), std::string::npos);
}

TEST_F(SettingsPage, UpdateWithoutAConnectionDoesNothingAtAll)
{
    ModalScript noDialog;
    click(page, ID_UPDATE_RECORDER);
    EXPECT_TRUE(RecordingLog::messages().empty());
}

TEST_F(SettingsPage, FailuresShowNoCompletionMessage)
{
    connectSimulator({"--fault", "WriteByte#3:length=0"});
    ModalScript script({confirmWrite});
    page->invNoField->ChangeValue(wxString::FromUTF8("Kr\xC3\xA4n"));   // no Windows-1251 form
    click(page, ID_UPDATE_RECORDER);
    ASSERT_EQ(errorCount(), 1u);
    EXPECT_EQ(RecordingLog::messages().back().second,
              ui("Неверное значение в поле 'Инвентаризационный номер крана'"));

    page->invNoField->ChangeValue("INV-2");
    click(page, ID_UPDATE_RECORDER);
    ASSERT_EQ(errorCount(), 2u);
    EXPECT_EQ(RecordingLog::messages().back().second,
              ui("Ошибка при записи байта по адресу $0003 - неверный ответ от устройства (пакет длиной 7 байт)"));

    const std::string dump = dumpAfterwards();
    EXPECT_EQ(dump.find("\nwrite 0 0000 "), dump.rfind("\nwrite 0 0000 ")) << "the first update wrote nothing";
    EXPECT_NE(dump.find("\nwrite 0 0003 "), std::string::npos);
    EXPECT_EQ(dump.find("\nwrite 0 0004 "), std::string::npos);
    EXPECT_NE(dump.find("\nset-clock none"), std::string::npos);
}

}  // namespace
