#include "link/irdaTransport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

constexpr int discoveryPasses = 4;
constexpr auto discoveryPause = std::chrono::seconds(1);
constexpr const char* ircommClass = "IrDA:IrCOMM";
constexpr const char* parametersAttribute = "Parameters";
constexpr const char* ircommService = "IrDA:IrCOMM";
constexpr uint8_t serviceTypeParameter = 0x00;
constexpr uint8_t nineWireBit = 0x04;
constexpr std::size_t shortestParameters = 3;   // one parameter: identifier, length, one value byte
constexpr std::size_t drainBufferSize = 65536;

bool socketLayerStarted = false;

}  // namespace

void irdaStartup(irdaSockets& sockets, ReportCallback errorCallback)
{
    if (socketLayerStarted)
        return;
    if (!sockets.startup()) {
        errorCallback("Несовместимая версия WinSock DLL (требуется версия 1.1)");
        std::exit(1);
    }
    socketLayerStarted = true;
}

bool offersNineWire(const uint8_t* octets, std::size_t length)
{
    // Each parameter is an identifier, a length L and L value bytes. A parameter whose value
    // would lie beyond the sequence is not read.
    for (std::size_t at = 0; at + 2 < length; at += 2 + octets[at + 1]) {
        if (octets[at] == serviceTypeParameter && octets[at + 1] > 0
            && (octets[at + 2] & nineWireBit) != 0)
            return true;
    }
    return false;
}

bool irdaTransport::open()
{
    close();
    socket = sockets.create();
    if (socket == noSocket) {
        errorCallback("ошибка функции socket(): ");
        return false;
    }

    std::vector<irdaDeviceInfo> devices;
    for (int pass = 1; pass <= discoveryPasses; ++pass) {
        statusCallback("поиск устройств IrDA... %d", pass);
        devices.clear();
        if (!sockets.enumDevices(socket, devices))
            return failOpen("ошибка функции sockopt(IRLMP_ENUMDEVICES): %d", sockets.lastError());
        if (!devices.empty())
            break;
        // An empty pass is followed by the pause, the fourth one too.
        cancel.sleepUntil(linkClock::now() + discoveryPause);
        if (cancel.requested()) {
            dropSocket();
            return false;
        }
    }
    if (devices.empty())
        return failOpen("Устройства IrDA не найдены", 0);

    const irdaDeviceInfo& chosen = devices.front();
    const std::string name = chosen.name.substr(0, irdaDeviceNameSize);
    statusCallback("найдено %lu устройств (выбрано \"%s\")",
                   static_cast<unsigned long>(devices.size()), name.c_str());

    irdaAttribute parameters;
    if (!sockets.iasQuery(socket, chosen.id, ircommClass, parametersAttribute, parameters))
        return failOpen("ошибка функции sockopt(IRLMP_IAS_QUERY) call failed %d",
                        sockets.lastError());
    if (parameters.type != iasOctetSeq)
        return failOpen("неверный тип атрибута IAS (!= IAS_ATTRIB_OCTETSEQ)", 0);
    const std::size_t length = std::min(parameters.octets.size(), irdaOctetSeqMax);
    if (length < shortestParameters)
        return failOpen("неверная длина атрибута IAS (<3)", 0);
    if (!offersNineWire(parameters.octets.data(), length))
        return failOpen("устройство не поддерживает режим IrCOMM 9wire", 0);

    if (!sockets.setNineWire(socket))
        return failOpen("ошибка функции sockopt(IRLMP_9WIRE_MODE): %d", sockets.lastError());
    statusCallback("Установка соединения по IrCOMM...");
    if (!sockets.connectService(socket, chosen.id, ircommService))
        return failOpen("не могу соединиться с устройством: %d", sockets.lastError());
    return true;
}

// Closes the socket of an open that failed and reports why; format takes code or nothing.
bool irdaTransport::failOpen(const char* format, int code)
{
    sockets.close(socket);
    socket = noSocket;
    errorCallback(format, code);
    return false;
}

// Reports a failure of the open link and releases the socket.
void irdaTransport::failLink(const char* format, int first, int second)
{
    dropSocket();
    errorCallback(format, first, second);
}

int irdaTransport::waitReadable(linkClock::time_point deadline)
{
    return cancel.waitUntil(deadline, [this](int milliseconds) {
        return sockets.waitReadable(socket, milliseconds);
    });
}

std::size_t irdaTransport::exchange(const uint8_t* packet, std::size_t length, uint8_t* reply,
                                    std::size_t capacity)
{
    restDue = {};
    if (sockets.send(socket, packet, length) < 1) {
        failLink("не могу послать данные: %d", sockets.lastError());
        return 0;
    }

    incomingReply incoming(reply, capacity);
    std::size_t expected = incoming.expected();
    while (incoming.received < expected) {
        const int ready = waitReadable(std::min(linkClock::now() + receiveWait, incoming.due()));
        if (ready == 0) {
            restDue = incoming.due();
            return 0;  // time-out, time up or cancel: the bytes received so far are dropped
        }
        if (ready < 0) {
            const int code = errno;
            failLink("фатальная ошибка при чтении (ошибка функции select()): %d/%d", code,
                     sockets.lastError());
            return 0;
        }
        if (incoming.room() == 0)
            return 0;
        // Nothing beyond the reply, as on the serial line: bytes that follow it are no part of it.
        const long got = sockets.receive(socket, incoming.end(), incoming.wanted());
        if (got < 1) {
            failLink("не могу принять данные: %d", sockets.lastError());
            return 0;
        }
        incoming.received += static_cast<std::size_t>(got);
        expected = incoming.expected();
        if (expected == 0)
            return 0;
    }
    return incoming.received;
}

void irdaTransport::clear()
{
    const auto end = std::max(linkClock::now(), restDue) + receiveWait;
    std::vector<uint8_t> scratch(drainBufferSize);
    while (isOpen() && linkClock::now() < end) {
        const int ready = waitReadable(std::min(linkClock::now() + receiveWait, end));
        if (ready == 0)
            return;
        if (ready < 0) {
            const int code = errno;
            failLink("фатальная ошибка при чтении (ошибка функции select()): %d/%d", code,
                     sockets.lastError());
            return;
        }
        // A receive of nothing from a readable socket: the device has closed the connection,
        // and nothing will come any more.
        if (sockets.receive(socket, scratch.data(), scratch.size()) < 1)
            failLink("не могу принять данные: %d", sockets.lastError());
    }
}

void irdaTransport::close()
{
    if (socket != noSocket)
        dropSocket();
}

void irdaTransport::dropSocket()
{
    sockets.shutdown(socket);
    sockets.close(socket);
    socket = noSocket;
}
