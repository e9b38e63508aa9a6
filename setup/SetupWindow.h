// The settings page: the current crane's recorder settings for editing and writing back.
#pragma once

#include "view/PrintPanel.h"

class wxComboBox;

class SetupWindow : public PrintPanel {
public:
    SetupWindow(wxWindow* parent, wxComboBox* craneChoice);

    // The settings page has nothing to print.
    void Print() override {}
    void PageSetup() override {}
    void Preview() override {}

    // Fills the page from the crane selected in the selector; nothing while none is selected.
    void refresh();

private:
    wxComboBox* craneChoice;
};
