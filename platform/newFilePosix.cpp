#include "platform/newFile.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool newFile::create(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return fail(errno);
    handle = fd;
    return true;
}

// The owner goes first, since changing it clears the set-user and set-group bits; a file that
// stays the user's own gets none of them.
void newFile::takePermissionsOf(const std::string& existing)
{
    struct stat old;
    if (handle < 0 || ::stat(existing.c_str(), &old) != 0)
        return;
    const int fd = static_cast<int>(handle);
    mode_t mode = old.st_mode & 07777;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0)
        mode &= 0777;
    ::fchmod(fd, mode);
}

bool newFile::write(std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(static_cast<int>(handle), data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool newFile::flush() { return ::fsync(static_cast<int>(handle)) == 0 || fail(errno); }

bool newFile::close()
{
    if (handle < 0)
        return true;
    const int fd = static_cast<int>(handle);
    handle = -1;
    return ::close(fd) == 0 || fail(errno);
}

bool moveOver(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

unsigned long currentProcessId() { return static_cast<unsigned long>(::getpid()); }
