#include "sim/ptyLine.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

std::string failure(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// The slave side passes every byte unaltered: no echo, no line editing, no translation.
bool makeRaw(const std::string& slavePath, std::string& error)
{
    const int fd = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        error = failure("cannot open the slave side");
        return false;
    }
    termios tio{};
    bool ok = tcgetattr(fd, &tio) == 0;
    if (ok) {
        cfmakeraw(&tio);
        ok = tcsetattr(fd, TCSANOW, &tio) == 0;
    }
    if (!ok)
        error = failure("cannot set raw mode");
    ::close(fd);
    return ok;
}

// Whether path is a symlink to target.
bool linksTo(const std::string& path, const std::string& target)
{
    std::vector<char> buffer(target.size() + 2);
    const ssize_t n = readlink(path.c_str(), buffer.data(), buffer.size());
    return n >= 0 && std::string(buffer.data(), static_cast<std::size_t>(n)) == target;
}

}  // namespace

ptyLine::~ptyLine() { close(); }

void ptyLine::awaitHostRead() const
{
    using namespace std::chrono;
    // Bytes written reach the slave's input queue a moment later, from the kernel's buffer.
    std::this_thread::sleep_for(milliseconds(100));
    // The queue is seen through a slave descriptor of our own; a host holding the terminal
    // exclusively refuses it, and a longer pause has to do.
    const int fd = ::open(slave.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        std::this_thread::sleep_for(milliseconds(400));
        return;
    }
    const auto deadline = steady_clock::now() + seconds(2);
    int waiting = 0;
    while (ioctl(fd, FIONREAD, &waiting) == 0 && waiting > 0 && steady_clock::now() < deadline)
        std::this_thread::sleep_for(milliseconds(10));
    ::close(fd);
}

void ptyLine::close()
{
    if (master < 0)
        return;
    if (linksTo(linkPath, slave))
        unlink(linkPath.c_str());
    ::close(master);
    master = -1;
}

bool ptyLine::open(std::string& error)
{
    close();
    struct stat existing {};
    if (lstat(linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        error = linkPath + " exists and is not a symlink; it is left alone";
        return false;
    }
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) {
        error = failure("cannot open a pseudo-terminal");
        return false;
    }
    char name[128];
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0) {
        error = failure("cannot prepare the pseudo-terminal");
        ::close(master);
        master = -1;
        return false;
    }
    slave = name;
    const std::string temporary = linkPath + ".new" + std::to_string(getpid());
    unlink(temporary.c_str());
    if (!makeRaw(slave, error) || fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0
        || symlink(slave.c_str(), temporary.c_str()) != 0 || rename(temporary.c_str(), linkPath.c_str()) != 0) {
        if (error.empty())
            error = failure(("cannot make the link " + linkPath).c_str());
        unlink(temporary.c_str());
        ::close(master);
        master = -1;
        return false;
    }
    return true;
}
