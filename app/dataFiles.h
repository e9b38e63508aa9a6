// Where the program finds its pictures ("bmps/…") and help books ("help/…").
#pragma once

#include <filesystem>
#include <string>

// The path to open for a data file named relative to the run directory: the name itself when
// the working directory holds it (a build's run directory), else the same name in the installed
// data folder when that holds it, else the name unchanged (it is missing).
std::string dataFile(const std::string& relativePath);

// The same choice with the installed data folder given.
std::string dataFile(const std::string& relativePath, const std::filesystem::path& installedFolder);
