#include "setup/settingsUpdate.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "data/readout.h"
#include "link/codings.h"
#include "link/commands.h"
#include "link/comm.h"

namespace {

constexpr std::size_t dataOffset = packetHeaderSize;

// The device's identifier, which tells a recorder from a data collector.
bool identify(comm& link, std::vector<uint8_t>& reply, std::string& identifier, ReportCallback error)
{
    const uint8_t request[] = {hostAddress, deviceAddress, 0, 0, Identify};
    if (link.transact(request, sizeof request, reply.data(), reply.size()) != identifyReplyLength) {
        error("Ошибка при чтении идентификатора устройства");
        return false;
    }
    identifier = decodeIdentifier(reply.data());
    return true;
}

// The 64-byte read at address 0 that proves the recorder answers before anything is written,
// and shows what the block to be written replaces.
bool readBlock(comm& link, std::vector<uint8_t>& reply, settingsBlock& block, ReportCallback error)
{
    const uint8_t request[] = {hostAddress, deviceAddress, 0, 0, ReadMemory, 0x00, 0x00,
                               static_cast<uint8_t>(settingsBlockSize)};
    if (link.transact(request, sizeof request, reply.data(), reply.size()) !=
        smallestPacket + settingsBlockSize) {
        error("Ошибка при чтении памяти с адреса $0000");
        return false;
    }
    std::copy_n(&reply[dataOffset], settingsBlockSize, block.begin());
    return true;
}

bool writeBlock(comm& link, const settingsBlock& block, std::vector<uint8_t>& reply,
                ReportCallback status, ReportCallback error)
{
    for (unsigned address = 0; address < settingsBlockSize; ++address) {
        status("Обновляется память РП по адресу $%04X", address);
        const uint8_t request[] = {hostAddress, deviceAddress, 0, 0, WriteByte,
                                   0x00, static_cast<uint8_t>(address), block[address]};
        const std::size_t length = link.transact(request, sizeof request, reply.data(), reply.size());
        if (length != writeByteReplyLength) {
            error("Ошибка при записи байта по адресу $%04X - неверный ответ от устройства (пакет длиной %lu байт)",
                  address, static_cast<unsigned long>(length));
            return false;
        }
    }
    return true;
}

bool setClock(comm& link, int32_t now, std::vector<uint8_t>& reply, ReportCallback error)
{
    uint8_t request[packetHeaderSize + 7] = {hostAddress, deviceAddress, 0, 0, SetClock};
    toBcdClock(now, request + dataOffset);
    const std::size_t length = link.transact(request, sizeof request, reply.data(), reply.size());
    if (length != setClockReplyLength) {
        error("Ошибка при установке времени РП (%lu)", static_cast<unsigned long>(length));
        return false;
    }
    return true;
}

}  // namespace

uint8_t readLoadCode(comm& link, ReportCallback errorCallback)
{
    std::vector<uint8_t> reply(replyCapacity);
    const uint8_t request[] = {hostAddress, deviceAddress, 0, 0, ReadLoad};
    if (link.transact(request, sizeof request, reply.data(), reply.size()) != readLoadReplyLength) {
        errorCallback("Ошибка при чтении текущей нагрузки");
        return 0;
    }
    return reply[dataOffset];
}

bool writeSettings(comm& link, const settingsFields& fields, int32_t now,
                   ReportCallback statusCallback, ReportCallback errorCallback,
                   const ConfirmCallback& confirm)
{
    std::vector<uint8_t> reply(replyCapacity);
    settingsQuestion question;
    if (!identify(link, reply, question.identifier, errorCallback) ||
        !readBlock(link, reply, question.current, errorCallback))
        return false;
    const auto block = buildSettingsBlock(fields, errorCallback);
    if (!block)
        return false;
    question.next = *block;
    return confirm(question) && writeBlock(link, *block, reply, statusCallback, errorCallback) &&
           setClock(link, now, reply, errorCallback);
}
