// The print preview window of both printable pages.
#pragma once

#include <wx/string.h>

class wxPrintData;
class wxPrintout;

// Previews the printout (the second one prints from the preview) in a frame of its own, centred
// on the screen: tall enough to read a page and zoomed so that the whole page shows. The frame
// owns the preview and both printouts and lives until it is closed. A preview that is not usable
// is discarded, printouts and all, without a message; then the result is false.
bool showPreview(wxPrintout* preview, wxPrintout* printing, const wxPrintData& printData,
                 const wxString& title);
