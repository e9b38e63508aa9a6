// A set of new files written into one folder all or none: each is written under a temporary
// name beside its final one, and only when every file of the set is complete are they flushed to
// the disk together and renamed to their final names. A set given up (or destroyed before it is
// committed) leaves nothing behind. Files that replace others keep nothing of the old ones.
// Error numbers are errno values on every platform. The files are written as newFile.h writes
// them; how the set is flushed is the platform's (stagedFilesPosix.cpp, stagedFilesWindows.cpp).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/newFile.h"

class stagedFiles {
public:
    explicit stagedFiles(std::string folder);
    ~stagedFiles();
    stagedFiles(const stagedFiles&) = delete;
    stagedFiles& operator=(const stagedFiles&) = delete;

    // Writes the contents under a temporary name; false (and failure() says why) on error.
    bool add(const std::string& name, std::string_view contents);
    // A new empty temporary for a file that a writer of its own fills (a PDF); empty on error.
    std::string reserve(const std::string& name);
    // Flushes every temporary to the disk and renames each to its final name.
    bool commit();
    // Removes the temporaries not yet renamed.
    void giveUp();

    // The errno of the first failure, and the final name it concerned.
    int failure() const { return error; }
    const std::string& failedName() const { return failed; }

private:
    bool createTemporary(const std::string& name, newFile& file);
    // The platform's: flushes every temporary to the disk.
    bool flushAll();
    bool fail(const std::string& name, int err);
    std::string nameOf(const std::string& finalPath) const { return finalPath.substr(folder.size() + 1); }

    struct staged {
        std::string temporary;
        std::string final;
    };
    std::string folder;
    std::vector<staged> files;
    int error = 0;
    std::string failed;
};

// What stands at path: 0 for a folder, else the error number why it is none (ENOENT, ENOTDIR).
int folderError(const std::string& path);
// Whether anything (a file, a folder, a link) has the name.
bool pathTaken(const std::string& path);

// A Russian phrase for a file system error number ("нет места на диске", ...).
std::string fileErrorText(int err);
