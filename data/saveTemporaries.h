// The names of a save's temporary files, which the platforms' file code shares: a save writes
// ".brennix-save-<computer>-<process>-<attempt>", named after the computer and the process that
// write it, so that the files of a writer that was killed can be told apart from those of a save
// still running, here or on another computer sharing the folder.
#pragma once

#include <string>

class newFile;

std::string saveTemporaryName(const std::string& computer, unsigned long process, int attempt);

// The process that wrote a temporary file of this computer, or 0 for any other name.
unsigned long saveTemporaryWriter(const std::string& name, const std::string& computer);

// Creates the file of a save in the folder (a path ending in its separator, or empty for the
// current folder) under a name no other file has; returns its path, or empty where it cannot be
// made (the file's error() says why).
std::string createSaveTemporary(newFile& file, const std::string& folder, const std::string& computer);
