// Whole-file reading and crash-safe replacing of files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The file's bytes; nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes contents to a new file in the same directory, flushes it to the disk and only then
// renames it over path, so that path holds either its old or its new contents whatever fails.
// An existing file's permissions are kept. On failure the new file is removed.
bool replaceWholeFile(const std::string& path, std::string_view contents);
