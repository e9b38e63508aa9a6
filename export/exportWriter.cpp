#include "export/exportWriter.h"

#include <cerrno>

#include "export/stagedFiles.h"

namespace {

void reportFailure(ReportCallback error, const std::string& folder, const std::string& name, int err)
{
    error("Экспорт не выполнен: не удалось записать «%s» в папку «%s» (%s). Ни один файл не сохранён.",
          name.c_str(), folder.c_str(), fileErrorText(err).c_str());
}

}  // namespace

std::vector<std::string> existingFiles(const std::string& folder, const std::vector<exportFile>& plan)
{
    std::vector<std::string> names;
    for (const exportFile& file : plan)
        if (pathTaken(folder + "/" + file.name))
            names.push_back(file.name);
    return names;
}

bool writeExport(const std::string& folder, const std::vector<exportFile>& plan,
                 const std::vector<const devLink*>& cranes, const exportChoice& choice,
                 const pdfWriter& pdf, ReportCallback error)
{
    const auto failed = [&](const std::string& name, int err) {
        reportFailure(error, folder, name, err);
        return false;
    };
    if (plan.empty())
        return true;
    if (const int problem = folderError(folder)) {
        error("Экспорт не выполнен: папка «%s» недоступна (%s). Ни один файл не сохранён.",
              folder.c_str(), fileErrorText(problem).c_str());
        return false;
    }
    // A folder in a file's place would stop the renames half-way: refused before anything is written.
    for (const exportFile& file : plan)
        if (folderError(folder + "/" + file.name) == 0)
            return failed(file.name, EISDIR);

    stagedFiles files(folder);
    for (const exportFile& file : plan) {
        if (file.kind != exportKind::cranePdf) {
            if (!files.add(file.name, exportText(file, cranes, choice)))
                return failed(files.failedName(), files.failure());
            continue;
        }
        const std::string path = files.reserve(file.name);
        if (path.empty())
            return failed(files.failedName(), files.failure());
        errno = 0;
        if (!pdf || !pdf(file, path))
            return failed(file.name, errno != 0 ? errno : EIO);
    }
    if (!files.commit())
        return failed(files.failedName(), files.failure());
    return true;
}
