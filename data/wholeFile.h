// Whole-file reading and crash-safe replacing of files. The POSIX implementation is in
// wholeFilePosix.cpp.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The bytes of a regular file; nothing when path names anything else (a folder, a FIFO, a
// device) or the file cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes contents to a new file in the target's folder, flushes it to the disk and only then
// renames it over the target, so that the target holds either its old or its new contents
// whatever fails. The target is path, or the file its symbolic links lead to. An existing target
// must be a regular file whose permissions let the user write it; it keeps its permissions and,
// where the user may set them, its owner and group. Temporary files left in that folder by an
// earlier save of this computer that was killed are removed. On failure nothing is changed and
// the new file is removed.
bool replaceWholeFile(const std::string& path, std::string_view contents);
