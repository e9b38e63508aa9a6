// Installs the printer "Brennix Test" as the default printer of a Wine prefix that has none (no
// CUPS behind it), so that the print preview and the page set-up, which measure the page on the
// default printer, work in the window tests and the screenshots: a PostScript printer printing to
// a file, described by the PPD file given as the argument (tests/support/testPrinter.ppd).
//   brennix-test-printer.exe Z:\path\to\testPrinter.ppd
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fputs("usage: brennix-test-printer PPD-FILE\n", stderr);
        return 2;
    }
    // The PostScript driver reads the PPD file from the printer drivers' folder.
    wchar_t folder[MAX_PATH];
    DWORD size = sizeof folder;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), size, &size)) {
        std::fprintf(stderr, "GetPrinterDriverDirectory: error %lu\n", GetLastError());
        return 1;
    }
    const std::wstring ppd = std::wstring(folder) + L"\\brennixTest.ppd";
    if (!CopyFileW(argv[1], ppd.c_str(), FALSE)) {
        std::fprintf(stderr, "CopyFile: error %lu\n", GetLastError());
        return 1;
    }
    wchar_t driverName[] = L"Brennix Test Driver", driverFile[] = L"wineps.drv", dataFile[] = L"brennixTest.ppd",
            raw[] = L"RAW", printerName[] = L"Brennix Test", port[] = L"FILE:", processor[] = L"WinPrint";
    DRIVER_INFO_3W driver = {};
    driver.cVersion = 3;
    driver.pName = driverName;
    driver.pDriverPath = driverFile;
    driver.pConfigFile = driverFile;
    driver.pDataFile = dataFile;
    driver.pDefaultDataType = raw;
    if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver))) {
        std::fprintf(stderr, "AddPrinterDriver: error %lu\n", GetLastError());
        return 1;
    }
    PRINTER_INFO_2W info = {};
    info.pPrinterName = printerName;
    info.pPortName = port;
    info.pDriverName = driverName;
    info.pPrintProcessor = processor;
    info.pDatatype = raw;
    const HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
        std::fprintf(stderr, "AddPrinter: error %lu\n", GetLastError());
        return 1;
    }
    if (printer)
        ClosePrinter(printer);
    if (!SetDefaultPrinterW(printerName)) {
        std::fprintf(stderr, "SetDefaultPrinter: error %lu\n", GetLastError());
        return 1;
    }
    return 0;
}
