#include "platform/newFile.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/fileErrorsWindows.h"

namespace {

HANDLE native(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

bool newFile::create(const std::string& path)
{
    const HANDLE file = CreateFileW(widePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return fail(errorNumber(GetLastError()));
    handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

void newFile::takePermissionsOf(const std::string&) {}

bool newFile::write(std::string_view data)
{
    while (!data.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(native(handle), data.data(), chunk, &written, nullptr))
            return fail(errorNumber(GetLastError()));
        if (written == 0)
            return fail(ENOSPC);
        data.remove_prefix(written);
    }
    return true;
}

bool newFile::flush() { return FlushFileBuffers(native(handle)) || fail(errorNumber(GetLastError())); }

bool newFile::close()
{
    if (handle == -1)
        return true;
    const HANDLE file = native(handle);
    handle = -1;
    return CloseHandle(file) || fail(errorNumber(GetLastError()));
}

bool moveOver(const std::string& from, const std::string& to)
{
    if (MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    errno = errorNumber(GetLastError());
    return false;
}

bool removeFile(const std::string& path) { return DeleteFileW(widePath(path).c_str()); }

void syncFolder(const std::string&) {}   // a move with MOVEFILE_WRITE_THROUGH is on the disk

unsigned long currentProcessId() { return GetCurrentProcessId(); }
