#include "dialogs/CalDialog.h"

#include <ctime>

#include <wx/bmpbuttn.h>
#include <wx/calctrl.h>
#include <wx/choice.h>
#include <wx/generic/calctrlg.h>

#include "app/uiText.h"
#include "dialogs/dialogParts.h"

namespace {

// A month's name as a list of months shows it ("Декабрь") where the C library knows one apart
// from its name within a date ("декабря", which the toolkit's calendar lists); empty elsewhere.
wxString standaloneMonthName(int month)
{
#ifdef __WXMSW__
    // Windows' C library knows no "%OB" (and may end the program on a format it does not know).
    (void)month;
    return wxString();
#else
    std::tm date{};
    date.tm_mon = month;
    date.tm_mday = 1;
    char name[64];
    const std::size_t length = std::strftime(name, sizeof name, "%OB", &date);
    return wxString(name, wxConvLibc, length);
#endif
}

void nameMonthsStandalone(wxGenericCalendarCtrl& calendar)
{
    wxChoice* months = wxDynamicCast(calendar.GetMonthControl(), wxChoice);
    for (unsigned month = 0; months && month < 12 && month < months->GetCount(); ++month) {
        const wxString name = standaloneMonthName(static_cast<int>(month));
        if (!name.empty())
            months->SetString(month, name);
    }
}

}  // namespace

wxBEGIN_EVENT_TABLE(CalDialog, wxDialog)
    EVT_BUTTON(wxID_YES, CalDialog::OnChoose)
    EVT_BUTTON(wxID_NO, CalDialog::OnCancel)
    EVT_CALENDAR(ID_CALENDAR, CalDialog::OnDoubleClick)
wxEND_EVENT_TABLE()

CalDialog::CalDialog(wxWindow* parent, const wxDateTime& date)
    : wxDialog(parent, wxID_ANY, ui("Выберите дату"), wxDefaultPosition, wxSize(360, 240),
               wxDEFAULT_DIALOG_STYLE)
{
    // The toolkit's own calendar on every platform: the native GTK one can neither start the
    // week on Monday nor mark the weekends.
    wxGenericCalendarCtrl* genericCalendar =
        new wxGenericCalendarCtrl(this, ID_CALENDAR, wxDefaultDateTime, wxDefaultPosition, wxDefaultSize,
                                  wxCAL_MONDAY_FIRST | wxCAL_SHOW_HOLIDAYS | wxRAISED_BORDER, "CalendarCtrl");
    nameMonthsStandalone(*genericCalendar);
    calendar = genericCalendar;
    calendar->SetDate(date);

    const wxFont font = labelFont(12);
    wxBoxSizer* buttons = newButtonRow(this, wxID_YES, "bmps/greencheck.32.png", "Выбрать дату", font);
    buttons->Add(32, 32, 0, wxALIGN_CENTER_VERTICAL);
    buttons->Add(newPictureButton(this, wxID_NO, "bmps/redcross.32.png"), 0, wxALIGN_CENTER_VERTICAL);
    addButtonLabel(buttons, this, "Отменить выбор", font);
    makeDefault(this, wxID_YES);
    cancelOnEscape(this, wxID_NO);

    wxBoxSizer* top = new wxBoxSizer(wxVERTICAL);
    top->Add(calendar, 0, wxALIGN_CENTER_HORIZONTAL);
    top->Add(buttons, 1, wxALIGN_RIGHT);
    layOut(this, top);
}

void CalDialog::OnChoose(wxCommandEvent&) { EndModal(wxID_YES); }
void CalDialog::OnCancel(wxCommandEvent&) { EndModal(wxID_NO); }
void CalDialog::OnDoubleClick(wxCalendarEvent&) { EndModal(wxID_YES); }
