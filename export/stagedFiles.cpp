#include "export/stagedFiles.h"

#include <cerrno>

stagedFiles::stagedFiles(std::string folder) : folder(std::move(folder)) {}

stagedFiles::~stagedFiles() { giveUp(); }

bool stagedFiles::fail(const std::string& name, int err)
{
    error = err != 0 ? err : EIO;
    failed = name;
    return false;
}

// A new file beside the final one, under a name no other file has; -1 on failure. Hidden (a
// leading dot), so that a file manager showing the folder meanwhile shows no half-written file.
int stagedFiles::createTemporary(const std::string& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary =
            folder + "/." + name + ".tmp" + std::to_string(processId()) + "-" + std::to_string(attempt);
        const int fd = createNew(temporary);
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
        const long n = writeSome(fd, contents.data(), contents.size());
        if (n <= 0) {
            const int err = n < 0 ? errno : ENOSPC;
            closeFile(fd);
            return fail(name, err);
        }
        contents.remove_prefix(static_cast<std::size_t>(n));
    }
    if (closeFile(fd) != 0)
        return fail(name, errno);
    return true;
}

std::string stagedFiles::reserve(const std::string& name)
{
    const int fd = createTemporary(name);
    if (fd < 0)
        return std::string();
    closeFile(fd);
    return files.back().temporary;
}

std::string fileErrorText(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return "нет прав на запись";
    case ENOSPC:
        return "нет места на диске";
#ifdef EDQUOT  // not a code of every platform
    case EDQUOT:
        return "превышена дисковая квота";
#endif
    case EROFS:
        return "диск доступен только для чтения";
    case ENOENT:
        return "папка не существует";
    case ENOTDIR:
        return "путь не является папкой";
    case EISDIR:
        return "на месте файла находится папка с тем же именем";
    case ENAMETOOLONG:
        return "слишком длинное имя";
    default:
        return "ошибка ввода-вывода " + std::to_string(err);
    }
}
