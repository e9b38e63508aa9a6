#include "export/exportPlan.h"

#include <set>

#include "data/cp1251.h"
#include "data/timeText.h"
#include "export/sampleCsv.h"
#include "export/summaryCsv.h"
#include "view/numberText.h"
#include "view/protocolText.h"

const char summaryFileName[] = "сводка.csv";

namespace {

std::string safeName(const std::string& utf8)
{
    std::string name;
    for (const char c : utf8) {
        const unsigned char u = static_cast<unsigned char>(c);
        const bool forbidden = u < 0x20 || u == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
        name += forbidden ? '-' : c;
    }
    // Blanks and dots at the ends make names that some systems refuse or hide.
    const std::size_t first = name.find_first_not_of(" .");
    if (first == std::string::npos)
        return std::string();
    return name.substr(first, name.find_last_not_of(" .") - first + 1);
}

// Characters Windows-1251 lacks (a U+FFFD for a byte that had no meaning) become '?'.
std::string toCp1251(const std::string& utf8)
{
    std::string bytes;
    if (utf8ToCp1251(utf8, bytes))
        return bytes;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::string one;
        bytes += utf8ToCp1251(utf8.substr(i, length), one) ? one : "?";
        i += length;
    }
    return bytes;
}

}  // namespace

std::string craneFileStem(const devLink& crane)
{
    std::string number;
    for (const std::string* candidate : {&crane.regNo, &crane.serNo, &crane.invNo})
        if (number.empty())
            number = safeName(cp1251ToUtf8(*candidate));
    if (number.empty())
        number = "кран";
    return number + "_" + localTimeText(crane.timeStamp, "%Y-%m-%d");
}

std::vector<exportFile> exportPlan(const std::vector<const devLink*>& cranes, const exportChoice& choice)
{
    std::vector<exportFile> plan;
    std::set<std::string> stems;
    for (const devLink* crane : cranes) {
        const std::string base = craneFileStem(*crane);
        std::string stem = base;
        for (int n = 2; !stems.insert(stem).second; ++n)
            stem = base + "_" + std::to_string(n);
        if (choice.html)
            plan.push_back({stem + ".html", exportKind::protocolHtml, crane});
        if (choice.pdf)
            plan.push_back({stem + ".pdf", exportKind::cranePdf, crane});
        if (choice.csv && !choice.csvPerGraph)
            plan.push_back({stem + ".csv", exportKind::craneCsv, crane});
        if (choice.csv && choice.csvPerGraph) {
            int number = 1;
            for (const cycLink* graph = firstGraph(*crane); graph; graph = nextGraph(graph))
                plan.push_back({stem + printfText("_график_%02d.csv", number++), exportKind::graphCsv,
                                crane, graph});
        }
    }
    if (choice.summary)
        plan.push_back({summaryFileName, exportKind::summaryCsv});
    return plan;
}

std::string exportText(const exportFile& file, const std::vector<const devLink*>& cranes,
                       const exportChoice& choice)
{
    switch (file.kind) {
    case exportKind::graphCsv:
        return graphSamplesCsv(*file.crane, *file.graph, choice.format);
    case exportKind::craneCsv:
        return craneSamplesCsv(*file.crane, choice.format);
    case exportKind::summaryCsv:
        return summaryCsv(cranes, choice.format);
    case exportKind::protocolHtml:
        return toCp1251(protocolText(*file.crane));
    case exportKind::cranePdf:
        break;
    }
    return std::string();
}
