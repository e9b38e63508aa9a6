// Staged files on Windows: temporaries made exclusively under wide names, each flushed before
// the renames, which replace existing files and go through to the disk.
#include "export/stagedFiles.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace {

std::wstring wide(const std::string& path) { return std::filesystem::u8path(path).wstring(); }

// The error number of a Windows error, as fileErrorText knows them.
int errorNumber(DWORD code)
{
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}

}  // namespace

int stagedFiles::createNew(const std::string& path)
{
    return _wopen(wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}

unsigned long stagedFiles::processId() { return GetCurrentProcessId(); }

long stagedFiles::writeSome(int fd, const char* data, std::size_t size)
{
    return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}

int stagedFiles::closeFile(int fd) { return _close(fd); }

bool stagedFiles::commit()
{
    // Windows flushes file by file.
    for (const staged& file : files) {
        const int fd = _wopen(wide(file.temporary).c_str(), _O_RDWR | _O_BINARY);
        const bool flushed = fd >= 0 && _commit(fd) == 0;
        const int err = errno;
        if (fd >= 0)
            _close(fd);
        if (!flushed)
            return fail(file.final.substr(folder.size() + 1), err);
    }
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!MoveFileExW(wide(files[i].temporary).c_str(), wide(files[i].final).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const int err = errorNumber(GetLastError());
            // Those renamed stay: they are complete. The rest go.
            files.erase(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(i));
            return fail(files.front().final.substr(folder.size() + 1), err);
        }
    files.clear();
    return true;
}

void stagedFiles::giveUp()
{
    for (const staged& file : files)
        _wunlink(wide(file.temporary).c_str());
    files.clear();
}

int folderError(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return errorNumber(GetLastError());
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : ENOTDIR;
}

bool pathTaken(const std::string& path) { return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }
