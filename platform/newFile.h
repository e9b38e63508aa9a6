// New files written safely, shared by the data file's safe save and the export's staged files: a
// file created exclusively (a name no other file has) beside its final name, written whole,
// flushed to the disk, then moved over the final name. Paths are UTF-8 (wide names on Windows);
// error numbers are errno values on every platform. The implementations are the platform's
// (newFilePosix.cpp, newFileWindows.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class newFile {
public:
    newFile() = default;
    ~newFile();   // closes the file if still open; the file stays
    newFile(const newFile&) = delete;
    newFile& operator=(const newFile&) = delete;

    // Creates the file for writing; false where it cannot be made (error() is EEXIST where the
    // name is taken).
    bool create(const std::string& path);
    // Gives the file the owner, group and permissions of the existing file it is to replace, as
    // far as the user may set them (on Windows the replacing keeps them: nothing to do).
    void takePermissionsOf(const std::string& existing);
    bool write(std::string_view data);
    // Flushes what is written to the disk.
    bool flush();
    bool close();

    int error() const { return err; }

private:
    bool fail(int error);

    std::intptr_t handle = -1;   // a descriptor, or a Windows handle
    int err = 0;
};

// Renames from over to (replacing a file there), through to the disk; false with errno set.
bool moveOver(const std::string& from, const std::string& to);
bool removeFile(const std::string& path);
// Makes the renames in the folder durable where the system needs it (POSIX); "" is the current one.
void syncFolder(const std::string& folder);
// The number of this process.
unsigned long currentProcessId();
