#include "setup/SetupWindow.h"

#include <wx/combobox.h>

SetupWindow::SetupWindow(wxWindow* parent, wxComboBox* craneChoice)
    : PrintPanel(parent), craneChoice(craneChoice)
{
    refresh();
}

void SetupWindow::refresh()
{
    if (craneChoice->GetSelection() == wxNOT_FOUND)
        return;
}
