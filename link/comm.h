// The recorder link: frames requests with length and CRC, exchanges them over the open
// transport with up to three attempts, and checks the replies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "link/crc16.h"
#include "link/linkCancel.h"
#include "link/report.h"
#include "link/transport.h"
#include "link/transports.h"

class comm {
public:
    enum Kind { noTransport = -1, serialKind = 0, irdaKind = 1 };

    // The link opens its transports through transports: the platform's own unless given.
    comm(ReportCallback statusCallback, ReportCallback errorCallback,
         linkTransports& transports = systemTransports());
    virtual ~comm();
    comm(const comm&) = delete;
    comm& operator=(const comm&) = delete;

    // Serial line (also the power-line modem): portName is "COM1".."COM4", set up as settings
    // say. Both opens report their failure through errorCallback and return false.
    bool openSerial(const std::string& portName, const serialSettings& settings);
    bool openIrda();

    // The transport chosen by the last open (Kind); noTransport before any open.
    int connectionKind() const { return kind; }

    // request: the packet without its CRC, header included (offsets 2..3 are overwritten).
    // Returns the total length of a valid reply written into reply (never more than
    // capacity bytes), or 0 after the failure has been reported through errorCallback.
    // Makes up to three attempts. Called on a link that was never opened, it ends the program.
    std::size_t transact(const uint8_t* request, std::size_t length, uint8_t* reply,
                         std::size_t capacity);

    // Closes the transport; nothing happens when it is closed already or was never opened.
    void close();

    // The user's cancel: check is asked while the link waits, every waitSlice at most, and at
    // the start of every exchange. Once it has said stop, the wait under way ends, the exchange
    // is abandoned without a further attempt and without a text, and every later exchange
    // returns 0 at once. Set it before the open: the infrared discovery waits too.
    void setCancelCheck(linkCancel::Check check) { cancel.setCheck(std::move(check)); }
    // Whether the user has stopped the operation (asks the check nothing).
    bool cancelled() const { return cancel.stopped(); }

private:
    bool transportOpen() const { return handle && handle->isOpen(); }

    crc16 engine;
    linkTransports& transports;
    linkCancel cancel;
    int kind = noTransport;
    // The open transport; empty, or closed by a failure of its own, once the link is closed.
    std::unique_ptr<linkTransport> handle;
    ReportCallback statusCallback;
    ReportCallback errorCallback;
};
