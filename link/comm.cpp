#include "link/comm.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "link/codings.h"
#include "link/commands.h"

namespace {

constexpr int attempts = 3;

// Outcomes of one attempt, failures in rising severity: the link reports the worst one seen.
enum Outcome { success, noAnswer, crcError, wrongAnswer };

const char* outcomeText(Outcome outcome)
{
    switch (outcome) {
    case crcError: return "Ошибка контрольной суммы при приеме";
    case wrongAnswer: return "Неверный ответ от устройства";
    default: return "Устройство не работает или ошибка контрольной суммы при передаче";
    }
}

// What one attempt that received n bytes in answer to packet came to.
Outcome classify(crc16& engine, const uint8_t* packet, const uint8_t* reply, std::size_t n)
{
    if (n <= 4)
        return noAnswer;
    if (engine.compute(reply, n) != 0)
        return crcError;
    // A reply carries the two address bytes exchanged and the request's command code.
    if (reply[0] != packet[1] || reply[1] != packet[0] || reply[4] != packet[4])
        return wrongAnswer;
    return success;
}

}  // namespace

comm::comm(ReportCallback statusCallback, ReportCallback errorCallback, linkTransports& transports)
    : transports(transports), statusCallback(statusCallback), errorCallback(errorCallback)
{
    transports.startup(errorCallback);
}

comm::~comm()
{
    close();
}

bool comm::openSerial(const std::string& portName, const serialSettings& settings)
{
    close();
    kind = serialKind;
    handle = transports.openSerial(portName, settings, cancel, errorCallback);
    return handle != nullptr;
}

bool comm::openIrda()
{
    close();
    kind = irdaKind;
    handle = transports.openIrda(cancel, statusCallback, errorCallback);
    return handle != nullptr;
}

std::size_t comm::transact(const uint8_t* request, std::size_t length, uint8_t* reply,
                           std::size_t capacity)
{
    if (kind != serialKind && kind != irdaKind) {
        errorCallback("Неизвестный тип соединения: %d", kind);
        std::exit(1);
    }
    // A request must hold its header, and the packet's length must fit its 16-bit field.
    // Nothing goes out any more once the user has stopped the operation.
    if (length < packetHeaderSize || length + packetCrcSize > 0xFFFF || cancel.requested())
        return 0;

    std::vector<uint8_t> packet(request, request + length);
    packet.resize(length + packetCrcSize);
    putBe16(&packet[2], static_cast<uint16_t>(length + packetCrcSize));
    putBe16(&packet[length], engine.packetCrc(packet.data(), length));

    Outcome worst = success;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        // A transport closed by its own failure is not touched again: no answer comes then.
        const std::size_t n =
            transportOpen() ? handle->exchange(packet.data(), packet.size(), reply, capacity) : 0;
        const Outcome outcome = classify(engine, packet.data(), reply, n);
        if (outcome == success)
            return n;
        if (cancel.requested())
            return 0;  // abandoned by the user, not failed by the device: no text
        worst = std::max(worst, outcome);
        if (transportOpen())
            handle->clear();
        if (cancel.stopped())
            return 0;  // stopped while the line was cleared: no further attempt, no text
    }
    errorCallback("%s", outcomeText(worst));
    return 0;
}

void comm::close()
{
    if (handle)
        handle->close();
    handle.reset();
}
