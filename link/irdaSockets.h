// The socket operations the IrDA transport needs, as one small interface, so that the
// transport's logic is written once over whatever IrDA stack the platform has. Every failing
// operation leaves its code for lastError().
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Room in the device list the transport asks for: the count and five device entries.
constexpr std::size_t irdaDeviceListRoom = 5;
// Bytes of a device name as the stack's device entry holds it (not necessarily NUL-ended).
constexpr std::size_t irdaDeviceNameSize = 22;
// Longest octet sequence an IAS attribute carries.
constexpr std::size_t irdaOctetSeqMax = 1024;

// Attribute types of the IAS query.
enum irdaAttribType { iasNoAttrib = 0, iasInteger = 1, iasOctetSeq = 2, iasUserString = 3 };

struct irdaDeviceInfo {
    uint32_t id = 0;     // the 4 identifier bytes as they come, in wire order
    std::string name;    // at most irdaDeviceNameSize bytes
};

struct irdaAttribute {
    int type = iasNoAttrib;
    std::vector<uint8_t> octets;   // the octet sequence, at most irdaOctetSeqMax bytes
};

// A socket of the stack: a file descriptor, or a Windows SOCKET; noSocket for none.
using irdaSocket = std::intptr_t;
constexpr irdaSocket noSocket = -1;

class irdaSockets {
public:
    virtual ~irdaSockets() = default;

    // Starts the socket layer; false when it cannot be started.
    virtual bool startup() = 0;
    // A new IrDA stream socket, or noSocket.
    virtual irdaSocket create() = 0;
    // The devices in range, at most irdaDeviceListRoom of them, in the stack's order. Returns
    // within a bounded time, whatever the devices announce.
    virtual bool enumDevices(irdaSocket socket, std::vector<irdaDeviceInfo>& devices) = 0;
    // Asks the device's information base for one attribute of one class.
    virtual bool iasQuery(irdaSocket socket, uint32_t deviceId, const std::string& className,
                          const std::string& attribute, irdaAttribute& result) = 0;
    // IrCOMM 9-wire mode for the connection still to be made.
    virtual bool setNineWire(irdaSocket socket) = 0;
    virtual bool connectService(irdaSocket socket, uint32_t deviceId, const std::string& service) = 0;
    // Bytes sent or received, or -1; a receive of 0 means the peer has closed.
    virtual long send(irdaSocket socket, const uint8_t* data, std::size_t length) = 0;
    virtual long receive(irdaSocket socket, uint8_t* data, std::size_t capacity) = 0;
    // 1 readable, 0 nothing within the milliseconds, -1 failure (errno set as well).
    virtual int waitReadable(irdaSocket socket, int milliseconds) = 0;
    // Shuts both directions down.
    virtual void shutdown(irdaSocket socket) = 0;
    virtual void close(irdaSocket socket) = 0;
    virtual int lastError() const = 0;
};

// The IrDA stack of this platform.
irdaSockets& systemIrdaSockets();
