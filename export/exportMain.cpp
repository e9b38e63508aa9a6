// brennix-export: every crane of a data file to CSV, HTML and PDF files in a folder, for batch
// work on an archive. CSV and HTML need no display; PDF draws through the toolkit, which needs one.
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/cmndata.h>
#include <wx/init.h>

#include "data/dataFile.h"
#include "export/cranePdf.h"
#include "export/exportWriter.h"
#include "export/stagedFiles.h"
#include "platform/console.h"
#include "view/ReportWindow.h"

namespace {

const char usage[] =
    "Использование: brennix-export ФАЙЛ.brx ПАПКА [--csv] [--html] [--pdf] [--graphs] [--per-crane]\n"
    "                              [--point] [--overwrite]\n"
    "  --csv        отсчеты каждого графика в CSV (файл на график) и сводка по кранам (сводка.csv)\n"
    "  --per-crane  CSV: один файл на кран со столбцом «График»\n"
    "  --point      CSV: десятичная точка вместо запятой\n"
    "  --html       протокол каждого крана в HTML, как на странице «Протокол»\n"
    "  --pdf        протокол каждого крана в PDF, как он печатается (нужен графический дисплей)\n"
    "  --graphs     PDF: также все графики крана, каждый на своей странице\n"
    "  --overwrite  заменять файлы, которые уже есть в папке\n"
    "Имена файлов: номер крана и дата считывания. Пишутся все файлы или ни одного.\n";

void printError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    writeLine(stderr, "brennix-export: ", format, args);
    va_end(args);
}

struct arguments {
    std::string dataFile;
    std::string folder;
    exportChoice choice;
    bool overwrite = false;
};

bool parse(const std::vector<std::string>& all, arguments& args)
{
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < all.size(); ++i) {
        const std::string& a = all[i];
        if (a == "--csv")
            args.choice.csv = args.choice.summary = true;
        else if (a == "--per-crane")
            args.choice.csvPerGraph = false;
        else if (a == "--point")
            args.choice.format.decimal = '.';
        else if (a == "--html")
            args.choice.html = true;
        else if (a == "--pdf")
            args.choice.pdf = true;
        else if (a == "--graphs")
            args.choice.pdfGraphs = true;
        else if (a == "--overwrite")
            args.overwrite = true;
        else if (a.size() > 1 && a[0] == '-')
            return false;
        else
            positional.push_back(a);
    }
    if (positional.size() != 2 || !(args.choice.csv || args.choice.html || args.choice.pdf))
        return false;
    args.dataFile = positional[0];
    args.folder = positional[1];
    return true;
}

// The toolkit for drawing PDF pages. GTK needs a display even to measure text; Windows always
// has one.
class pdfToolkit {
public:
    bool start()
    {
#ifdef __WXGTK__
        if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
            return false;
#endif
        wxApp::SetInstance(new wxApp);
        static char name[] = "brennix-export";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        started = wxEntryStart(argc, argv);
        std::setlocale(LC_NUMERIC, "C");   // the drawings' and the protocol's numbers keep their point
        return started;
    }
    ~pdfToolkit()
    {
        if (started)
            wxEntryCleanup();
    }

private:
    bool started = false;
};

int run(const arguments& args)
{
    aList cranes;
    if (readDataFile(args.dataFile, cranes, printError) == DataFileResult::readError)
        return 1;
    std::vector<const devLink*> all;
    for (const devLink* crane = firstCrane(cranes); crane; crane = nextCrane(crane))
        all.push_back(crane);

    std::error_code failure;
    std::filesystem::create_directories(std::filesystem::u8path(args.folder), failure);
    if (failure) {
        printError("не удалось создать папку «%s»: %s", args.folder.c_str(),
                   fileErrorText(failure.value()).c_str());
        return 1;
    }
    const std::vector<exportFile> plan = exportPlan(all, args.choice);
    if (!args.overwrite)
        if (const std::vector<std::string> existing = existingFiles(args.folder, plan); !existing.empty()) {
            const std::string others =
                existing.size() > 1 ? " и ещё " + std::to_string(existing.size() - 1) : std::string();
            printError("в папке «%s» уже есть файл «%s»%s; ничего не записано. "
                       "Чтобы заменить такие файлы, укажите --overwrite.",
                       args.folder.c_str(), existing.front().c_str(), others.c_str());
            return 1;
        }

    pdfToolkit toolkit;
    if (args.choice.pdf && !toolkit.start()) {
        printError("для --pdf нужен графический дисплей (переменная DISPLAY), а он недоступен; "
                   "ничего не записано. Запустите программу в графическом сеансе или под xvfb-run; "
                   "--csv и --html дисплея не требуют.");
        return 1;
    }
    // Printing settings exist only with the toolkit started; the pages print as the program
    // prints them before any page setup.
    std::unique_ptr<ReportPrinting> protocol;
    std::unique_ptr<wxPageSetupDialogData> graphPages;
    if (args.choice.pdf) {
        protocol = std::make_unique<ReportPrinting>();
        graphPages = std::make_unique<wxPageSetupDialogData>();
    }
    const pdfWriter pdf = [&](const exportFile& file, const std::string& path) {
        return writeCranePdf(path, *file.crane, args.choice.pdfGraphs,
                             cranePdfLayout{protocol.get(), graphPages.get(), graphOptions{}});
    };
    if (!writeExport(args.folder, plan, all, args.choice, pdf, printError))
        return 1;
    writeText(stdout, "Записано файлов: " + std::to_string(plan.size()) + " в папку «" + args.folder + "».\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    arguments args;
    if (!parse(programArguments(argc, argv), args)) {
        writeText(stderr, usage);
        return 2;
    }
    return run(args);
}
