// Lets the user pick a date on a calendar: wxID_YES with the date in calendar, or wxID_NO (also
// Escape).
#pragma once

#include <wx/dialog.h>

class wxCalendarCtrlBase;
class wxCalendarEvent;
class wxDateTime;

enum { ID_CALENDAR = 500 };

class CalDialog : public wxDialog {
public:
    CalDialog(wxWindow* parent, const wxDateTime& date);

    // The caller reads the chosen date from here (GetDate) after wxID_YES.
    wxCalendarCtrlBase* calendar;

private:
    void OnChoose(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);
    void OnDoubleClick(wxCalendarEvent& event);

    wxDECLARE_EVENT_TABLE();
};
