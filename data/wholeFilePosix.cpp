// Whole-file reading and replacing on POSIX systems.
#include "data/wholeFile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "data/saveTemporaries.h"
#include "platform/newFile.h"

namespace {

bool readAll(int fd, std::string& contents)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0;
        contents.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace

std::optional<std::string> readWholeFile(const std::string& path)
{
    // Anything but a regular file is refused before it is opened: a FIFO would wait for a writer,
    // a device would be read without end, and opening some devices acts on them.
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::string> contents;
    // Checked again on what was opened, in case the name was taken by another file meanwhile.
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::fcntl(fd, F_SETFL, 0) == 0) {
        // Sized once from the file's length: growing by doubling would hold up to three times
        // the file while the last copy is made.
        std::string text;
        text.reserve(static_cast<std::size_t>(info.st_size));
        if (readAll(fd, text))
            contents = std::move(text);
    }
    ::close(fd);
    return contents;
}

namespace {

std::string hostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return std::string();
    return name;
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string folderOrCurrent(const std::string& folder) { return folder.empty() ? "." : folder; }

// The file that path names: path itself, or the file its chain of symbolic links leads to,
// whether that exists or not; nothing for a chain too long or unreadable.
std::optional<std::string> linkTarget(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::vector<char> target(4096);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) == target.size())
            return std::nullopt;
        const std::string next(target.data(), static_cast<std::size_t>(length));
        path = next[0] == '/' ? next : folderOf(path) + next;
    }
    return std::nullopt;
}

bool inGroup(gid_t group)
{
    if (group == ::getegid())
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    const int listed = ::getgroups(static_cast<int>(groups.size()), groups.data());
    return listed > 0 && std::find(groups.begin(), groups.begin() + listed, group) != groups.begin() + listed;
}

// Whether the file's permission bits give this user the right to write it. The bits are judged
// as for every user: the administrator's power to write anyway is not taken as leave to replace
// a file marked read-only or one that belongs to someone else.
bool userMayWrite(const struct stat& info)
{
    if (info.st_uid == ::geteuid())
        return info.st_mode & S_IWUSR;
    if (inGroup(info.st_gid))
        return info.st_mode & S_IWGRP;
    return info.st_mode & S_IWOTH;
}

// Removes the temporary files in the folder that saves of this computer left when they were
// killed: regular files of this user whose writing process has ended.
void removeStaleTemporaries(const std::string& folder, const std::string& host)
{
    DIR* directory = ::opendir(folderOrCurrent(folder).c_str());
    if (!directory)
        return;
    const int fd = ::dirfd(directory);
    while (const dirent* entry = ::readdir(directory)) {
        const pid_t writer = static_cast<pid_t>(saveTemporaryWriter(entry->d_name, host));
        if (writer <= 0 || writer == ::getpid() || ::kill(writer, 0) == 0 || errno != ESRCH)
            continue;
        struct stat info;
        if (::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::geteuid())
            ::unlinkat(fd, entry->d_name, 0);
    }
    ::closedir(directory);
}

}  // namespace

bool replaceWholeFile(const std::string& path, std::string_view contents)
{
    const std::optional<std::string> target = linkTarget(path);
    if (!target)
        return false;
    struct stat old;
    const bool exists = ::stat(target->c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || !userMayWrite(old)))
        return false;

    const std::string folder = folderOf(*target);
    const std::string host = hostName();
    removeStaleTemporaries(folder, host);
    newFile file;
    const std::string temporary = createSaveTemporary(file, folder, host);
    if (temporary.empty())
        return false;
    if (exists)
        file.takePermissionsOf(*target);
    const bool written = file.write(contents) && file.flush();
    if (!file.close() || !written || !moveOver(temporary, *target)) {
        removeFile(temporary);
        return false;
    }
    syncFolder(folder);
    return true;
}
