// The serial port on Windows: a communications port opened with CreateFileA for synchronous
// reads and writes, whose time-outs the driver keeps (SetCommTimeouts). Error codes are
// GetLastError's. The link's cancel and the reply's time limit are checked between reads: a
// read returns at the latest when the line has been quiet for 2 s, or after its total time-out.
#include "link/serialPort.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <iterator>

namespace {

constexpr DWORD timeoutMs = serialTimeoutSeconds * 1000;
constexpr DWORD timeoutPerByteMs = 5;
constexpr DWORD purgeBoth = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
static_assert(purgeBoth == 15);

// The device of a port: "\\.\COMn" for "COMn" (which also reaches ports above COM9), any other
// name as it is.
std::string devicePath(const std::string& portName)
{
    const bool comName = portName.size() > 3 && portName.compare(0, 3, "COM") == 0
        && std::all_of(portName.begin() + 3, portName.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    return comName ? "\\\\.\\" + portName : portName;
}

bool acceptedSpeed(int32_t bitsPerSecond)
{
    return std::find(std::begin(serialSpeeds), std::end(serialSpeeds), bitsPerSecond) != std::end(serialSpeeds);
}

int lastError() { return static_cast<int>(GetLastError()); }

HANDLE handleOf(std::intptr_t port) { return reinterpret_cast<HANDLE>(port); }

}  // namespace

bool serialPort::open(const std::string& portName, const serialSettings& settings)
{
    close();
    // Read and write, no sharing, an existing device, no overlapped I/O.
    const HANDLE device = CreateFileA(devicePath(portName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE) {
        errorCallback("не могу открыть последовательный порт: %d (%s)", lastError(), portName.c_str());
        return false;
    }
    port = reinterpret_cast<std::intptr_t>(device);

    DCB line{};
    line.DCBlength = sizeof line;
    if (!GetCommState(device, &line))
        return fail("не могу выполнить GetCommState: %d (%s)", lastError(), portName);
    // 8N1 at the speed; everything else stays as the driver has it.
    line.ByteSize = 8;
    line.Parity = NOPARITY;
    line.StopBits = ONESTOPBIT;
    if (acceptedSpeed(settings.speed))
        line.BaudRate = static_cast<DWORD>(settings.speed);
    else
        errorCallback("недопустимая скорость порта: %d", settings.speed);
    if (!SetCommState(device, &line)) {
        errorCallback("не могу установить параметры последовательного порта: %d (%s:%d)", lastError(),
                      portName.c_str(), settings.speed);
        close();
        return false;
    }

    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = timeoutMs;
    timeouts.ReadTotalTimeoutMultiplier = timeoutPerByteMs;
    timeouts.ReadTotalTimeoutConstant = timeoutMs;
    timeouts.WriteTotalTimeoutMultiplier = timeoutPerByteMs;
    timeouts.WriteTotalTimeoutConstant = timeoutMs;
    if (!SetCommTimeouts(device, &timeouts))
        return fail("не могу установить таймауты для последовательного порта: %d (%s)", lastError(), portName);
    return true;
}

std::size_t serialPort::exchange(const uint8_t* packet, std::size_t length, uint8_t* reply,
                                 std::size_t capacity)
{
    const HANDLE device = handleOf(port);
    for (std::size_t written = 0; written < length;) {
        DWORD count = 0;
        if (!WriteFile(device, packet + written, static_cast<DWORD>(length - written), &count, nullptr)) {
            errorCallback("ошибка при передаче данных: %d", lastError());
            close();
            return 0;
        }
        if (count == 0)
            return 0;  // time-out
        written += count;
    }

    // The first read asks for the bytes up to the length field; the next ones for the rest of
    // what is expected (until the length field is in, of the most a reply can hold).
    incomingReply incoming(reply, capacity);
    std::size_t expected = incoming.expected();
    while (incoming.received < expected) {
        if (cancel.requested() || linkClock::now() >= incoming.due())
            return 0;  // stopped by the user, or the reply's time is up
        const std::size_t wanted = incoming.received == 0 ? replyLengthFieldEnd : expected - incoming.received;
        DWORD count = 0;
        if (!ReadFile(device, incoming.end(), static_cast<DWORD>(std::min(wanted, incoming.room())), &count, nullptr)) {
            errorCallback("не могу принять данные: %d", lastError());
            close();
            return 0;
        }
        if (count == 0)
            return 0;  // time-out: the bytes received so far are dropped
        incoming.received += count;
        expected = incoming.expected();
    }
    return expected == 0 ? 0 : incoming.received;
}

void serialPort::clear()
{
    if (!PurgeComm(handleOf(port), purgeBoth)) {
        errorCallback("не могу очистить порт: %d", lastError());
        close();
    }
}

void serialPort::close()
{
    if (port == closedPort)
        return;
    CloseHandle(handleOf(port));
    port = closedPort;
}
