#include "dialogs/dialogParts.h"

#include <algorithm>

#include <wx/arrstr.h>
#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/stattext.h>

#include "app/imageWithMask.h"
#include "app/uiText.h"

wxFont labelFont(int points)
{
    return wxFont(points, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL, false, "Times");
}

wxStaticText* newLabel(wxWindow* parent, const char* text, const wxFont& font)
{
    wxStaticText* label = new wxStaticText(parent, wxID_ANY, ui(text));
    label->SetFont(font);
    // GTK still measures the label in the font it was created with: size it for its own font,
    // line by line.
    wxSize needed;
    for (const wxString& line : wxSplit(label->GetLabel(), '\n', '\0')) {
        const wxSize lineSize = label->GetTextExtent(line.empty() ? wxString(" ") : line);
        needed.x = std::max(needed.x, lineSize.x);
        needed.y += lineSize.y;
    }
    const wxSize best = label->GetBestSize();
    label->SetMinSize(wxSize(std::max(best.x, needed.x), std::max(best.y, needed.y)));
    return label;
}

wxBitmapButton* newPictureButton(wxWindow* parent, int id, const char* picture)
{
    return new wxBitmapButton(parent, id, loadPng(picture), wxDefaultPosition, wxDefaultSize,
                              wxBU_AUTODRAW);
}

void addButtonLabel(wxBoxSizer* row, wxWindow* parent, const char* text, const wxFont& font)
{
    row->Add(8, 32, 0, wxALIGN_CENTER_VERTICAL);
    row->Add(newLabel(parent, text, font), 0, wxALIGN_CENTER_VERTICAL);
}

wxBoxSizer* newButtonRow(wxWindow* parent, int id, const char* picture, const char* text,
                         const wxFont& font)
{
    wxBoxSizer* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(newPictureButton(parent, id, picture), 0, wxALIGN_CENTER_VERTICAL);
    addButtonLabel(row, parent, text, font);
    return row;
}

void layOut(wxWindow* dialog, wxSizer* top)
{
    dialog->SetAutoLayout(true);
    dialog->SetSizer(top);
    // The given size, made wider where the labels need more room: fonts of the same point size
    // come out wider here than on the platform the sizes were chosen for. (The height stays: the
    // sizers' minimum height is inflated by the spacers' proportions.)
    const int needed = top->GetMinSize().x;
    const wxSize given = dialog->GetClientSize();
    if (needed > given.x)
        dialog->SetClientSize(needed, given.y);
    dialog->Layout();
}

void makeDefault(wxWindow* dialog, int id)
{
    if (wxButton* button = wxDynamicCast(dialog->FindWindow(id), wxButton))
        button->SetDefault();
}

void cancelOnEscape(wxWindow* dialog, int id)
{
    dialog->Bind(wxEVT_CHAR_HOOK, [dialog, id](wxKeyEvent& event) {
        wxWindow* button = dialog->FindWindow(id);
        if (event.GetKeyCode() != WXK_ESCAPE || event.HasAnyModifiers() || !button) {
            event.Skip();
            return;
        }
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(button);
        button->ProcessWindowEvent(click);
    });
}
