// The main window's export commands: "Экспорт в CSV…" and "Сохранить в PDF…" of the file menu.
#pragma once

#include "export/ExportDialog.h"

class MainFrame;

enum {
    ID_EXPORT_CSV = 523,
    ID_EXPORT_PDF = 524,
};

// Puts both commands into the frame's file menu after "Сохранить" and handles them.
void installExportCommands(MainFrame& frame);

// Runs the export dialog and exports what it chose of the frame's cranes.
void exportCranes(MainFrame& frame, exportFormat format);
