#include "view/protocolText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "tests/support/timeZone.h"
#include "tests/view/testGraphs.h"
#include "view/numberText.h"

namespace {

// Switches LC_NUMERIC to a locale that writes decimal commas, if this machine has one.
class commaLocale {
public:
    commaLocale()
    {
        previous = std::setlocale(LC_NUMERIC, nullptr);
        for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "de_DE.utf8"})
            if (std::setlocale(LC_NUMERIC, name)) {
                active = true;
                return;
            }
    }
    ~commaLocale() { std::setlocale(LC_NUMERIC, previous.c_str()); }
    bool active = false;

private:
    std::string previous;
};

// The reference crane, read at 15/03/2024 12:00 Moscow time, its recorder installed four years
// before and its service life five times that: the life factor is exactly 5.
struct referenceCrane : devLink {
    referenceCrane()
    {
        regNo = "\xCA\xD0-0042";    // "КР-0042" in Windows-1251
        serNo = "S-17";
        invNo = "\xC8\xED\xE2" "5";  // "Инв5"
        timeStamp = 1710493200;
        regiSince = 1584262800;
        workSince = 1433136600;     // 01/06/2015 08:30
        workMaxSeconds = 5 * 126230400u;
        workMaxYears = 20;
        workMaxGrp = 5;
        maxWeight = 25;
        cubeSum = 60000;
        cyclesTotal = 200000;
        const uint32_t counts[cycleCounterCount] = {50000, 80000, 60000, 10000, 7};
        std::copy(counts, counts + cycleCounterCount, cycles);
        const float hours[hourCounterCount] = {1234.4f, 0, 55.5f, 9999.75f, 0.25f, 3000};
        std::copy(hours, hours + hourCounterCount, hourCounter);
        weightTotal = 12345.6f;
        // Starts 3601 s before the latest end: its running mechanism 3 is not counted.
        graphs.pushBack(graphOf(timeStamp - 4101, {{0, load(3)}, {0, 0x04}, {3000, 0x00}}).release());
        graphs.pushBack(graphOf(timeStamp - 3000, {{0, load(20)},
                                                   {0, 0x01},
                                                   {5, load(5)},
                                                   {1800, 0x00},
                                                   {1900, 0x22},
                                                   {2000, load(16)},
                                                   {2400, 0x20},
                                                   {2500, load(10)}})
                            .release());
    }
};

// The fragments of the protocol text in order, with the reference crane's values between them.
std::string expectedReferenceText()
{
    std::string t = "<HTML>" "<HEAD>"
                    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
                    "<TITLE>Протокол условий эксплуатации крана</TITLE>" "</HEAD>" "<BODY>";
    t += "<H2 ALIGN=CENTER><FONT SIZE=\"-1\">Протокол условий эксплуатации крана<BR>от " "15/03/2024"
         "</FONT></H2>";
    t += "<P ALIGN=CENTER><TABLE ALIGN=LEFT WIDTH=100%>";
    t += "<TD WIDTH=15%>Рег. №</TD><TD WIDTH=20%><B>" "КР-0042"
         "</B></TD><TD WIDTH=50%>Дата ввода в крана в эксплуатацию</TD><TD WIDTH=15%><B>" "01/06/2015"
         "</B></TD><TR>";
    t += "<TD>Зав. №</TD><TD><B>" "S-17" "</B></TD><TD>Дата установки регистратора</TD><TD><B>"
         "15/03/2020" "</B></TD><TR>";
    t += "<TD>Инв. №</TD><TD><B>" "Инв5" "</B></TD><TD>Макс. грузоподъемность крана</TD><TD><B>" "25"
         " т.</B></TD><TR>";
    t += "<TD>&nbsp</TD><TD>&nbsp</TD><TD>Макс. срок службы крана</TD><TD><B>" "20" " " "лет"
         "</B></TD><TR>";
    t += "<TD>&nbsp</TD><TD>&nbsp</TD><TD>Группа классификации по паспорту</TD><TD><B>A" "5" "</B></TD>";
    t += "</TABLE></P>";
    // N = 200000 cycles x 5 = 1e6: U7, and with Q3 the group A8.
    t += "<FONT SIZE=+2><P ALIGN=CENTER><TABLE ALIGN=LEFT WIDTH=100%>";
    t += "<TD WIDTH=55%>Режим нагружения</TD><TD WIDTH=45%><B>Q" "3" " (К<sub>р</sub> = " "0.300"
         ")</B></TD>";
    t += "<TR><TD>Класс использования</TD><TD><B>U" "7" " (N = " "1e+06" ")</B></TD>";
    t += "<TR><TD>Группа классификации</TD><TD><B>A" "8" "</B></TD>";
    t += "</TABLE></P></FONT>";
    // The resource: 200000 of the 250000 cycles of U4, the highest class A5 allows at Q3.
    t += "<P ALIGN=CENTER><TABLE ALIGN=LEFT WIDTH=100%>";
    t += "<TD WIDTH=70%>Суммарная масса поднятых грузов</TD><TD WIDTH=30%><B>" "12346" " т.</B></TD>";
    t += "<TR><TD>Использованный ресурс крана</TD><TD><B>" "80" "%</B></TD>";
    t += "<TR><TD>Общее количество циклов подъема груза</TD><TD><B>" "200000" "</B></TD>";
    t += "<FONT SIZE=1><TR><TD>&nbsp</TD></FONT>";
    t += "<TR><TD>Количество циклов подъема груза в режиме Q" "1" "</TD><TD><B>" "50000" "</B></TD>";
    t += "<TR><TD>Количество циклов подъема груза в режиме Q" "2" "</TD><TD><B>" "80000" "</B></TD>";
    t += "<TR><TD>Количество циклов подъема груза в режиме Q" "3" "</TD><TD><B>" "60000" "</B></TD>";
    t += "<TR><TD>Количество циклов подъема груза в режиме Q" "4" "</TD><TD><B>" "10000" "</B></TD>";
    t += "<TR><TD>Количество циклов с перегрузкой</TD><TD><B>" "7" "</B></TD>";
    t += "<TR><TD>&nbsp</TD>";
    t += "<TR><TD>Механизм №" "1" ":</TD><TD><B>" "ЧВ:     1 ПВ: 1800 с ( 50%)" "</B></TD>";
    t += "<TR><TD>Механизм №" "2" ":</TD><TD><B>" "ЧВ:     1 ПВ:  500 с ( 13%)" "</B></TD>";
    t += "<TR><TD>Механизм №" "3" ":</TD><TD><B>" "ЧВ:     0 ПВ:    0 с (  0%)" "</B></TD>";
    t += "<TR><TD>Механизм №" "4" ":</TD><TD><B>" "ЧВ:     0 ПВ:    0 с (  0%)" "</B></TD>";
    t += "<TR><TD>Механизм №" "5" ":</TD><TD><B>" "ЧВ:     0 ПВ:    0 с (  0%)" "</B></TD>";
    t += "<TR><TD>Механизм №" "6" ":</TD><TD><B>" "ЧВ:     1 ПВ:  500 с ( 13%)" "</B></TD>";
    t += "<TR><TD>&nbsp</TD>";
    // Hours as counted and times 5; exact ties round to even, as printf rounds them.
    t += "<TR><TD>Группа классификации механизма №" "1" "</TD><TD><B>T" "5" " (реально " "1234.4"
         " ч., оценка " "6172" " ч.)</B></TD>";
    t += "<TR><TD>Группа классификации механизма №" "2" "</TD><TD><B>T" "0" " (реально " "0.0"
         " ч., оценка " "0" " ч.)</B></TD>";
    t += "<TR><TD>Группа классификации механизма №" "3" "</TD><TD><B>T" "1" " (реально " "55.5"
         " ч., оценка " "278" " ч.)</B></TD>";
    t += "<TR><TD>Группа классификации механизма №" "4" "</TD><TD><B>T" "8" " (реально " "9999.8"
         " ч., оценка " "49999" " ч.)</B></TD>";
    t += "<TR><TD>Группа классификации механизма №" "5" "</TD><TD><B>T" "0" " (реально " "0.2"
         " ч., оценка " "1" " ч.)</B></TD>";
    t += "<TR><TD>Группа классификации механизма №" "6" "</TD><TD><B>T" "7" " (реально " "3000.0"
         " ч., оценка " "15000" " ч.)</B></TD>";
    t += "</TABLE></P>";
    t += "<P ALIGN=\"CENTER\"><FONT SIZE=-1 COLOR=RED>"
         "Напечатано из программы Brennix версии 1.2.1 для регистратора параметров серии Ворсал"
         "</FONT></P>" "</BODY>" "</HTML>";
    return t;
}

TEST(protocolText, ReferenceCraneWholeText)
{
    ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    EXPECT_EQ(protocolText(referenceCrane()), expectedReferenceText());
}

TEST(protocolText, SameTextUnderADecimalCommaLocale)
{
    ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    commaLocale comma;
    if (!comma.active)
        GTEST_SKIP() << "no locale with decimal commas installed";
    EXPECT_EQ(protocolText(referenceCrane()), expectedReferenceText());
    EXPECT_EQ(fixedText(0.25, 3), "0.250");
    EXPECT_EQ(generalText(1234567), "1.23457e+06");
}

TEST(protocolText, CapacityIsTruncatedToWholeTonnes)
{
    ScopedTimeZone zone("UTC");
    SKIP_UNLESS_IN_ZONE(zone);
    referenceCrane crane;
    crane.maxWeight = 12.7f;
    EXPECT_NE(protocolText(crane).find("<TD><B>12 т.</B></TD><TR>"), std::string::npos);
    crane.maxWeight = 1e20f;   // no int holds it: the largest is shown
    EXPECT_NE(protocolText(crane).find("<TD><B>2147483647 т.</B></TD><TR>"), std::string::npos);
}

// Times that run back within a graph (a damaged file) add up beyond 32 bits: the running
// seconds are summed whole, not wrapped into negative ones.
TEST(protocolText, RunningSecondsBeyond32BitsAreShownWhole)
{
    ScopedTimeZone zone("UTC");
    SKIP_UNLESS_IN_ZONE(zone);
    referenceCrane crane;
    crane.graphs.clear();
    for (int g = 0; g < 2; ++g) {
        auto graph = std::make_unique<cycLink>();
        graph->timeStamp = crane.timeStamp;
        for (int i = 0; i < 32767; ++i)   // on at 0 s, off at 65535 s, and again
            graph->Points.insert(graph->Points.end(), {0x00, 0x00, 0x01, 0xFF, 0xFF, 0x00});
        graph->Points.insert(graph->Points.end(), {0x00, 0x00, load(1)});
        graph->Npoints = 65535;
        crane.graphs.pushBack(graph.release());
    }
    // 2 x 32767 x 65535 s, and its share of an hour
    EXPECT_NE(protocolText(crane).find("ЧВ: 65534 ПВ: 4294770690 с (119299185%)"), std::string::npos);
}

TEST(protocolText, CraneTextsAreShownNotObeyedAsMarkup)
{
    ScopedTimeZone zone("UTC");
    SKIP_UNLESS_IN_ZONE(zone);
    referenceCrane crane;
    crane.regNo = "<B&>";
    const std::string html = protocolText(crane);
    EXPECT_NE(html.find("<TD WIDTH=20%><B>&lt;B&amp;&gt;</B></TD>"), std::string::npos);
}

// A data file may hold megabytes in a crane's text: the page shows its start only, so that it
// is laid out at once.
TEST(protocolText, OverlongCraneTextsAreCut)
{
    ScopedTimeZone zone("UTC");
    SKIP_UNLESS_IN_ZONE(zone);
    referenceCrane crane;
    crane.serNo = std::string(10000000, 'A');
    const std::string html = protocolText(crane);
    EXPECT_LT(html.size(), 20000u);
    EXPECT_NE(html.find("<TD><B>" + std::string(64, 'A') + "\u2026</B></TD>"), std::string::npos);
}

TEST(protocolText, YearWords)
{
    const std::pair<int, const char*> words[] = {
        {0, "лет"},  {1, "год"},   {2, "года"}, {4, "года"}, {5, "лет"},   {11, "лет"},
        {20, "лет"}, {21, "год"}, {22, "года"}, {25, "лет"}, {101, "год"}, {112, "года"},
    };
    for (const auto& [years, word] : words)
        EXPECT_STREQ(yearWord(years), word) << years;
}

}  // namespace
