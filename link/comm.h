// The recorder link: frames requests with length and CRC, exchanges them over the open
// transport with up to three attempts, and checks the replies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/crc16.h"
#include "link/report.h"

class comm {
public:
    enum Kind { noTransport = -1, serialKind = 0, irdaKind = 1 };

    comm(ReportCallback statusCallback, ReportCallback errorCallback);
    virtual ~comm();
    comm(const comm&) = delete;
    comm& operator=(const comm&) = delete;

    // Serial line (also the power-line modem): portName is "COM1".."COM4".
    bool openSerial(const std::string& portName);
    bool openIrda();

    // request: the packet without its CRC, header included (offsets 2..3 are overwritten).
    // Returns the total length of a valid reply written into reply (never more than
    // capacity bytes), or 0 after the failure has been reported through errorCallback.
    std::size_t transact(const uint8_t* request, std::size_t length, uint8_t* reply,
                         std::size_t capacity);

    void close();

    // Implementation members follow (the link's own design).
};
