// The IrDA transport: finds a device in range, checks that it offers IrCOMM in 9-wire mode,
// connects to its IrCOMM service and then carries packets over the socket like a serial line.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "link/irdaSockets.h"
#include "link/report.h"
#include "link/transport.h"

// Longest wait for incoming data.
constexpr int irdaTimeoutSeconds = 2;
static_assert(receiveWait == std::chrono::seconds(irdaTimeoutSeconds));

// Starts the socket layer the first time in the process. A layer that cannot start is
// reported and ends the program with status 1.
void irdaStartup(irdaSockets& sockets, ReportCallback errorCallback);

// Whether an IrCOMM "Parameters" octet sequence announces 9-wire mode: a service-type
// parameter (identifier 0x00) with bit 0x04 in its first value byte.
bool offersNineWire(const uint8_t* octets, std::size_t length);

class irdaTransport final : public linkTransport {
public:
    // Every wait of the transport, discovery pauses included, runs through cancel.
    irdaTransport(irdaSockets& sockets, linkCancel& cancel, ReportCallback statusCallback,
                  ReportCallback errorCallback)
        : sockets(sockets), cancel(cancel), statusCallback(statusCallback), errorCallback(errorCallback)
    {
    }
    ~irdaTransport() override { close(); }
    irdaTransport(const irdaTransport&) = delete;
    irdaTransport& operator=(const irdaTransport&) = delete;

    // Discovery (four passes a second apart), the IAS check, 9-wire mode and the IrCOMM
    // connection to the first device found. Failures are reported; the socket is then closed.
    // Each pass waits for the stack's device list at most receiveWait, so discovery ends within
    // 4 × (2 s + 1 s) = 12 s whatever the air does (about 4 s when it is empty); a cancel ends
    // it at once, without a text.
    bool open();

    bool isOpen() const override { return socket != noSocket; }
    std::size_t exchange(const uint8_t* packet, std::size_t length, uint8_t* reply,
                         std::size_t capacity) override;
    // Reads and discards until the device has been silent for irdaTimeoutSeconds; ends as
    // well when the device has closed the connection, on a cancel, and one receive wait after
    // the failed reply's own time is up (replyTimeLimit): what the device sends after that is no
    // rest of the reply, and a device that never goes quiet cannot hold the link.
    void clear() override;
    void close() override;

private:
    bool failOpen(const char* format, int code);
    void failLink(const char* format, int first, int second = 0);
    void dropSocket();

    // Waits for the socket to become readable until the deadline: 1, 0 (time-out or cancel), -1.
    int waitReadable(linkClock::time_point deadline);

    irdaSockets& sockets;
    linkCancel& cancel;
    irdaSocket socket = noSocket;
    // Until when the rest of the last reply, which timed out unfinished, may still come.
    linkClock::time_point restDue;
    ReportCallback statusCallback;
    ReportCallback errorCallback;
};
