// The IrDA stack of Windows: Windows Sockets 1.1 with the IrDA address family. Where the system
// has no IrDA (no infrared driver, or Wine), creating the socket fails.
#include <winsock2.h>
#include <af_irda.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "link/irdaSockets.h"

namespace {

// Buffers of the two queries: the device list with room for its count and five entries, and
// the IAS query with its attribute.
constexpr int deviceListBytes = 152;
constexpr int iasQueryBytes = 1385;
static_assert(sizeof(DEVICELIST) + (irdaDeviceListRoom - 1) * sizeof(IRDA_DEVICE_INFO) <= deviceListBytes);
static_assert(sizeof(IAS_QUERY) <= iasQueryBytes);
static_assert(sizeof(SOCKADDR_IRDA) == 32);
static_assert(sizeof(IRDA_DEVICE_INFO::irdaDeviceName) == irdaDeviceNameSize);

SOCKET handleOf(irdaSocket socket) { return static_cast<SOCKET>(socket); }

uint32_t deviceId(const u_char bytes[4])
{
    uint32_t id;
    std::memcpy(&id, bytes, sizeof id);
    return id;
}

void putDeviceId(uint32_t id, u_char bytes[4]) { std::memcpy(bytes, &id, sizeof id); }

// A text copied into a fixed field, cut to leave its terminator.
template <std::size_t size>
void putText(const std::string& text, char (&field)[size])
{
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

class winsockIrdaSockets final : public irdaSockets {
public:
    bool startup() override
    {
        WSADATA data;
        return WSAStartup(MAKEWORD(1, 1), &data) == 0;
    }

    irdaSocket create() override
    {
        const SOCKET s = ::socket(AF_IRDA, SOCK_STREAM, 0);
        return s == INVALID_SOCKET ? noSocket : static_cast<irdaSocket>(s);
    }

    bool enumDevices(irdaSocket socket, std::vector<irdaDeviceInfo>& devices) override
    {
        // DEVICELIST is a count followed by the entries: the buffer is of 4-byte units so that
        // the count is aligned.
        std::vector<uint32_t> buffer((deviceListBytes + 3) / 4);
        auto* list = reinterpret_cast<DEVICELIST*>(buffer.data());
        list->numDevice = 0;
        int length = deviceListBytes;
        if (getsockopt(handleOf(socket), SOL_IRLMP, IRLMP_ENUMDEVICES, reinterpret_cast<char*>(list), &length) != 0)
            return false;
        devices.clear();
        const std::size_t count = std::min<std::size_t>(list->numDevice, irdaDeviceListRoom);
        const auto* entries = reinterpret_cast<const IRDA_DEVICE_INFO*>(
            reinterpret_cast<const char*>(list) + offsetof(DEVICELIST, Device));
        for (std::size_t i = 0; i < count; ++i) {
            const IRDA_DEVICE_INFO& entry = entries[i];
            const char* name = entry.irdaDeviceName;
            devices.push_back({deviceId(entry.irdaDeviceID),
                               std::string(name, strnlen(name, sizeof entry.irdaDeviceName))});
        }
        return true;
    }

    bool iasQuery(irdaSocket socket, uint32_t id, const std::string& className, const std::string& attribute,
                  irdaAttribute& result) override
    {
        std::vector<uint32_t> buffer((iasQueryBytes + 3) / 4);
        auto* query = reinterpret_cast<IAS_QUERY*>(buffer.data());
        putDeviceId(id, query->irdaDeviceID);
        putText(className, query->irdaClassName);
        putText(attribute, query->irdaAttribName);
        int length = iasQueryBytes;
        if (getsockopt(handleOf(socket), SOL_IRLMP, IRLMP_IAS_QUERY, reinterpret_cast<char*>(query), &length) != 0)
            return false;
        result.type = static_cast<int>(query->irdaAttribType);
        result.octets.clear();
        if (result.type == iasOctetSeq) {
            const auto& sequence = query->irdaAttribute.irdaAttribOctetSeq;
            const std::size_t n = std::min<std::size_t>(sequence.Len, sizeof sequence.OctetSeq);
            result.octets.assign(sequence.OctetSeq, sequence.OctetSeq + n);
        }
        return true;
    }

    bool setNineWire(irdaSocket socket) override
    {
        const int on = 1;
        return setsockopt(handleOf(socket), SOL_IRLMP, IRLMP_9WIRE_MODE, reinterpret_cast<const char*>(&on),
                          sizeof on) == 0;
    }

    bool connectService(irdaSocket socket, uint32_t id, const std::string& service) override
    {
        SOCKADDR_IRDA address{};
        address.irdaAddressFamily = AF_IRDA;
        putDeviceId(id, address.irdaDeviceID);
        putText(service, address.irdaServiceName);
        return connect(handleOf(socket), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }

    long send(irdaSocket socket, const uint8_t* data, std::size_t length) override
    {
        return ::send(handleOf(socket), reinterpret_cast<const char*>(data), static_cast<int>(length), 0);
    }

    long receive(irdaSocket socket, uint8_t* data, std::size_t capacity) override
    {
        return recv(handleOf(socket), reinterpret_cast<char*>(data), static_cast<int>(capacity), 0);
    }

    int waitReadable(irdaSocket socket, int milliseconds) override
    {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(handleOf(socket), &readable);
        timeval wait{milliseconds / 1000, milliseconds % 1000 * 1000};
        const int ready = select(0, &readable, nullptr, nullptr, &wait);
        if (ready == SOCKET_ERROR)
            return -1;
        return ready > 0 && FD_ISSET(handleOf(socket), &readable) ? 1 : 0;
    }

    void shutdown(irdaSocket socket) override { ::shutdown(handleOf(socket), SD_BOTH); }
    void close(irdaSocket socket) override { closesocket(handleOf(socket)); }
    int lastError() const override { return WSAGetLastError(); }
};

}  // namespace

irdaSockets& systemIrdaSockets()
{
    static winsockIrdaSockets sockets;
    return sockets;
}
