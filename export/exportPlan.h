// What an export writes: the files for a set of cranes, their names, and the text of each CSV
// and HTML file. Crane files are named by the crane's number and the readout date.
#pragma once

#include <string>
#include <vector>

#include "data/devLink.h"
#include "export/csvText.h"

struct exportChoice {
    bool csv = false;
    bool csvPerGraph = true;   // one file per graph; else one per crane with a graph column
    bool summary = false;      // one table of the cranes exported
    bool html = false;         // the protocol as the protocol page shows it
    bool pdf = false;          // the protocol as printed, and the graphs if pdfGraphs
    bool pdfGraphs = false;
    csvFormat format;
};

enum class exportKind { graphCsv, craneCsv, summaryCsv, protocolHtml, cranePdf };

struct exportFile {
    std::string name;   // UTF-8, without a folder
    exportKind kind;
    const devLink* crane = nullptr;
    const cycLink* graph = nullptr;
};

// "<number>_<YYYY-MM-DD>" of the readout: the registration number, else the factory or the
// inventory number, else "кран"; characters a file name cannot hold become "-".
std::string craneFileStem(const devLink& crane);

extern const char summaryFileName[];

// The files in the order they are written; cranes whose stems coincide are told apart by "_2",
// "_3", ... in list order.
std::vector<exportFile> exportPlan(const std::vector<const devLink*>& cranes, const exportChoice& choice);

// The bytes of a CSV or HTML file of the plan (the summary covers `cranes`). The protocol is
// written in Windows-1251, the encoding its charset line declares.
std::string exportText(const exportFile& file, const std::vector<const devLink*>& cranes,
                       const exportChoice& choice);
