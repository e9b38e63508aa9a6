#include "dialogs/ProgressDialog.h"

#include <wx/gauge.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/blockedInput.h"
#include "app/uiText.h"
#include "dialogs/dialogParts.h"

namespace {

constexpr int barRange = 1000;

wxString countText(const char* format, unsigned index, unsigned count)
{
    return count ? wxString::Format(ui(format), index, count) : wxString();
}

}  // namespace

wxBEGIN_EVENT_TABLE(ProgressDialog, wxDialog)
    EVT_BUTTON(wxID_ABORT, ProgressDialog::OnStop)
    EVT_CLOSE(ProgressDialog::OnClose)
    EVT_CHAR_HOOK(ProgressDialog::OnKey)
wxEND_EVENT_TABLE()

ProgressDialog::ProgressDialog(wxWindow* parent, const wxBitmap& picture)
    : wxDialog(parent, wxID_ANY, ui("Считывание данных"), wxDefaultPosition, wxSize(440, 192), wxCAPTION)
{
    const wxFont font = labelFont(12);
    craneLine = new wxStaticText(this, wxID_ANY, ui("Соединение с устройством..."));
    craneLine->SetFont(font);
    graphLine = new wxStaticText(this, wxID_ANY, wxString());
    graphLine->SetFont(font);
    bar = new wxGauge(this, wxID_ANY, barRange);

    wxBoxSizer* column = new wxBoxSizer(wxVERTICAL);
    column->Add(160, 8, 1, wxEXPAND);
    column->Add(craneLine, 0, wxEXPAND);
    column->Add(graphLine, 0, wxEXPAND);
    column->Add(160, 8, 1, wxEXPAND);
    column->Add(bar, 0, wxEXPAND | wxRIGHT, 8);
    column->Add(160, 8, 1, wxEXPAND);
    column->Add(newButtonRow(this, wxID_ABORT, "bmps/redcross.32.png", "Прервать считывание", font), 0, 0);
    column->Add(160, 8, 0, wxEXPAND);
    stopButton = FindWindow(wxID_ABORT);

    wxBoxSizer* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(new wxStaticBitmap(this, wxID_ANY, picture), 0, wxALIGN_CENTER_VERTICAL);
    top->Add(8, 160, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(column, 1, wxEXPAND);
    layOut(this, top);

    CentreOnParent();
    Show();
    held = std::make_unique<BlockedInput>(parent, this);
}

ProgressDialog::~ProgressDialog() = default;

void ProgressDialog::show(const readoutProgress& progress)
{
    if (stop)
        return;
    craneLine->SetLabel(countText("Кран %u из %u", progress.crane, progress.cranes));
    graphLine->SetLabel(countText("График %u из %u", progress.graph, progress.graphs));
    // The cranes before this one are done, and of this one the graphs before this one.
    double done = 0;
    if (progress.cranes && progress.crane) {
        const double ofCrane =
            progress.graphs && progress.graph ? double(progress.graph - 1) / progress.graphs : 0;
        done = (progress.crane - 1 + ofCrane) / progress.cranes;
    }
    bar->SetValue(static_cast<int>(done * barRange));
    BlockedInput::takeEvents();
}

bool ProgressDialog::stopRequested()
{
    BlockedInput::takeEvents();
    return stop;
}

void ProgressDialog::end()
{
    held.reset();
    Destroy();
}

void ProgressDialog::OnStop(wxCommandEvent&)
{
    stop = true;
    stopButton->Disable();
    craneLine->SetLabel(ui("Считывание прерывается..."));
    graphLine->SetLabel(wxString());
}

void ProgressDialog::OnClose(wxCloseEvent& event)
{
    if (event.CanVeto())
        event.Veto();
}

// Keys stop nothing: an Escape or Enter meant for another window must not end the readout. The
// readout is stopped with the button, by the mouse.
void ProgressDialog::OnKey(wxKeyEvent&) {}
