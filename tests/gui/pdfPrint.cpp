#include "tests/gui/pdfPrint.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>

#include <wx/gtk/print.h>
#include <wx/print.h>

#include "export/pdfPages.h"

namespace {

// The GTK print job's signals, handed to the toolkit's printer as its own print job hands them.
struct gtkPrintJob {
    wxGtkPrinter* printer;
    wxPrintout* printout;
};

void beginPrint(GtkPrintOperation* operation, GtkPrintContext* context, gpointer job)
{
    static_cast<gtkPrintJob*>(job)->printer->BeginPrint(static_cast<gtkPrintJob*>(job)->printout,
                                                        operation, context);
}

void drawPage(GtkPrintOperation* operation, GtkPrintContext* context, gint page, gpointer job)
{
    static_cast<gtkPrintJob*>(job)->printer->DrawPage(static_cast<gtkPrintJob*>(job)->printout,
                                                      operation, context, page);
}

void endPrint(GtkPrintOperation*, GtkPrintContext*, gpointer job)
{
    static_cast<gtkPrintJob*>(job)->printout->OnEndPrinting();
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }

}  // namespace

int printToPdf(wxPrintout& printout, const std::string& pdfPath, wxSize paperMM)
{
    const std::unique_ptr<pdfPages> pages = openPdfPages(pdfPath);
    if (!pages)
        return -1;
    const int printed = printPages(*pages, printout, paperMM);
    return pages->finish() ? printed : -1;
}

bool printThroughGtkToPdf(wxPrintout& printout, const std::string& pdfPath)
{
    wxPrintDialogData dialogData;
    wxGtkPrinter printer(&dialogData);
    gtkPrintJob job{&printer, &printout};
    GtkPrintOperation* operation = gtk_print_operation_new();
    GtkPrintSettings* settings = gtk_print_settings_new();
    GtkPageSetup* page = gtk_page_setup_new();
    GtkPaperSize* a4 = gtk_paper_size_new(GTK_PAPER_NAME_A4);
    gtk_page_setup_set_paper_size_and_default_margins(page, a4);
    gtk_print_operation_set_print_settings(operation, settings);
    gtk_print_operation_set_default_page_setup(operation, page);
    gtk_print_operation_set_export_filename(operation, pdfPath.c_str());
    g_signal_connect(operation, "begin-print", G_CALLBACK(beginPrint), &job);
    g_signal_connect(operation, "draw-page", G_CALLBACK(drawPage), &job);
    g_signal_connect(operation, "end-print", G_CALLBACK(endPrint), &job);
    const GtkPrintOperationResult result =
        gtk_print_operation_run(operation, GTK_PRINT_OPERATION_ACTION_EXPORT, nullptr, nullptr);
    printout.SetDC(nullptr);
    gtk_paper_size_free(a4);
    g_object_unref(page);
    g_object_unref(settings);
    g_object_unref(operation);
    return result == GTK_PRINT_OPERATION_RESULT_APPLY;
}

std::string pdfText(const std::string& pdfPath)
{
    std::string text;
    if (FILE* pipe = popen(("pdftotext -enc UTF-8 " + quoted(pdfPath) + " - 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

bool pdfPageToPng(const std::string& pdfPath, int page, const std::string& pngPath, int dpi)
{
    std::string stem = pngPath;
    if (stem.size() > 4 && stem.compare(stem.size() - 4, 4, ".png") == 0)
        stem.resize(stem.size() - 4);
    const std::string command = "pdftoppm -png -singlefile -r " + std::to_string(dpi) + " -f " + std::to_string(page) +
                                " -l " + std::to_string(page) + " " + quoted(pdfPath) + " " + quoted(stem);
    return std::system(command.c_str()) == 0;
}
