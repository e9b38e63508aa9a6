#include "export/ExportDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/config.h>
#include <wx/filepicker.h>
#include <wx/radiobox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/uiText.h"

namespace {

// Keys of the remembered choices in the configuration store.
const char folderKey[] = "/Export/Folder";
const char allCranesKey[] = "/Export/AllCranes";
const char perGraphKey[] = "/Export/FilePerGraph";
const char summaryKey[] = "/Export/Summary";
const char decimalPointKey[] = "/Export/DecimalPoint";
const char pdfGraphsKey[] = "/Export/PdfGraphs";

wxRadioBox* radioBox(wxWindow* parent, const char* label, const char* first, const char* second,
                     bool secondChosen)
{
    const wxString choices[] = {ui(first), ui(second)};
    wxRadioBox* box = new wxRadioBox(parent, wxID_ANY, ui(label), wxDefaultPosition, wxDefaultSize,
                                     2, choices, 1, wxRA_SPECIFY_COLS);
    box->SetSelection(secondChosen ? 1 : 0);
    return box;
}

}  // namespace

ExportDialog::ExportDialog(wxWindow* parent, exportFormat format, const wxString& pdfName)
    : wxDialog(parent, wxID_ANY, format == exportFormat::csv ? ui("Экспорт в CSV") : ui("Сохранить в PDF")),
      format(format)
{
    const wxConfigBase* config = wxConfigBase::Get();
    wxBoxSizer* sizer = new wxBoxSizer(wxVERTICAL);
    const auto add = [sizer](wxWindow* control) { sizer->Add(control, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10); };

    cranes = radioBox(this, "Краны", "Выбранный кран", "Все краны", config->ReadBool(allCranesKey, false));
    add(cranes);
    if (format == exportFormat::csv) {
        layout = radioBox(this, "Отсчеты графиков", "Отдельный файл на каждый график",
                          "Один файл на кран (столбец «График»)", !config->ReadBool(perGraphKey, true));
        add(layout);
        decimal = radioBox(this, "Десятичный разделитель", "Запятая (9,125)", "Точка (9.125)",
                           config->ReadBool(decimalPointKey, false));
        add(decimal);
        summary = new wxCheckBox(this, wxID_ANY, ui("Сводная таблица кранов (сводка.csv)"));
        summary->SetValue(config->ReadBool(summaryKey, true));
        add(summary);
    } else {
        graphs = new wxCheckBox(this, wxID_ANY, ui("Со всеми графиками крана, каждый на своей странице"));
        graphs->SetValue(config->ReadBool(pdfGraphsKey, true));
        add(graphs);
        add(new wxStaticText(this, wxID_ANY, ui("Имя файла выбранного крана:")));
        name = new wxTextCtrl(this, wxID_ANY, pdfName);
        sizer->Add(name, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
        const auto nameUsed = [this]() { name->Enable(!allCranes()); };
        cranes->Bind(wxEVT_RADIOBOX, [nameUsed](wxCommandEvent&) { nameUsed(); });
        nameUsed();
    }
    add(new wxStaticText(this, wxID_ANY, ui("Папка:")));
    folderControl = new wxDirPickerCtrl(this, wxID_ANY, config->Read(folderKey, wxGetHomeDir()),
                                        ui("Выберите папку"), wxDefaultPosition, wxSize(420, -1),
                                        wxDIRP_USE_TEXTCTRL);
    sizer->Add(folderControl, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
    add(new wxStaticText(this, wxID_ANY,
                         ui("Файлы называются по номеру крана и дате считывания.\n"
                            "Записываются все файлы или ни одного.")));
    sizer->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(sizer);
    Centre();
    Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) {
        remember();
        event.Skip();
    }, wxID_OK);
}

bool ExportDialog::allCranes() const { return cranes->GetSelection() == 1; }

exportChoice ExportDialog::choice() const
{
    exportChoice c;
    if (format == exportFormat::csv) {
        c.csv = true;
        c.csvPerGraph = layout->GetSelection() == 0;
        c.summary = summary->GetValue();
        c.format.decimal = decimal->GetSelection() == 1 ? '.' : ',';
    } else {
        c.pdf = true;
        c.pdfGraphs = graphs->GetValue();
    }
    return c;
}

wxString ExportDialog::folder() const { return folderControl->GetPath(); }

wxString ExportDialog::pdfName() const
{
    wxString typed = name ? name->GetValue().Strip(wxString::both) : wxString();
    if (!typed.empty() && !typed.Lower().EndsWith(".pdf"))
        typed += ".pdf";
    return typed;
}

void ExportDialog::remember() const
{
    wxConfigBase* config = wxConfigBase::Get();
    config->Write(folderKey, folder());
    config->Write(allCranesKey, allCranes());
    const exportChoice c = choice();
    if (format == exportFormat::csv) {
        config->Write(perGraphKey, c.csvPerGraph);
        config->Write(summaryKey, c.summary);
        config->Write(decimalPointKey, c.format.decimal == '.');
    } else {
        config->Write(pdfGraphsKey, c.pdfGraphs);
    }
    config->Flush();
}
