// Staged files on POSIX: temporaries made with O_EXCL, one syncfs for the set, renames.
#include "export/stagedFiles.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A new file beside the final one, under a name no other file has; -1 on failure. Hidden (a
// leading dot), so that a file manager showing the folder meanwhile shows no half-written file.
int stagedFiles::createTemporary(const std::string& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary = folder + "/." + name + ".tmp" + std::to_string(::getpid()) + "-" +
                                      std::to_string(attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            files.push_back({temporary, folder + "/" + name});
            return fd;
        }
        if (errno != EEXIST)
            break;
    }
    fail(name, errno);
    return -1;
}

bool stagedFiles::add(const std::string& name, std::string_view contents)
{
    const int fd = createTemporary(name);
    if (fd < 0)
        return false;
    while (!contents.empty()) {
        const ssize_t n = ::write(fd, contents.data(), contents.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : ENOSPC;
            ::close(fd);
            return fail(name, err);
        }
        contents.remove_prefix(static_cast<std::size_t>(n));
    }
    if (::close(fd) != 0)
        return fail(name, errno);
    return true;
}

std::string stagedFiles::reserve(const std::string& name)
{
    const int fd = createTemporary(name);
    if (fd < 0)
        return std::string();
    ::close(fd);
    return files.back().temporary;
}

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
