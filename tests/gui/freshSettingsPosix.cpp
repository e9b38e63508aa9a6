#include "tests/gui/freshSettings.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string& home()
{
    static std::string folder;
    return folder;
}

}  // namespace

void useFreshSettings()
{
    char folder[] = "/tmp/brennix-gui-tests-XXXXXX";
    if (!mkdtemp(folder))
        std::abort();
    home() = folder;
    setenv("HOME", folder, 1);
    setenv("GSETTINGS_BACKEND", "memory", 1);
}

void removeFreshSettings()
{
    std::error_code ignored;
    std::filesystem::remove_all(home(), ignored);
}
