// The serial transport (also used for the power-line modem, which sits on a serial port): the
// port opened exclusively, 8N1 at the configured speed, with bounded waits. One declaration, one
// implementation per platform: a POSIX terminal device (serialPortPosix.cpp) or a Windows
// communications port (serialPortWindows.cpp).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "link/report.h"
#include "link/transport.h"

// Longest silence on the line that a read waits out.
constexpr int serialTimeoutSeconds = 2;
static_assert(receiveWait == std::chrono::seconds(serialTimeoutSeconds));

// Looks up the configured device of port n (1..4), the key "/Com/COMn"; "" when it is absent.
using ConfiguredPortLookup = std::function<std::string(int portNumber)>;

// The line speeds a serial port is set to, in bits per second.
constexpr int32_t serialSpeeds[] = {9600, 19200, 57600, 115200};

// What the program's configuration says about serial connections.
struct serialSettings {
    int32_t speed = 9600;   // bits per second ("/Com/Speed"): 9600, 19200, 57600 or 115200
    // Devices named in the configuration, on a platform whose ports are not named "COMn"
    // (portNames.h); none when empty.
    ConfiguredPortLookup configuredPort;
};

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

    // Opens the port the user named ("COM1".."COM4") and sets the line up. Failures are
    // reported with the name as given; the port is then left closed.
    bool open(const std::string& portName, const serialSettings& settings);

    bool isOpen() const override { return port != closedPort; }
    std::size_t exchange(const uint8_t* packet, std::size_t length, uint8_t* reply,
                         std::size_t capacity) override;
    // Discards whatever waits in either direction.
    void clear() override;
    void close() override;

private:
    // The platform's handle of the open port (a file descriptor or a Windows HANDLE).
    static constexpr std::intptr_t closedPort = -1;

    // Reports a failure of the open with its code and the port's name, and closes the port.
    bool fail(const char* format, int code, const std::string& portName)
    {
        errorCallback(format, code, portName.c_str());
        close();
        return false;
    }

    std::intptr_t port = closedPort;
    linkCancel& cancel;
    ReportCallback errorCallback;
};
