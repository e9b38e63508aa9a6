// Staged files on POSIX: temporaries made with O_EXCL, one syncfs for the set, renames.
#include "export/stagedFiles.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int stagedFiles::createNew(const std::string& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

unsigned long stagedFiles::processId() { return static_cast<unsigned long>(::getpid()); }

long stagedFiles::writeSome(int fd, const char* data, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::write(fd, data, size);
        if (n >= 0 || errno != EINTR)
            return static_cast<long>(n);
    }
}

int stagedFiles::closeFile(int fd) { return ::close(fd); }

bool stagedFiles::commit()
{
    // One flush for the whole set: a flush per file would cost more than writing thousands of them.
    for (const staged& file : files) {
        const int fd = ::open(file.temporary.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return fail(file.final.substr(folder.size() + 1), errno);
        const bool synced = ::syncfs(fd) == 0;
        const int err = errno;
        ::close(fd);
        if (!synced)
            return fail(file.final.substr(folder.size() + 1), err);
        break;
    }
    for (std::size_t i = 0; i < files.size(); ++i)
        if (::rename(files[i].temporary.c_str(), files[i].final.c_str()) != 0) {
            const int err = errno;
            // Those renamed stay: they are complete. The rest go.
            files.erase(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(i));
            return fail(files.front().final.substr(folder.size() + 1), err);
        }
    files.clear();
    const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
    return true;
}

void stagedFiles::giveUp()
{
    for (const staged& file : files)
        ::unlink(file.temporary.c_str());
    files.clear();
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
