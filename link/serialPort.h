// The serial transport (also used for the power-line modem, which sits on a serial port):
// a POSIX terminal device opened exclusively, 8N1 at portSpeed, binary, with bounded waits.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/report.h"
#include "link/transport.h"

// Longest silence on the line that a read waits out.
constexpr int serialTimeoutSeconds = 2;
static_assert(receiveWait == std::chrono::seconds(serialTimeoutSeconds));

class serialPort final : public linkTransport {
public:
    // Every wait of the port runs through cancel.
    serialPort(linkCancel& cancel, ReportCallback errorCallback)
        : cancel(cancel), errorCallback(errorCallback)
    {
    }
    ~serialPort() override { close(); }
    serialPort(const serialPort&) = delete;
    serialPort& operator=(const serialPort&) = delete;

    // Opens the port the user named ("COM1".."COM4", see portNames.h) and sets the line up.
    // Failures are reported with the name as given; the port is then left closed.
    bool open(const std::string& portName);

    bool isOpen() const override { return fd >= 0; }
    std::size_t exchange(const uint8_t* packet, std::size_t length, uint8_t* reply,
                         std::size_t capacity) override;
    // Discards whatever waits in either direction.
    void clear() override;
    void close() override;

private:
    bool fail(const char* format, int code, const std::string& portName);

    int fd = -1;
    linkCancel& cancel;
    ReportCallback errorCallback;
};
