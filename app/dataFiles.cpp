#include "app/dataFiles.h"

#include <system_error>

#include <wx/stdpaths.h>

namespace fs = std::filesystem;

namespace {

// The folder of the running program; empty where it cannot be found.
fs::path programFolder()
{
    const wxString program = wxStandardPaths::Get().GetExecutablePath();
    return program.empty() ? fs::path() : fs::u8path(program.utf8_string()).parent_path();
}

bool isFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The installed data folder: <prefix>/share/brennix for the program in <prefix>/bin, the
// program's own folder on Windows (the build gives the relative path). Empty where the program's own path cannot be found.
fs::path installedDataFolder()
{
    const fs::path folder = programFolder();
    return folder.empty() ? folder : (folder / BRENNIX_DATA_FROM_PROGRAM).lexically_normal();
}

}  // namespace

std::string dataFile(const std::string& relativePath, const fs::path& installedFolder)
{
    if (isFile(relativePath) || installedFolder.empty())
        return relativePath;
    const fs::path installed = installedFolder / relativePath;
    return isFile(installed) ? installed.u8string() : relativePath;
}

std::string dataFile(const std::string& relativePath)
{
    static const fs::path installedFolder = installedDataFolder();
    return dataFile(relativePath, installedFolder);
}
