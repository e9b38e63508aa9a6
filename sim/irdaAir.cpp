#include "sim/irdaAir.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

constexpr int idlePollMs = 100;
constexpr std::size_t longestRequest = 256;

// One request line from fd into line: true when a whole line came, false at the end of the
// connection, on a request too long, or when stop is set.
bool readRequest(int fd, std::string& line, const volatile std::sig_atomic_t& stop)
{
    line.clear();
    while (!stop) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, idlePollMs) <= 0)
            continue;
        char c = 0;
        const ssize_t n = read(fd, &c, 1);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0 || line.size() >= longestRequest)
            return false;
        if (c == '\n')
            return true;
        line += c;
    }
    return false;
}

bool writeLine(int fd, const std::string& text)
{
    const std::string line = text + "\n";
    return send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
}

// The device lines of the list, each after the settings' pause: false when the host has gone.
bool writeDeviceLines(int fd, const airSettings& settings, const volatile std::sig_atomic_t& stop)
{
    for (uint64_t i = 0; i < airListLength(settings); ++i) {
        pauseUntil(std::chrono::steady_clock::now() + std::chrono::milliseconds(settings.lineGapMs), stop);
        if (stop || !writeLine(fd, airDeviceLine(settings, i)))
            return false;
    }
    return true;
}

}  // namespace

irdaAir::~irdaAir()
{
    if (listener >= 0) {
        ::close(listener);
        unlink(path.c_str());
    }
}

bool irdaAir::open(std::string& error)
{
    sockaddr_un address{};
    const std::string temporary = path + "." + std::to_string(getpid()) + ".tmp";
    if (temporary.size() >= sizeof address.sun_path) {
        error = path + ": the path is too long for a Unix-domain socket";
        return false;
    }
    struct stat existing {};
    if (lstat(path.c_str(), &existing) == 0 && !S_ISSOCK(existing.st_mode)) {
        error = path + " exists and is not a socket; it is left alone";
        return false;
    }
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, temporary.c_str(), sizeof address.sun_path - 1);
    unlink(temporary.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
        || listen(fd, 4) != 0 || rename(temporary.c_str(), path.c_str()) != 0) {
        error = path + ": cannot serve the air: " + std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        unlink(temporary.c_str());
        return false;
    }
    listener = fd;
    return true;
}

void irdaAir::serve(simDevice& device, const lineSettings& line,
                    const volatile std::sig_atomic_t& stop)
{
    while (!stop) {
        pollfd p{listener, POLLIN, 0};
        if (poll(&p, 1, idlePollMs) <= 0)
            continue;
        const int host = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (host < 0)
            continue;
        serveHost(host, device, line, stop);
        ::close(host);
    }
}

// The stack's requests until a connection is made, then the device on the byte stream until
// the host closes it, a hang-up fault closes it here, or stop is set.
void irdaAir::serveHost(int fd, simDevice& device, const lineSettings& line,
                        const volatile std::sig_atomic_t& stop)
{
    std::string request;
    std::optional<uint32_t> target;
    while (!target) {
        if (!readRequest(fd, request, stop))
            return;
        const std::string answer = answerAirRequest(request, settings, target);
        if (line.verbose)
            std::fprintf(stderr, "air: %s -> %s\n", request.c_str(), answer.c_str());
        if (!writeLine(fd, answer) || (request == "ENUM" && !writeDeviceLines(fd, settings, stop)))
            return;
    }
    connected.push_back(*target);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    serveLine(fd, device, line, stop);
}
