#include "tests/support/ptyPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "link/codings.h"

ptyPeer::ptyPeer()
{
    master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    path = ptsname(master);
    slave = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0)
        throw std::runtime_error("cannot open " + path);
}

ptyPeer::~ptyPeer()
{
    stop();
    if (master >= 0)
        close(master);
    close(slave);
}

void ptyPeer::start(Script script)
{
    thread = std::thread(&ptyPeer::serve, this, std::move(script));
}

void ptyPeer::stop()
{
    if (!thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    thread.join();
}

std::vector<std::vector<uint8_t>> ptyPeer::requests() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return received;
}

void ptyPeer::serve(Script script)
{
    std::vector<uint8_t> request;
    for (int index = 0; readPacket(request); ++index) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            received.push_back(request);
        }
        const Answer answer = script(index, request);
        std::this_thread::sleep_for(answer.delay);
        if (answer.hangUp) {
            close(master);
            master = -1;
            return;
        }
        for (std::size_t done = 0; done < answer.bytes.size();) {
            const ssize_t n = write(master, answer.bytes.data() + done, answer.bytes.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (errno != EAGAIN && errno != EINTR)
                return;
        }
    }
}

// Waits for one whole request; false once the peer is told to stop.
bool ptyPeer::readPacket(std::vector<uint8_t>& packet)
{
    packet.clear();
    std::size_t wanted = 4;
    while (packet.size() < wanted) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (stopping)
                return false;
        }
        pollfd entry{master, POLLIN, 0};
        if (poll(&entry, 1, 20) <= 0)
            continue;
        uint8_t chunk[512];
        const std::size_t room = std::min(sizeof chunk, wanted - packet.size());
        const ssize_t n = read(master, chunk, room);
        if (n > 0)
            packet.insert(packet.end(), chunk, chunk + n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (packet.size() >= 4)
            wanted = std::max<std::size_t>(4, getBe16(&packet[2]));
    }
    return true;
}
