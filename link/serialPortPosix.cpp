// The serial port on POSIX: a terminal device in raw mode, every wait a poll through the cancel.
#include "link/serialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "link/portNames.h"

namespace {

using Clock = linkClock;
using Milliseconds = std::chrono::milliseconds;

// The termios constant of an accepted line speed, 0 for any other.
speed_t lineSpeed(int32_t bitsPerSecond)
{
    switch (bitsPerSecond) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return 0;
    }
}

// 8 data bits, no parity, one stop bit, receiver on, and a line that passes every byte value
// unaltered both ways. Terminal devices start out set up for interactive text, so besides the
// frame this switches off whatever alters, adds or swallows bytes: line editing and echo,
// signal characters, CR/NL translation, case folding and the 7-bit strip on input, the doubling
// of 0xFF by parity marking, XON/XOFF (0x11 and 0x13 are ordinary packet bytes; the recorder
// line has no software flow control) and output post-processing. Hardware flow control, modem
// lines and break handling stay as the driver has them.
void setBinaryFrame(termios& tio)
{
    tio.c_cflag = (tio.c_cflag & ~(CSIZE | PARENB | CSTOPB)) | CS8 | CREAD;
    tio.c_iflag &= ~(ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | PARMRK | IXON | IXOFF | IXANY);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ICANON | ECHO | ECHOE | ECHOK | ECHONL | ISIG | IEXTEN);
}

// The total time-out of one read or write of n bytes.
Clock::duration totalLimit(std::size_t n)
{
    return receiveWait + receiveTimePerByte * static_cast<Milliseconds::rep>(n);
}

// Waits until fd is ready for events, the deadline has come or the operation is cancelled:
// 1 ready, 0 time-out or cancel, -1 failure.
int waitUntil(int fd, short events, Clock::time_point deadline, linkCancel& cancel)
{
    return cancel.waitUntil(deadline, [fd, events](int milliseconds) {
        pollfd entry{fd, events, 0};
        int ready;
        do
            ready = poll(&entry, 1, milliseconds);
        while (ready < 0 && errno == EINTR);
        return ready;
    });
}

// Reads up to n more bytes of the reply. Returns when all n are in, when the line has been
// quiet for receiveWait since lastByte (which every arriving byte moves on), when totalLimit(n)
// has passed since the call, when the reply's own time is up (the limit tightens as soon as its
// length field is in) or when the operation is cancelled: the count read, possibly 0, or -1
// with errno set. A hung-up line reads as end of file and counts as the failure EIO.
ssize_t readBounded(int fd, incomingReply& reply, std::size_t n, Clock::time_point& lastByte,
                    linkCancel& cancel)
{
    const auto end = Clock::now() + totalLimit(n);
    std::size_t got = 0;
    while (got < n) {
        const auto deadline = std::min({end, lastByte + receiveWait, reply.due()});
        const int ready = waitUntil(fd, POLLIN, deadline, cancel);
        if (ready <= 0)
            return ready < 0 ? -1 : static_cast<ssize_t>(got);
        const ssize_t count = read(fd, reply.end(), n - got);
        if (count > 0) {
            got += static_cast<std::size_t>(count);
            reply.received += static_cast<std::size_t>(count);
            lastByte = Clock::now();
        } else if (count == 0) {
            errno = EIO;
            return -1;
        } else if (errno != EAGAIN && errno != EINTR) {
            return -1;
        }
    }
    return static_cast<ssize_t>(got);
}

// Writes n bytes, giving up when totalLimit(n) has passed or on a cancel: the count written or
// -1 (errno).
ssize_t writeBounded(int fd, const uint8_t* data, std::size_t n, linkCancel& cancel)
{
    const auto end = Clock::now() + totalLimit(n);
    std::size_t done = 0;
    while (done < n) {
        const int ready = waitUntil(fd, POLLOUT, end, cancel);
        if (ready <= 0)
            return ready < 0 ? -1 : static_cast<ssize_t>(done);
        const ssize_t count = write(fd, data + done, n - done);
        if (count >= 0)
            done += static_cast<std::size_t>(count);
        else if (errno != EAGAIN && errno != EINTR)
            return -1;
    }
    return static_cast<ssize_t>(done);
}

}  // namespace

bool serialPort::open(const std::string& portName, const serialSettings& settings)
{
    close();
    const std::string path = portDevicePath(portName, settings.configuredPort);
    // Non-blocking: the open must not wait for a carrier, and every wait goes through poll.
    const int device = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (device < 0) {
        errorCallback("не могу открыть последовательный порт: %d (%s)", errno, portName.c_str());
        return false;
    }
    // Exclusive use: the advisory lock keeps out every program that asks for it, root included;
    // TIOCEXCL keeps out any other open except root's.
    if (flock(device, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        ::close(device);
        errorCallback("не могу открыть последовательный порт: %d (%s)", code, portName.c_str());
        return false;
    }
    port = device;
    if (ioctl(device, TIOCEXCL) != 0)
        return fail("не могу открыть последовательный порт: %d (%s)", errno, portName);

    termios tio{};
    if (tcgetattr(device, &tio) != 0)
        return fail("не могу выполнить GetCommState: %d (%s)", errno, portName);
    setBinaryFrame(tio);
    if (const speed_t speed = lineSpeed(settings.speed)) {
        cfsetispeed(&tio, speed);
        cfsetospeed(&tio, speed);
    } else {
        errorCallback("недопустимая скорость порта: %d", settings.speed);
    }
    if (tcsetattr(device, TCSANOW, &tio) != 0) {
        errorCallback("не могу установить параметры последовательного порта: %d (%s:%d)", errno,
                      portName.c_str(), settings.speed);
        close();
        return false;
    }
    // The driver's own read timing: hand over whatever is queued at once, and answer an empty
    // queue with EAGAIN rather than a 0-byte read, which stays the sign of a hang-up. The
    // time-outs themselves are the poll deadlines of readBounded and writeBounded.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (tcsetattr(device, TCSANOW, &tio) != 0)
        return fail("не могу установить таймауты для последовательного порта: %d (%s)", errno,
                    portName);
    return true;
}

std::size_t serialPort::exchange(const uint8_t* packet, std::size_t length, uint8_t* reply,
                                 std::size_t capacity)
{
    const int fd = static_cast<int>(port);
    const ssize_t written = writeBounded(fd, packet, length, cancel);
    if (written < 0) {
        errorCallback("ошибка при передаче данных: %d", errno);
        close();
        return 0;
    }
    if (static_cast<std::size_t>(written) < length)
        return 0;

    incomingReply incoming(reply, capacity);
    std::size_t expected = incoming.expected();
    Clock::time_point lastByte = Clock::now();
    while (incoming.received < expected) {
        const ssize_t got = readBounded(fd, incoming, incoming.wanted(), lastByte, cancel);
        if (got < 0) {
            errorCallback("не могу принять данные: %d", errno);
            close();
            return 0;
        }
        if (got == 0)
            return 0;  // time-out, time up or cancel: the bytes received so far are dropped
        expected = incoming.expected();
        if (expected == 0)
            return 0;
    }
    return incoming.received;
}

void serialPort::clear()
{
    if (tcflush(static_cast<int>(port), TCIOFLUSH) != 0) {
        errorCallback("не могу очистить порт: %d", errno);
        close();
    }
}

void serialPort::close()
{
    if (port == closedPort)
        return;
    const int fd = static_cast<int>(port);
    ioctl(fd, TIOCNXCL);  // a pseudo-terminal outlives this open; leave it usable for others
    ::close(fd);
    port = closedPort;
}
