// Staged files on POSIX: one syncfs for the whole set.
#include "export/stagedFiles.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// One flush for the whole set: a flush per file would cost more than writing thousands of them.
bool stagedFiles::flushAll()
{
    if (files.empty())
        return true;
    const int fd = ::open(files.front().temporary.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(nameOf(files.front().final), errno);
    const bool synced = ::syncfs(fd) == 0;
    const int err = errno;
    ::close(fd);
    return synced || fail(nameOf(files.front().final), err);
}

int folderError(const std::string& path)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return errno != 0 ? errno : ENOENT;
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

bool pathTaken(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}
