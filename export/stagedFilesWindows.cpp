// Staged files on Windows: each file flushed before the renames.
#include "export/stagedFiles.h"

#include <windows.h>

#include <cerrno>

#include "platform/fileErrorsWindows.h"

// Windows flushes file by file.
bool stagedFiles::flushAll()
{
    for (const staged& file : files) {
        const HANDLE handle = CreateFileW(widePath(file.temporary).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        const bool flushed = handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
        const int err = errorNumber(GetLastError());
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        if (!flushed)
            return fail(nameOf(file.final), err);
    }
    return true;
}

int folderError(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return errorNumber(GetLastError());
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : ENOTDIR;
}

bool pathTaken(const std::string& path) { return GetFileAttributesW(widePath(path).c_str()) != INVALID_FILE_ATTRIBUTES; }
