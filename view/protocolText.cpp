#include "view/protocolText.h"

#include <cinttypes>
#include <climits>
#include <cmath>

#include "data/cp1251.h"
#include "data/timeText.h"
#include "view/classification.h"
#include "view/numberText.h"

const char htmlCharsetMeta[] =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">";
#define BRENNIX_PRINTED_BY \
    "Напечатано из программы Brennix версии 1.2.1 для регистратора параметров серии Ворсал"
const char printedByLine[] = BRENNIX_PRINTED_BY;
const char printedByHtml[] =
    "<P ALIGN=\"CENTER\"><FONT SIZE=-1 COLOR=RED>" BRENNIX_PRINTED_BY "</FONT></P>";
#undef BRENNIX_PRINTED_BY

const char* yearWord(int years)
{
    if (years >= 5 && years <= 20)
        return "лет";
    switch (years % 10) {
    case 1:
        return "год";
    case 2:
    case 3:
    case 4:
        return "года";
    default:
        return "лет";
    }
}

namespace {

std::string dateText(int32_t t) { return localTimeText(t, "%d/%m/%Y"); }

// A crane text from the recorder or a data file, as HTML: markup characters in it are shown,
// not obeyed, so a stray '<' cannot swallow the rest of the protocol; a text of a data file
// longer than any recorder holds is cut.
std::string craneHtml(const std::string& cp1251)
{
    std::string html;
    for (const char c : cp1251ToUtf8(shownText(cp1251))) {
        switch (c) {
        case '<': html += "&lt;"; break;
        case '>': html += "&gt;"; break;
        case '&': html += "&amp;"; break;
        default: html += c;
        }
    }
    return html;
}

// Whole tonnes, truncated toward zero; a value no int can hold (possible in a data file) is
// shown at the nearest end of the range rather than converted out of range.
int wholeTonnes(float tonnes)
{
    if (std::isnan(tonnes))
        return 0;
    if (tonnes >= static_cast<float>(INT_MAX))
        return INT_MAX;
    if (tonnes <= static_cast<float>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(tonnes);
}

void appendPassport(std::string& html, const devLink& crane)
{
    html += "<P ALIGN=CENTER><TABLE ALIGN=LEFT WIDTH=100%>";
    html += "<TD WIDTH=15%>Рег. №</TD><TD WIDTH=20%><B>" + craneHtml(crane.regNo) +
            "</B></TD><TD WIDTH=50%>Дата ввода в крана в эксплуатацию</TD><TD WIDTH=15%><B>" +
            dateText(crane.workSince) + "</B></TD><TR>";
    html += "<TD>Зав. №</TD><TD><B>" + craneHtml(crane.serNo) +
            "</B></TD><TD>Дата установки регистратора</TD><TD><B>" + dateText(crane.regiSince) +
            "</B></TD><TR>";
    html += "<TD>Инв. №</TD><TD><B>" + craneHtml(crane.invNo) +
            "</B></TD><TD>Макс. грузоподъемность крана</TD><TD><B>" +
            printfText("%d", wholeTonnes(crane.maxWeight)) + " т.</B></TD><TR>";
    html += "<TD>&nbsp</TD><TD>&nbsp</TD><TD>Макс. срок службы крана</TD><TD><B>" +
            printfText("%d ", crane.workMaxYears) + yearWord(crane.workMaxYears) + "</B></TD><TR>";
    html += "<TD>&nbsp</TD><TD>&nbsp</TD><TD>Группа классификации по паспорту</TD><TD><B>A" +
            printfText("%d", crane.workMaxGrp) + "</B></TD>";
    html += "</TABLE></P>";
}

void appendClassification(std::string& html, const classification& c)
{
    html += "<FONT SIZE=+2><P ALIGN=CENTER><TABLE ALIGN=LEFT WIDTH=100%>";
    html += printfText("<TD WIDTH=55%%>Режим нагружения</TD><TD WIDTH=45%%><B>Q%d", c.Q) +
            " (К<sub>р</sub> = " + fixedText(c.shownKp, 3) + ")</B></TD>";
    html += printfText("<TR><TD>Класс использования</TD><TD><B>U%d", c.U) + " (N = " +
            generalText(std::ceil(c.N)) + ")</B></TD>";
    html += printfText("<TR><TD>Группа классификации</TD><TD><B>A%d</B></TD>", c.A);
    html += "</TABLE></P></FONT>";
}

void appendCounters(std::string& html, const devLink& crane, const classification& c)
{
    html += "<P ALIGN=CENTER><TABLE ALIGN=LEFT WIDTH=100%>";
    html += "<TD WIDTH=70%>Суммарная масса поднятых грузов</TD><TD WIDTH=30%><B>" +
            fixedText(crane.weightTotal, 0) + " т.</B></TD>";
    html += printfText("<TR><TD>Использованный ресурс крана</TD><TD><B>%d%%</B></TD>", c.resource);
    html += printfText("<TR><TD>Общее количество циклов подъема груза</TD><TD><B>%lu</B></TD>",
                       static_cast<unsigned long>(crane.cyclesTotal));
    html += "<FONT SIZE=1><TR><TD>&nbsp</TD></FONT>";
    for (int q = 1; q <= 4; ++q)
        html += printfText("<TR><TD>Количество циклов подъема груза в режиме Q%d</TD><TD><B>%lu</B></TD>",
                           q, static_cast<unsigned long>(crane.cycles[q - 1]));
    html += printfText("<TR><TD>Количество циклов с перегрузкой</TD><TD><B>%lu</B></TD>",
                       static_cast<unsigned long>(crane.cycles[4]));
    html += "<TR><TD>&nbsp</TD>";
    for (int m = 1; m <= hourCounterCount; ++m) {
        const mechanismActivity& a = c.activity[m - 1];
        html += printfText("<TR><TD>Механизм №%d:</TD><TD><B>ЧВ: %5" PRId64 " ПВ: %4" PRId64
                           " с (%3" PRId64 "%%)</B></TD>",
                           m, a.switchOns, a.onSeconds, a.percent);
    }
    html += "<TR><TD>&nbsp</TD>";
    for (int m = 1; m <= hourCounterCount; ++m)
        html += printfText("<TR><TD>Группа классификации механизма №%d</TD><TD><B>T%d", m,
                           c.T[m - 1]) +
                " (реально " + fixedText(crane.hourCounter[m - 1], 1) + " ч., оценка " +
                fixedText(c.estimatedHours[m - 1], 0) + " ч.)</B></TD>";
    html += "</TABLE></P>";
}

}  // namespace

std::string protocolText(const devLink& crane)
{
    const classification c = classify(crane);
    std::string html = "<HTML><HEAD>";
    html += htmlCharsetMeta;
    html += "<TITLE>Протокол условий эксплуатации крана</TITLE></HEAD><BODY>";
    html += "<H2 ALIGN=CENTER><FONT SIZE=\"-1\">Протокол условий эксплуатации крана<BR>от " +
            dateText(crane.timeStamp) + "</FONT></H2>";
    appendPassport(html, crane);
    appendClassification(html, c);
    appendCounters(html, crane, c);
    html += printedByHtml;
    html += "</BODY></HTML>";
    return html;
}
