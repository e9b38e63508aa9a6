#include "data/saveTemporaries.h"

#include <algorithm>
#include <cerrno>

#include "platform/newFile.h"

namespace {

constexpr char temporaryPrefix[] = ".brennix-save-";

}  // namespace

std::string saveTemporaryName(const std::string& computer, unsigned long process, int attempt)
{
    return temporaryPrefix + computer + "-" + std::to_string(process) + "-" + std::to_string(attempt);
}

unsigned long saveTemporaryWriter(const std::string& name, const std::string& computer)
{
    const std::string ownPrefix = temporaryPrefix + computer + "-";
    if (name.compare(0, ownPrefix.size(), ownPrefix) != 0)
        return 0;
    const std::string rest = name.substr(ownPrefix.size());   // "<process>-<attempt>"
    const std::size_t dash = rest.find('-');
    const auto digitsOnly = [](const std::string& text) {
        return !text.empty() && text.size() < 10 &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (dash == std::string::npos || !digitsOnly(rest.substr(0, dash)) || !digitsOnly(rest.substr(dash + 1)))
        return 0;
    return std::stoul(rest.substr(0, dash));
}

std::string createSaveTemporary(newFile& file, const std::string& folder, const std::string& computer)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = folder + saveTemporaryName(computer, currentProcessId(), attempt);
        if (file.create(path))
            return path;
        if (file.error() != EEXIST)
            break;
    }
    return std::string();
}
