// Writes an export's files into a folder, all of them or none.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "export/exportPlan.h"
#include "link/report.h"

// Writes one crane's PDF at the path given (a temporary the writer fills); false on failure.
using pdfWriter = std::function<bool(const exportFile& file, const std::string& path)>;

// Names of the plan's files that something in the folder already has.
std::vector<std::string> existingFiles(const std::string& folder, const std::vector<exportFile>& plan);

// Writes every file of the plan (PDF files through `pdf`), then gives them their names. On any
// failure nothing is left under a final name and the error is reported as "Экспорт не выполнен:
// не удалось записать «name» в папку «folder» (reason). Ни один файл не сохранён.", or for a
// folder that is missing or no folder "Экспорт не выполнен: папка «folder» недоступна (reason). ..."
bool writeExport(const std::string& folder, const std::vector<exportFile>& plan,
                 const std::vector<const devLink*>& cranes, const exportChoice& choice,
                 const pdfWriter& pdf, ReportCallback error);
