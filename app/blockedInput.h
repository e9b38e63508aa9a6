// While an operation blocks the event loop (the readout, the settings page's exchanges with a
// device): the windows take no input, but for the operation's own dialog; the main window shows
// a busy cursor; and the input that arrives meanwhile is taken and goes nowhere. GTK holds back
// input while the loop is blocked and hands it out once the loop runs again, so otherwise a
// click or a key pressed during the operation would answer the dialog that follows it.
#pragma once

#include <wx/utils.h>

class wxWindow;

class BlockedInput {
public:
    // owner: the window that shows the busy cursor; open: a window that keeps taking input.
    explicit BlockedInput(wxWindow* owner, wxWindow* open = nullptr);
    // Takes the input still waiting, then gives the windows back.
    ~BlockedInput();
    BlockedInput(const BlockedInput&) = delete;
    BlockedInput& operator=(const BlockedInput&) = delete;

    // Whether an operation holds the input now.
    static bool active();
    // Lets the windows repaint and takes the input that has come.
    static void takeEvents();

private:
    wxWindow* owner;
    wxWindowDisabler others;   // every window but open
};
