// Whole-file reading and replacing on Windows, with wide file names from the UTF-8 paths.
#include "data/wholeFile.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

#include "data/saveTemporaries.h"
#include "platform/fileErrorsWindows.h"
#include "platform/newFile.h"

namespace fs = std::filesystem;

namespace {

// The attributes a replaced file keeps (a read-only one is not replaced).
constexpr DWORD keptAttributes =
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::string utf8(const fs::path& path) { return path.u8string(); }

class ownedHandle {
public:
    explicit ownedHandle(HANDLE handle) : handle(handle) {}
    ~ownedHandle()
    {
        if (valid())
            CloseHandle(handle);
    }
    ownedHandle(const ownedHandle&) = delete;
    ownedHandle& operator=(const ownedHandle&) = delete;

    bool valid() const { return handle != INVALID_HANDLE_VALUE; }
    bool close()
    {
        const bool closed = CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
        return closed;
    }

    HANDLE handle;
};

// An existing file or device opened for reading its attributes only, following links.
HANDLE openExisting(const std::string& path, DWORD access)
{
    return CreateFileW(widePath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A file on a disk: neither a folder nor a device (CON, NUL, COM1), pipe or console.
bool regularFile(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info)
        && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string computerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

bool processRunning(DWORD id)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return GetLastError() != ERROR_INVALID_PARAMETER;   // no such process; else not ours to judge
    DWORD exitCode = 0;
    const bool running = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

// Removes the temporary files in the folder that saves of this computer left when they were
// killed: plain files whose writing process has ended.
void removeStaleTemporaries(const fs::path& folder, const std::string& computer)
{
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const DWORD writer = static_cast<DWORD>(saveTemporaryWriter(utf8(entry->path().filename()), computer));
        if (writer == 0 || writer == GetCurrentProcessId() || processRunning(writer))
            continue;
        std::error_code ignored;
        if (entry->is_regular_file(ignored) && !entry->is_symlink(ignored))
            fs::remove(entry->path(), ignored);
    }
}

// The file that path names: path itself, or the file its links lead to when it exists.
std::string finalPath(const std::string& path)
{
    ownedHandle file(CreateFileW(widePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid())
        return path;
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(file.handle, name.data(), static_cast<DWORD>(name.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return path;
        if (length < name.size()) {
            name.resize(length);
            return utf8(fs::path(name));
        }
        name.resize(length);
    }
}

}  // namespace

std::optional<std::string> readWholeFile(const std::string& path)
{
    ownedHandle file(openExisting(path, GENERIC_READ));
    LARGE_INTEGER size;
    if (!file.valid() || !regularFile(file.handle) || !GetFileSizeEx(file.handle, &size))
        return std::nullopt;
    std::string contents;
    contents.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(file.handle, buffer, sizeof buffer, &n, nullptr))
            return std::nullopt;
        if (n == 0)
            return contents;
        contents.append(buffer, n);
    }
}

bool replaceWholeFile(const std::string& path, std::string_view contents)
{
    const std::string target = finalPath(path);
    bool exists = false;
    DWORD attributes = 0;
    {
        ownedHandle old(openExisting(target, 0));
        if (old.valid()) {
            // The read-only attribute is the file's "may not write"; the system checks the rest.
            BY_HANDLE_FILE_INFORMATION info;
            if (!regularFile(old.handle) || !GetFileInformationByHandle(old.handle, &info)
                || (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
                return false;
            exists = true;
            attributes = info.dwFileAttributes & keptAttributes;
        }
    }

    const fs::path targetPath = fs::u8path(target);
    const fs::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : fs::path(".");
    const std::string computer = computerName();
    removeStaleTemporaries(folder, computer);
    newFile file;
    const std::string temporary = createSaveTemporary(file, utf8(folder / ""), computer);
    if (temporary.empty())
        return false;
    const bool written = file.write(contents) && file.flush();
    // An existing file is replaced in place, keeping its attributes, access rights and owner;
    // a new one is moved into place through to the disk.
    const bool done = file.close() && written &&
        (exists ? ReplaceFileW(targetPath.c_str(), widePath(temporary).c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                : moveOver(temporary, target));
    if (!done) {
        removeFile(temporary);
        return false;
    }
    // ReplaceFileW gives the new file the old one's attributes; not every implementation does.
    if (exists)
        SetFileAttributesW(targetPath.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
    return true;
}
