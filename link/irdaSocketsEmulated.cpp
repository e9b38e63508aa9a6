// The IrDA stack on a platform without IrDA sockets: an emulated stack whose "air" is a
// Unix-domain socket at the path in the environment variable BRENNIX_IRDA. Whoever listens
// there (the simulator) plays the devices in range. Each IrDA socket is one stream to the air
// that first carries a small line protocol, one request and one reply line at a time:
//   ENUM                          -> DEVICES n, then n lines DEVICE <8 hex id> <name>
//   IAS <id> <class> <attribute>  -> ATTR <type> [<hex octets>]
//   NINEWIRE                      -> OK
//   CONNECT <id> <service>        -> OK, and from then on the stream is the IrCOMM byte stream
// and any request may be answered ERR <code> instead. Without BRENNIX_IRDA there is no stack:
// no socket can be created. An air that nobody serves has no devices in range.
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "link/irdaAirText.h"
#include "link/irdaSockets.h"

namespace {

using Clock = std::chrono::steady_clock;

// Longest wait for the whole answer of the air to one request (the device list with all its
// lines included), and the longest line.
constexpr auto answerWait = std::chrono::seconds(2);
constexpr std::size_t longestLine = 2 * irdaOctetSeqMax + 64;

const char* airPath()
{
    const char* path = std::getenv("BRENNIX_IRDA");
    return path && *path ? path : nullptr;
}

// Waits until fd is readable or the deadline has come: 1 ready, 0 time-out, -1 failure.
int pollUntil(int fd, Clock::time_point deadline)
{
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, static_cast<int>(left > 0 ? left : 0));
        if (ready >= 0 || errno != EINTR)
            return ready;
    }
}

class emulatedIrdaSockets final : public irdaSockets {
public:
    bool startup() override { return true; }

    irdaSocket create() override
    {
        const char* path = airPath();
        if (!path || std::strlen(path) >= sizeof(sockaddr_un::sun_path))
            return fail(EAFNOSUPPORT);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        return fd >= 0 ? fd : fail(errno);
    }

    bool enumDevices(irdaSocket socket, std::vector<irdaDeviceInfo>& devices) override
    {
        devices.clear();
        bool empty = false;
        if (!reachAir(socket, empty))
            return false;
        if (empty)
            return true;
        // The whole list must come within the answer's time, however many devices it announces:
        // an air that announces billions and talks slowly cannot hold discovery.
        const auto deadline = Clock::now() + answerWait;
        std::string line;
        if (!request(socket, "ENUM", line))
            return false;
        std::istringstream fields(line);
        std::string word;
        unsigned long long count = 0;
        if (!(fields >> word >> count) || word != "DEVICES")
            return failed(EPROTO);
        for (unsigned long long i = 0; i < count; ++i) {
            if (!readLine(socket, line, deadline))
                return false;
            unsigned id = 0;
            int nameAt = 0;
            if (std::sscanf(line.c_str(), "DEVICE %8x %n", &id, &nameAt) != 1 || nameAt == 0)
                return failed(EPROTO);
            // The list has room for a few entries; the stack leaves out the rest.
            if (devices.size() < irdaDeviceListRoom)
                devices.push_back({id, line.substr(static_cast<std::size_t>(nameAt), irdaDeviceNameSize)});
        }
        return true;
    }

    bool iasQuery(irdaSocket socket, uint32_t deviceId, const std::string& className,
                  const std::string& attribute, irdaAttribute& result) override
    {
        std::string line;
        if (!request(socket, "IAS " + airIdText(deviceId) + " " + className + " " + attribute, line))
            return false;
        std::istringstream fields(line);
        std::string word, hex;
        if (!(fields >> word >> result.type) || word != "ATTR")
            return failed(EPROTO);
        fields >> hex;  // types other than an octet sequence carry no octets here
        return parseAirOctets(hex, irdaOctetSeqMax, result.octets) || failed(EPROTO);
    }

    bool setNineWire(irdaSocket socket) override
    {
        std::string line;
        return request(socket, "NINEWIRE", line) && expectOk(line);
    }

    bool connectService(irdaSocket socket, uint32_t deviceId, const std::string& service) override
    {
        std::string line;
        return request(socket, "CONNECT " + airIdText(deviceId) + " " + service, line)
            && expectOk(line);
    }

    long send(irdaSocket socket, const uint8_t* data, std::size_t length) override
    {
        const ssize_t n = ::send(socket, data, length, MSG_NOSIGNAL);
        return n >= 0 ? static_cast<long>(n) : fail(errno);
    }

    long receive(irdaSocket socket, uint8_t* data, std::size_t capacity) override
    {
        const ssize_t n = ::recv(socket, data, capacity, 0);
        if (n == 0)
            error = ECONNRESET;  // the device has closed the connection
        return n >= 0 ? static_cast<long>(n) : fail(errno);
    }

    int waitReadable(irdaSocket socket, int milliseconds) override
    {
        const int ready = pollUntil(socket, Clock::now() + std::chrono::milliseconds(milliseconds));
        if (ready < 0)
            error = errno;
        return ready;
    }

    void shutdown(irdaSocket socket) override { ::shutdown(socket, SHUT_RDWR); }
    void close(irdaSocket socket) override { ::close(socket); }
    int lastError() const override { return error; }

private:
    int fail(int code)
    {
        error = code;
        return -1;
    }

    bool failed(int code)
    {
        error = code;
        return false;
    }

    // Connects the socket to the air unless it is already; empty when nobody serves the air.
    bool reachAir(irdaSocket socket, bool& empty)
    {
        sockaddr_un peer{};
        socklen_t size = sizeof peer;
        if (getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &size) == 0)
            return true;
        const char* path = airPath();
        if (!path)
            return failed(EAFNOSUPPORT);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path, sizeof address.sun_path - 1);
        if (connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return true;
        if (errno == ENOENT || errno == ECONNREFUSED) {
            empty = true;
            return true;
        }
        return failed(errno);
    }

    bool request(irdaSocket socket, const std::string& text, std::string& reply)
    {
        const std::string line = text + "\n";
        if (::send(socket, line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size()))
            return failed(errno ? errno : EPIPE);
        if (!readLine(socket, reply, Clock::now() + answerWait))
            return false;
        int code = 0;
        if (std::sscanf(reply.c_str(), "ERR %d", &code) == 1)
            return failed(code);
        return true;
    }

    // One reply line that has come by the deadline, read a byte at a time so that nothing of a
    // byte stream after it is taken.
    bool readLine(irdaSocket socket, std::string& line, Clock::time_point deadline)
    {
        line.clear();
        for (;;) {
            const int ready = pollUntil(socket, deadline);
            if (ready <= 0)
                return failed(ready < 0 ? errno : ETIMEDOUT);
            char c = 0;
            const ssize_t n = ::recv(socket, &c, 1, 0);
            if (n == 0)
                return failed(ECONNRESET);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return failed(errno);
            }
            if (c == '\n')
                return true;
            if (line.size() >= longestLine)
                return failed(EPROTO);
            line += c;
        }
    }

    bool expectOk(const std::string& line) { return line == "OK" || failed(EPROTO); }

    int error = 0;
};

}  // namespace

irdaSockets& systemIrdaSockets()
{
    static emulatedIrdaSockets sockets;
    return sockets;
}
