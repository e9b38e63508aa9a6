// The readout's progress while it runs: which crane and which of its graphs are being read, a
// bar, and a button that stops the readout. While it is up the readout holds the input
// (BlockedInput): the other windows take none, and none can answer a dialog that follows.
#pragma once

#include <memory>

#include <wx/dialog.h>

#include "data/readout.h"

class wxButton;
class wxGauge;
class wxStaticText;
class BlockedInput;

class ProgressDialog : public wxDialog {
public:
    // Shows itself over parent at once, with the picture of the connection (shown as passed),
    // and lets the windows repaint: nothing of a dialog closed just before stays on the screen
    // while the readout waits for the device.
    ProgressDialog(wxWindow* parent, const wxBitmap& picture);
    ~ProgressDialog() override;

    void show(const readoutProgress& progress);
    // Whether the user has asked to stop; takes the input that has come first.
    bool stopRequested();
    // Discards the input still waiting, gives the windows back and destroys the dialog.
    void end();

private:
    void OnStop(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnKey(wxKeyEvent& event);
    wxStaticText* craneLine;
    wxStaticText* graphLine;
    wxGauge* bar;
    wxWindow* stopButton;
    std::unique_ptr<BlockedInput> held;
    bool stop = false;

    wxDECLARE_EVENT_TABLE();
};
