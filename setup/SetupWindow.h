// The settings page: the current crane's recorder settings for editing and writing back.
#pragma once

#include <cstdint>

#include "setup/settingsBlock.h"
#include "view/PrintPanel.h"

class devLink;
class wxTextCtrl;

// The page's buttons.
enum {
    ID_PICK_REGI_SINCE = 500,
    ID_PICK_WORK_SINCE = 501,
    ID_READ_ZERO_CODE = 506,
    ID_READ_FULL_CODE = 511,
    ID_UPDATE_RECORDER = 512,
};

class SetupWindow : public PrintPanel {
public:
    SetupWindow(wxWindow* parent, wxComboBox* craneSelector);

    // The settings page has nothing to print.
    void Print() override {}
    void PageSetup() override {}
    void Preview() override {}

    // Fills the page from the crane selected in the selector; empties it while none is selected.
    void refresh();

    // The live ADC code of the load sensor, read over a link of its own; 0 when no crane is
    // selected, no connection has been chosen yet or anything fails.
    uint8_t readCurrentCode();

    wxTextCtrl* regNoField;
    wxTextCtrl* serNoField;
    wxTextCtrl* invNoField;
    wxTextCtrl* regiSinceFields[3];   // day, month, year
    wxTextCtrl* workSinceFields[3];
    wxTextCtrl* capacityField;
    wxTextCtrl* serviceLifeField;
    wxComboBox* groupChoice;
    wxTextCtrl* zeroCodeField;
    wxTextCtrl* fullCodeField;
    wxComboBox* tripChoice;
    wxComboBox* resetChoice;

private:
    void pickRegiSince(wxCommandEvent& event);
    void pickWorkSince(wxCommandEvent& event);
    void readZeroCode(wxCommandEvent& event);
    void readFullCode(wxCommandEvent& event);
    void updateRecorder(wxCommandEvent& event);

    // The fields as typed and the crane's dates, for the settings block.
    settingsFields fields(const devLink& crane) const;
    // Lets the user pick the date in time on the calendar; the fields show the date taken.
    void pickDate(int32_t& time, wxTextCtrl* const dateFields[3]);

    wxDECLARE_EVENT_TABLE();
};
