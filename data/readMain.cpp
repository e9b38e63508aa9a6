// brennix-read: reads a recorder, or a data collector with the recorders it holds, on a serial
// port into a data file, for scripted reads. Progress goes to standard output and failures to
// standard error, with the program's own texts; the exit status is 0 when everything was read.
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "data/dataFile.h"
#include "data/readout.h"
#include "link/codings.h"
#include "link/comm.h"
#include "platform/console.h"

namespace {

const char usage[] =
    "Использование: brennix-read [--speed БИТ/С] ПОРТ ФАЙЛ.brx\n"
    "  ПОРТ          последовательный порт, к которому подключен регистратор, модем или\n"
    "                накопитель данных: COM1, COM2, ...\n"
    "  --speed       скорость порта: 9600 (по умолчанию), 19200, 57600 или 115200\n"
    "Все считанные краны со своими графиками записываются в файл данных. Код завершения 0:\n"
    "считано всё; 1: была ошибка (считанное до неё записано); 2: неверные аргументы.\n";

void printStatus(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    writeLine(stdout, "", format, args);
    va_end(args);
}

void printError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    writeLine(stderr, "brennix-read: ", format, args);
    va_end(args);
}

struct arguments {
    std::string port;
    std::string dataFile;
    serialSettings serial;
};

bool parse(const std::vector<std::string>& all, arguments& args)
{
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < all.size(); ++i) {
        if (all[i] == "--speed" && i + 1 < all.size()) {
            const std::string& speed = all[++i];
            if (speed.empty() || speed.size() > 9 || speed.find_first_not_of("0123456789") != std::string::npos)
                return false;
            args.serial.speed = std::stoi(speed);
        } else if (all[i].size() > 1 && all[i][0] == '-') {
            return false;
        } else {
            positional.push_back(all[i]);
        }
    }
    if (positional.size() != 2)
        return false;
    args.port = positional[0];
    args.dataFile = positional[1];
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    arguments args;
    if (!parse(programArguments(argc, argv), args)) {
        writeText(stderr, usage);
        return 2;
    }
    aList cranes;
    bool complete = false;
    {
        comm link(printStatus, printError);
        if (link.openSerial(args.port, args.serial))
            complete = readDevice(link, cranes, computeRecorderEpoch(), printStatus, printError);
    }
    if (complete)
        printStatus("Cчитывание данных успешно завершено");
    if (complete || cranes.count() > 0) {
        if (!writeDataFile(args.dataFile, cranes, printError))
            return 1;
        printStatus("Записано кранов: %u в файл «%s»", static_cast<unsigned>(cranes.count()), args.dataFile.c_str());
    }
    return complete ? 0 : 1;
}
