#include "app/blockedInput.h"

#include <wx/cursor.h>
#include <wx/event.h>
#include <wx/utils.h>
#include <wx/window.h>

#include "app/guiLog.h"

namespace {

int holding = 0;   // operations that hold the input now

}  // namespace

BlockedInput::BlockedInput(wxWindow* owner, wxWindow* open)
    : owner(owner),
      others(open)
{
    ++holding;
    owner->SetCursor(wxCursor(wxCURSOR_WAIT));
    takeEvents();
}

BlockedInput::~BlockedInput()
{
    // The windows are still disabled: what input has come goes nowhere.
    takeEvents();
    --holding;
    owner->SetCursor(wxNullCursor);
}

bool BlockedInput::active() { return holding > 0; }

void BlockedInput::takeEvents() { handleWaitingEvents(wxEVT_CATEGORY_UI | wxEVT_CATEGORY_USER_INPUT); }
