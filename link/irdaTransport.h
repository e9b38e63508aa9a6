// The IrDA transport: finds a device in range, checks that it offers IrCOMM in 9-wire mode,
// connects to its IrCOMM service and then carries packets over the socket like a serial line.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/irdaSockets.h"
#include "link/report.h"
#include "link/transport.h"

// Longest wait for incoming data.
constexpr int irdaTimeoutSeconds = 2;

// Starts the socket layer the first time in the process. A layer that cannot start is
// reported and ends the program with status 1.
void irdaStartup(irdaSockets& sockets, ReportCallback errorCallback);

// Whether an IrCOMM "Parameters" octet sequence announces 9-wire mode: a service-type
// parameter (identifier 0x00) with bit 0x04 in its first value byte.
bool offersNineWire(const uint8_t* octets, std::size_t length);

class irdaTransport final : public linkTransport {
public:
    irdaTransport(irdaSockets& sockets, ReportCallback statusCallback,
                  ReportCallback errorCallback)
        : sockets(sockets), statusCallback(statusCallback), errorCallback(errorCallback)
    {
    }
    ~irdaTransport() override { close(); }
    irdaTransport(const irdaTransport&) = delete;
    irdaTransport& operator=(const irdaTransport&) = delete;

    // Discovery (four passes a second apart), the IAS check, 9-wire mode and the IrCOMM
    // connection to the first device found. Failures are reported; the socket is then closed.
    bool open();

    bool isOpen() const override { return socket >= 0; }
    std::size_t exchange(const uint8_t* packet, std::size_t length, uint8_t* reply,
                         std::size_t capacity) override;
    // Reads and discards until the device has been silent for irdaTimeoutSeconds; ends as
    // well when the device has closed the connection.
    void clear() override;
    void close() override;

private:
    bool failOpen(const char* format, int code);
    void failLink(const char* format, int first, int second = 0);
    void dropSocket();

    irdaSockets& sockets;
    int socket = -1;
    ReportCallback statusCallback;
    ReportCallback errorCallback;
};
