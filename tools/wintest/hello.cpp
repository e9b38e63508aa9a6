// A window with the wx parts the program uses: a tool bar picture loaded from a PNG file, a
// calendar, drawing through a graphics context, an HTML page in Cyrillic, the status bar; the
// HTML printing, help (with the ZIP file system) and configuration classes are linked in too.
#include <wx/wx.h>

#include <wx/calctrl.h>
#include <wx/config.h>
#include <wx/dcgraph.h>
#include <wx/fs_zip.h>
#include <wx/html/helpctrl.h>
#include <wx/html/htmlwin.h>
#include <wx/html/htmprint.h>

namespace {

const char* const page = u8R"(<html><body>
<h3>Протокол условий эксплуатации крана</h3>
<table border="1" cellpadding="3">
<tr><td>Режим нагружения</td><td>Q2, Kp = 0,214</td></tr>
<tr><td>Класс использования</td><td>U4</td></tr>
<tr><td>Группа классификации крана</td><td>A4</td></tr>
</table>
<p>Съешь же ещё этих мягких французских булок, да выпей чаю.</p>
</body></html>)";

class DrawingPanel : public wxPanel {
public:
    explicit DrawingPanel(wxWindow* parent) : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxSize(220, 160))
    {
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxPaintDC paintDc(this);
            wxGCDC dc(paintDc);
            dc.SetBrush(wxBrush(wxColour(70, 110, 200)));
            dc.SetPen(wxPen(*wxBLACK, 2));
            dc.DrawEllipse(10, 10, 200, 100);
            dc.DrawText(wxString::FromUTF8(u8"wxGCDC: график нагрузки"), 14, 125);
        });
    }
};

class HelloFrame : public wxFrame {
public:
    HelloFrame() : wxFrame(nullptr, wxID_ANY, "Brennix wintest", wxDefaultPosition, wxSize(760, 560))
    {
        wxToolBar* tools = CreateToolBar();
        const wxBitmap picture("con_com.32.png", wxBITMAP_TYPE_PNG);
        if (!picture.IsOk())
            wxLogError("con_com.32.png did not load");
        tools->AddTool(wxID_OPEN, wxString::FromUTF8(u8"Считать"), picture);
        tools->Realize();

        wxPanel* panel = new wxPanel(this);
        wxBoxSizer* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(new wxCalendarCtrl(panel, wxID_ANY), 0, wxALL, 5);
        row->Add(new DrawingPanel(panel), 0, wxALL, 5);
        wxHtmlWindow* html = new wxHtmlWindow(panel);
        html->SetPage(wxString::FromUTF8(page));
        wxBoxSizer* column = new wxBoxSizer(wxVERTICAL);
        column->Add(row);
        column->Add(html, 1, wxEXPAND | wxALL, 5);
        panel->SetSizer(column);

        CreateStatusBar();
        SetStatusText(wxString::FromUTF8(u8"Готово: ") + wxVERSION_STRING);
    }

private:
    wxHtmlEasyPrinting printing_;
    wxHtmlHelpController help_;
};

class HelloApp : public wxApp {
public:
    bool OnInit() override
    {
        wxImage::AddHandler(new wxPNGHandler);
        wxFileSystem::AddHandler(new wxZipFSHandler);
        wxConfigBase::Get()->Read("Com/Speed", 9600L);
        (new HelloFrame)->Show();
        return true;
    }
};

} // namespace

wxIMPLEMENT_APP(HelloApp);
