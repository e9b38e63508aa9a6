// The data file of the cranes ("*.brx"): per crane one clause of type "RAM" named by the crane,
// followed by one clause of type "Cycle" per load graph, named by the crane, "#" and the graph's
// position counted from 1.
#pragma once

#include <string>
#include <string_view>

#include "data/aList.h"
#include "link/report.h"

enum class DataFileResult { ok, readError, decodeError };

// Appends the file's cranes to `cranes` (the caller empties the list first), in file order,
// each with those of its graphs that have more than three load samples.
// A file that cannot be read or parsed reports "Ошибка при чтении файла данных" and adds
// nothing. A graph whose points do not decode reports "Ошибка при декодировании цикла %d:
// невозможно сконвертировать байт %d" and ends the reading at once: every crane of the file
// stays, with the graphs decoded before that one.
DataFileResult readDataFile(const std::string& path, aList& cranes, ReportCallback errorCallback);
DataFileResult readDataText(std::string_view text, aList& cranes, ReportCallback errorCallback);

// The file's text for the cranes of the list, each followed by its graphs.
std::string dataFileText(const aList& cranes);

// Saves the cranes: the old file at `path` is replaced only by a complete new one. Reports
// "Ошибка при записи файла данных" when the file cannot be written.
bool writeDataFile(const std::string& path, const aList& cranes, ReportCallback errorCallback);
