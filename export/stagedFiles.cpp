#include "export/stagedFiles.h"

#include <cerrno>

stagedFiles::stagedFiles(std::string folder) : folder(std::move(folder)) {}

stagedFiles::~stagedFiles() { giveUp(); }

bool stagedFiles::fail(const std::string& name, int err)
{
    error = err != 0 ? err : EIO;
    failed = name;
    return false;
}

// A new file beside the final one, under a name no other file has. Hidden (a leading dot), so that
// a file manager showing the folder meanwhile shows no half-written file.
bool stagedFiles::createTemporary(const std::string& name, newFile& file)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary =
            folder + "/." + name + ".tmp" + std::to_string(currentProcessId()) + "-" + std::to_string(attempt);
        if (file.create(temporary)) {
            files.push_back({temporary, folder + "/" + name});
            return true;
        }
        if (file.error() != EEXIST)
            break;
    }
    return fail(name, file.error());
}

bool stagedFiles::add(const std::string& name, std::string_view contents)
{
    newFile file;
    if (!createTemporary(name, file))
        return false;
    if (!file.write(contents) || !file.close())
        return fail(name, file.error());
    return true;
}

std::string stagedFiles::reserve(const std::string& name)
{
    newFile file;
    if (!createTemporary(name, file))
        return std::string();
    file.close();
    return files.back().temporary;
}

bool stagedFiles::commit()
{
    if (!flushAll())
        return false;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!moveOver(files[i].temporary, files[i].final)) {
            const int err = errno;
            // Those renamed stay: they are complete. The rest go.
            files.erase(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(i));
            return fail(nameOf(files.front().final), err);
        }
    files.clear();
    syncFolder(folder);
    return true;
}

void stagedFiles::giveUp()
{
    for (const staged& file : files)
        removeFile(file.temporary);
    files.clear();
}

std::string fileErrorText(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return "нет прав на запись";
    case ENOSPC:
        return "нет места на диске";
#ifdef EDQUOT  // not a code of every platform
    case EDQUOT:
        return "превышена дисковая квота";
#endif
    case EROFS:
        return "диск доступен только для чтения";
    case ENOENT:
        return "папка не существует";
    case ENOTDIR:
        return "путь не является папкой";
    case EISDIR:
        return "на месте файла находится папка с тем же именем";
    case ENAMETOOLONG:
        return "слишком длинное имя";
    default:
        return "ошибка ввода-вывода " + std::to_string(err);
    }
}
