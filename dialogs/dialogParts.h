// The look the program's dialogs share: "Times" labels, picture buttons with a label beside
// them, a large picture on the left of a column.
#pragma once

#include <wx/font.h>
#include <wx/sizer.h>

class wxBitmapButton;
class wxStaticText;

// "Times", swiss family, normal style and weight, not underlined.
wxFont labelFont(int points);

wxStaticText* newLabel(wxWindow* parent, const char* text, const wxFont& font);

// A picture button in the auto-draw style, the picture used as loaded.
wxBitmapButton* newPictureButton(wxWindow* parent, int id, const char* picture);

// Adds a spacer 8 × 32 and the label after a button already in row, both centred vertically.
void addButtonLabel(wxBoxSizer* row, wxWindow* parent, const char* text, const wxFont& font);

// A row of a picture button, a spacer 8 × 32 and the label, all centred vertically.
wxBoxSizer* newButtonRow(wxWindow* parent, int id, const char* picture, const char* text,
                         const wxFont& font);

// Makes the dialog's button id its default button.
void makeDefault(wxWindow* dialog, int id);

// Escape answers as the dialog's cancelling button id does. The close box still ends the dialog
// with wxID_CANCEL, as the toolkit's own dialogs do.
void cancelOnEscape(wxWindow* dialog, int id);

// Sets the top sizer on the dialog with auto-layout and lays it out once, enlarging the dialog
// where its contents would otherwise be cut.
void layOut(wxWindow* dialog, wxSizer* top);
