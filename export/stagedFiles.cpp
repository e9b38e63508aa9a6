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
