#include "export/summaryCsv.h"

#include <cmath>

#include "data/cp1251.h"
#include "view/classification.h"
#include "view/numberText.h"

namespace {

void appendHeader(std::string& out, csvFormat format)
{
    csvRow row(out, format);
    row.text("Кран").text("Рег. №").text("Зав. №").text("Инв. №").text("Дата считывания")
        .text("Дата ввода в эксплуатацию").text("Дата установки регистратора")
        .text("Грузоподъемность, т").text("Срок службы, лет").text("Группа по паспорту")
        .text("Циклов всего");
    for (int q = 1; q <= 4; ++q)
        row.text(printfText("Циклов в режиме Q%d", q));
    row.text("Циклов с перегрузкой").text("Масса поднятых грузов, т");
    for (int m = 1; m <= hourCounterCount; ++m)
        row.text(printfText("Наработка мех. %d, ч", m));
    row.text("Обычных графиков в РП").text("Графиков перегрузки в РП").text("Графиков в данных")
        .text("Уровень срабатывания ОГП, %").text("Уровень сброса ОГП, %")
        .text("Режим нагружения").text("Kp").text("Класс использования").text("N")
        .text("Группа классификации");
    for (int m = 1; m <= hourCounterCount; ++m)
        row.text(printfText("Группа мех. %d", m));
    row.text("Использованный ресурс, %");
}

int graphCount(const devLink& crane)
{
    int n = 0;
    for (const cycLink* g = firstGraph(crane); g; g = nextGraph(g))
        ++n;
    return n;
}

void appendCrane(std::string& out, csvFormat format, const devLink& crane)
{
    const classification c = classify(crane);
    clockText clock;
    csvRow row(out, format);
    row.text(cp1251ToUtf8(crane.name)).text(cp1251ToUtf8(crane.regNo)).text(cp1251ToUtf8(crane.serNo))
        .text(cp1251ToUtf8(crane.invNo)).text(clock.dateTime(crane.timeStamp))
        .text(clockText::date(crane.workSince)).text(clockText::date(crane.regiSince))
        .number(crane.maxWeight, 2).integer(crane.workMaxYears).text(printfText("A%d", crane.workMaxGrp))
        .integer(crane.cyclesTotal);
    for (const uint32_t cycles : crane.cycles)
        row.integer(cycles);
    row.number(crane.weightTotal, 0);
    for (const float hours : crane.hourCounter)
        row.number(hours, 1);
    row.integer(crane.cntN).integer(crane.cntE).integer(graphCount(crane)).integer(crane.ogpH)
        .integer(crane.ogpL);
    row.text(printfText("Q%d", c.Q)).number(c.shownKp, 3).text(printfText("U%d", c.U))
        .number(std::ceil(c.N), 0).text(printfText("A%d", c.A));
    for (const int T : c.T)
        row.text(printfText("T%d", T));
    row.integer(c.resource);
}

}  // namespace

std::string summaryCsv(const std::vector<const devLink*>& cranes, csvFormat format)
{
    std::string out = utf8ByteOrderMark;
    appendHeader(out, format);
    for (const devLink* crane : cranes)
        appendCrane(out, format, *crane);
    return out;
}
