#include "setup/SetupWindow.h"

#include <algorithm>
#include <climits>
#include <ctime>
#include <optional>
#include <string>

#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/calctrl.h>
#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/MainFrame.h"
#include "app/blockedInput.h"
#include "app/guiLog.h"
#include "app/imageWithMask.h"
#include "app/uiText.h"
#include "data/devLink.h"
#include "dialogs/CalDialog.h"
#include "dialogs/ConfirmUpdateDialog.h"
#include "dialogs/ConnectDialog.h"
#include "dialogs/InfoDialog.h"
#include "dialogs/dialogParts.h"
#include "link/comm.h"
#include "platform/localTime.h"
#include "setup/settingsRows.h"
#include "setup/settingsUpdate.h"

wxBEGIN_EVENT_TABLE(SetupWindow, PrintPanel)
    EVT_BUTTON(ID_PICK_REGI_SINCE, SetupWindow::pickRegiSince)
    EVT_BUTTON(ID_PICK_WORK_SINCE, SetupWindow::pickWorkSince)
    EVT_BUTTON(ID_READ_ZERO_CODE, SetupWindow::readZeroCode)
    EVT_BUTTON(ID_READ_FULL_CODE, SetupWindow::readFullCode)
    EVT_BUTTON(ID_UPDATE_RECORDER, SetupWindow::updateRecorder)
wxEND_EVENT_TABLE()

namespace {

// Typing limits of the fields.
constexpr int numberFieldLength = 8;
constexpr int capacityLength = 4;   // up to 1280 t
constexpr int serviceLifeLength = 2;
constexpr int codeLength = 3;
constexpr int groupCount = 8;       // A1..A8
constexpr int levelCount = 127;     // 1..127 %

// A control of at least the given width, wider where this toolkit needs more room to show the
// widest text it takes; the toolkit's own height.
template <class Control>
Control* sized(Control* control, int width, const char* widest)
{
    control->SetMinSize(wxSize(std::max(width, control->GetSizeFromText(widest).x), -1));
    return control;
}

wxTextCtrl* newField(wxWindow* parent, int width, int maxLength, const char* widest, long style = 0)
{
    wxTextCtrl* field = new wxTextCtrl(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, style);
    field->SetMaxLength(maxLength);
    return sized(field, width, widest);
}

wxComboBox* newChoice(wxWindow* parent, int width, const char* format, int count, const char* widest)
{
    wxArrayString items;
    for (int i = 1; i <= count; ++i)
        items.Add(wxString::Format(format, i));
    return sized(new wxComboBox(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, items,
                                wxCB_READONLY),
                 width, widest);
}

// A ">>" button as high as the field before it.
wxButton* newPickButton(wxWindow* parent, int id, const wxWindow* field)
{
    wxButton* button = new wxButton(parent, id, ">>", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    button->SetMinSize(wxSize(-1, field->GetBestSize().y));
    return button;
}

// A label and its control (a window or a row of them), both centred vertically.
template <class Control>
void addRow(wxFlexGridSizer* grid, wxWindow* parent, const char* label, Control* control)
{
    grid->Add(new wxStaticText(parent, wxID_ANY, ui(label) + ":"), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(control, 0, wxALIGN_CENTER_VERTICAL);
}

// Fields in a row with a ">>" button after them.
wxBoxSizer* rowWithButton(std::initializer_list<wxWindow*> fields, wxWindow* button)
{
    wxBoxSizer* row = new wxBoxSizer(wxHORIZONTAL);
    for (wxWindow* field : fields)
        row->Add(field, 0, wxALIGN_CENTER_VERTICAL);
    row->Add(button, 0, wxALIGN_CENTER_VERTICAL);
    return row;
}

wxFlexGridSizer* newGrid() { return new wxFlexGridSizer(2, 2, 8); }

void showDate(int32_t time, wxTextCtrl* const fields[3])
{
    std::tm local{};
    if (!localFields(time, local))
        return;
    const unsigned long parts[3] = {static_cast<unsigned long>(local.tm_mday),
                                    static_cast<unsigned long>(local.tm_mon + 1),
                                    static_cast<unsigned long>(local.tm_year + 1900)};
    for (int i = 0; i < 3; ++i)
        fields[i]->ChangeValue(wxString::Format("%lu", parts[i]));
}

// Shows the text whole, even where the crane holds more than the field's typing limit (the
// toolkit would drop a longer text altogether); typing then stops at the text's length.
void showWhole(wxTextCtrl* field, const wxString& text, int limit)
{
    field->SetMaxLength(0);   // none, while the text goes in
    field->ChangeValue(text);
    field->SetMaxLength(std::max(limit, static_cast<int>(text.length())));
}

// A selection of a list of count items from a stored number 1..count; none for any other.
void select(wxComboBox* choice, int number, int count)
{
    if (number >= 1 && number <= count) {
        choice->SetSelection(number - 1);
        return;
    }
    // GTK keeps showing the former item's text when the selection is merely taken away (a
    // read-only list of Windows shows none, and has no text of its own to change).
    choice->SetSelection(wxNOT_FOUND);
    if (!choice->GetValue().empty())
        choice->ChangeValue(wxString());
}

// The list's selection, or the index the crane's number would have where none is selected.
int selection(const wxComboBox* choice, int number)
{
    const int selected = choice->GetSelection();
    return selected != wxNOT_FOUND ? selected : number - 1;
}

std::string utf8(const wxTextCtrl* field) { return std::string(field->GetValue().utf8_str()); }

// The main window, whose last connection choice the page's exchanges use, when there is a
// crane to act for and a connection has been chosen; null otherwise.
const MainFrame* chosenConnection(wxWindow* page, const devLink* crane)
{
    const MainFrame* frame = dynamic_cast<const MainFrame*>(wxGetTopLevelParent(page));
    return crane && frame && frame->connectResult != wxID_NO ? frame : nullptr;
}

}  // namespace

SetupWindow::SetupWindow(wxWindow* parent, wxComboBox* craneSelector)
    : PrintPanel(parent, craneSelector)
{
    // The widths are those of the original layout, grown where this toolkit needs more room;
    // the left column is as wide as its widest control.
    regNoField = newField(this, 88, numberFieldLength, "WWWWWWWW");
    const int leftWidth = regNoField->GetMinSize().x;
    serNoField = newField(this, leftWidth, numberFieldLength, "");
    invNoField = newField(this, leftWidth, numberFieldLength, "");
    for (wxTextCtrl** dateFields : {regiSinceFields, workSinceFields}) {
        dateFields[0] = newField(this, 24, 2, "00", wxTE_READONLY);
        dateFields[1] = newField(this, 24, 2, "00", wxTE_READONLY);
        dateFields[2] = newField(this, 40, 4, "0000", wxTE_READONLY);
    }
    capacityField = newField(this, leftWidth, capacityLength, "");
    serviceLifeField = newField(this, leftWidth, serviceLifeLength, "");
    groupChoice = newChoice(this, leftWidth, "A%d", groupCount, "A8");
    zeroCodeField = newField(this, 50, codeLength, "000");
    fullCodeField = newField(this, 50, codeLength, "000");
    tripChoice = newChoice(this, 50, "%3d%%", levelCount, "127%");
    resetChoice = newChoice(this, 50, "%3d%%", levelCount, "127%");

    wxFlexGridSizer* left = newGrid();
    addRow(left, this, settingsLabel::regiSince,
           rowWithButton({regiSinceFields[0], regiSinceFields[1], regiSinceFields[2]},
                         newPickButton(this, ID_PICK_REGI_SINCE, regiSinceFields[2])));
    addRow(left, this, settingsLabel::workSince,
           rowWithButton({workSinceFields[0], workSinceFields[1], workSinceFields[2]},
                         newPickButton(this, ID_PICK_WORK_SINCE, workSinceFields[2])));
    addRow(left, this, settingsLabel::regNo, regNoField);
    addRow(left, this, settingsLabel::serNo, serNoField);
    addRow(left, this, settingsLabel::invNo, invNoField);
    addRow(left, this, settingsLabel::capacity, capacityField);
    addRow(left, this, settingsLabel::serviceLife, serviceLifeField);
    addRow(left, this, settingsLabel::group, groupChoice);

    wxFlexGridSizer* right = newGrid();
    addRow(right, this, settingsLabel::zeroCode,
           rowWithButton({zeroCodeField}, newPickButton(this, ID_READ_ZERO_CODE, zeroCodeField)));
    addRow(right, this, settingsLabel::fullCode,
           rowWithButton({fullCodeField}, newPickButton(this, ID_READ_FULL_CODE, fullCodeField)));
    addRow(right, this, settingsLabel::tripLevel, tripChoice);
    addRow(right, this, settingsLabel::resetLevel, resetChoice);

    wxBoxSizer* grids = new wxBoxSizer(wxHORIZONTAL);
    grids->Add(left, 0, wxALIGN_CENTER_VERTICAL);
    grids->Add(16, 128, 0, wxALIGN_CENTER_VERTICAL);
    grids->Add(right, 0, wxALIGN_CENTER_VERTICAL);

    wxBoxSizer* update = new wxBoxSizer(wxHORIZONTAL);
    update->Add(newPictureButton(this, ID_UPDATE_RECORDER, "bmps/greencheck.32.png"), 0, wxALIGN_CENTER_VERTICAL);
    update->Add(16, 32, 0, wxALIGN_CENTER_VERTICAL);
    update->Add(newLabel(this, "Обновить информацию в РП и синхронизировать время", labelFont(14)), 0,
                wxALIGN_CENTER_VERTICAL);

    wxBoxSizer* page = new wxBoxSizer(wxVERTICAL);
    page->AddStretchSpacer();
    page->Add(grids, 0, wxALIGN_CENTER_HORIZONTAL);
    page->Add(128, 16, 0, wxALIGN_CENTER_HORIZONTAL);
    page->Add(update, 0, wxALIGN_CENTER_HORIZONTAL);
    page->AddStretchSpacer();
    SetSizer(page);
    Layout();
    refresh();
}

void SetupWindow::refresh()
{
    const devLink* crane = selectedCrane();
    if (!crane) {
        // No crane held: nothing of a former one stays on the page.
        for (wxTextCtrl* field : {regNoField, serNoField, invNoField, regiSinceFields[0], regiSinceFields[1],
                                  regiSinceFields[2], workSinceFields[0], workSinceFields[1], workSinceFields[2],
                                  capacityField, serviceLifeField, zeroCodeField, fullCodeField})
            field->ChangeValue(wxString());
        for (wxComboBox* choice : {groupChoice, tripChoice, resetChoice})
            select(choice, 0, 0);
        return;
    }
    showWhole(regNoField, craneText(crane->regNo), numberFieldLength);
    showWhole(serNoField, craneText(crane->serNo), numberFieldLength);
    showWhole(invNoField, craneText(crane->invNo), numberFieldLength);
    showDate(crane->regiSince, regiSinceFields);
    showDate(crane->workSince, workSinceFields);
    showWhole(serviceLifeField, wxString::Format("%d", crane->workMaxYears), serviceLifeLength);
    showWhole(capacityField, wxString::Format("%.0f", crane->maxWeight), capacityLength);
    select(groupChoice, crane->workMaxGrp, groupCount);
    showWhole(zeroCodeField, wxString::Format("%d", crane->adcZS), codeLength);
    showWhole(fullCodeField, wxString::Format("%d", crane->adcZS + crane->adcFZS), codeLength);
    select(tripChoice, crane->ogpH, levelCount);
    select(resetChoice, crane->ogpL, levelCount);
}

settingsFields SetupWindow::fields(const devLink& crane) const
{
    settingsFields f;
    f.regNo = utf8(regNoField);
    f.serNo = utf8(serNoField);
    f.invNo = utf8(invNoField);
    f.workSince = crane.workSince;
    f.regiSince = crane.regiSince;
    f.fullCode = utf8(fullCodeField);
    f.zeroCode = utf8(zeroCodeField);
    f.capacity = utf8(capacityField);
    f.serviceLife = utf8(serviceLifeField);
    // A list without selection holds a number it has no item for: the crane's, kept as it is.
    f.groupSelection = selection(groupChoice, crane.workMaxGrp);
    f.tripSelection = selection(tripChoice, crane.ogpH);
    f.resetSelection = selection(resetChoice, crane.ogpL);
    return f;
}

void SetupWindow::pickDate(int32_t& time, wxTextCtrl* const dateFields[3])
{
    CalDialog* dialog = new CalDialog(this, wxDateTime(static_cast<time_t>(time)));
    // Only dates that a crane's calendar time (32-bit seconds) can hold.
    dialog->calendar->SetDateRange(wxDateTime(static_cast<time_t>(INT32_MIN)),
                                   wxDateTime(static_cast<time_t>(INT32_MAX)));
    if (dialog->ShowModal() == wxID_YES) {
        time = static_cast<int32_t>(dialog->calendar->GetDate().GetTicks());
        showDate(time, dateFields);
    }
    dialog->Destroy();
}

void SetupWindow::pickRegiSince(wxCommandEvent&)
{
    if (devLink* crane = selectedCrane())
        pickDate(crane->regiSince, regiSinceFields);
}

void SetupWindow::pickWorkSince(wxCommandEvent&)
{
    if (devLink* crane = selectedCrane())
        pickDate(crane->workSince, workSinceFields);
}

uint8_t SetupWindow::readCurrentCode()
{
    const MainFrame* frame = chosenConnection(this, selectedCrane());
    if (!frame)
        return 0;
    const BlockedInput held(wxGetTopLevelParent(this));
    comm link(logStatus, logError);
    if (!openChosenLink(link, frame->connectResult, frame->portName))
        return 0;
    return readLoadCode(link, logError);
}

void SetupWindow::readZeroCode(wxCommandEvent&)
{
    zeroCodeField->ChangeValue(wxString::Format("%d", readCurrentCode()));
}

void SetupWindow::readFullCode(wxCommandEvent&)
{
    fullCodeField->ChangeValue(wxString::Format("%d", readCurrentCode()));
}

void SetupWindow::updateRecorder(wxCommandEvent&)
{
    const devLink* crane = selectedCrane();
    const MainFrame* frame = chosenConnection(this, crane);
    if (!frame)
        return;
    // The exchanges hold the input; the question before the write takes it.
    wxWindow* window = wxGetTopLevelParent(this);
    std::optional<BlockedInput> held(std::in_place, window);
    comm link(logStatus, logError);
    if (!openChosenLink(link, frame->connectResult, frame->portName))
        return;
    const auto confirm = [this, frame, window, &held](const settingsQuestion& question) {
        held.reset();
        ConfirmUpdateDialog* dialog = new ConfirmUpdateDialog(this, question, frame->connectResult, frame->portName);
        const bool confirmed = dialog->ShowModal() == wxID_YES;
        dialog->Destroy();
        held.emplace(window);
        return confirmed;
    };
    if (!writeSettings(link, fields(*crane), static_cast<int32_t>(std::time(nullptr)), logStatus, logError,
                       confirm))
        return;
    held.reset();
    InfoDialog* dialog = new InfoDialog(this, ui("Обновление завершено"),
                                        ui("Обновление настроек регистратора параметров успешно завершено"),
                                        imageWithMask(loadPng(connectionPicture(frame->connectResult))));
    dialog->ShowModal();
    dialog->Destroy();
}
