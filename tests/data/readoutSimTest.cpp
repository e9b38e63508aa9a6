// The readout engine against the simulator's device in the test's own process: what the scenario
// holds must come out of the readout field by field, and each failure keeps what it should.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/cp1251.h"
#include "data/readout.h"
#include "data/timeText.h"
#include "link/codings.h"
#include "link/comm.h"
#include "sim/scenario.h"
#include "tests/support/inProcessSim.h"
#include "tests/support/readoutScenarios.h"
#include "tests/support/reportLog.h"
#include "tests/support/timeZone.h"

namespace {

class readoutAgainstSim : public ::testing::Test {
protected:
    void SetUp() override { SKIP_UNLESS_IN_ZONE(zone); }
    void TearDown() override { cranes.clear(); }

    // Reads the simulator started with options (and the scenario text, if any); returns
    // whether the completion message is due. The user stops the readout once cancelAt has been
    // logged as a status text, if it is given.
    bool read(const std::string& scenario, std::vector<std::string> options = {},
              const std::string& cancelAt = {})
    {
        inProcessSim sim(options, scenario);
        comm link(reportLog::status, reportLog::error, sim.transports);
        if (!cancelAt.empty())
            link.setCancelCheck([cancelAt] {
                const auto& seen = reportLog::statuses;
                return std::find(seen.begin(), seen.end(), cancelAt) != seen.end();
            });
        EXPECT_TRUE(link.openSerial("COM1", {}));
        return readDevice(link, cranes, computeRecorderEpoch(), reportLog::status, reportLog::error,
                          [this](const readoutProgress& step) { progress.push_back(step); });
    }

    std::vector<devLink*> held() const
    {
        std::vector<devLink*> all;
        for (devLink* c = firstCrane(cranes); c; c = nextCrane(c))
            all.push_back(c);
        return all;
    }
    static std::vector<cycLink*> graphsOf(const devLink& crane)
    {
        std::vector<cycLink*> all;
        for (cycLink* g = firstGraph(crane); g; g = nextGraph(g))
            all.push_back(g);
        return all;
    }
    static std::vector<std::string> serialNumbers(const std::vector<devLink*>& cranes)
    {
        std::vector<std::string> numbers;
        for (const devLink* c : cranes)
            numbers.push_back(c->serNo);
        return numbers;
    }
    static int32_t at(const char* text) { return parseDate(text).value_or(0); }

    ScopedTimeZone zone{"Europe/Moscow"};
    reportLog::fresh log;
    aList cranes;
    std::vector<readoutProgress> progress;
};

TEST_F(readoutAgainstSim, RecorderComesOutFieldByField)
{
    EXPECT_TRUE(read(recorderScenario));
    EXPECT_TRUE(reportLog::errors.empty());
    const auto all = held();
    ASSERT_EQ(all.size(), 1u);
    const devLink& c = *all[0];
    EXPECT_EQ(cp1251ToUtf8(c.regNo), "Р-20481");
    EXPECT_EQ(c.serNo, "77 019");
    EXPECT_EQ(cp1251ToUtf8(c.invNo), "ИН-31");
    EXPECT_EQ(c.workSince, at("2011-04-01 00:00:00"));
    EXPECT_EQ(c.regiSince, at("2016-09-12 14:45:00"));
    // The device clock started at 10:00:00 and ticks on while the test runs.
    EXPECT_GE(c.timeStamp, at("2024-03-15 10:00:00"));
    EXPECT_LT(c.timeStamp, at("2024-03-15 10:00:30"));
    EXPECT_EQ(cp1251ToUtf8(c.name), "Р-20481 " + dateTimeText(c.timeStamp));
    EXPECT_EQ(c.maxWeight, 160.0f);
    EXPECT_EQ(c.workMaxSeconds, 630720000u);
    EXPECT_EQ(c.workMaxYears, 20);
    EXPECT_EQ(c.workMaxGrp, 4);
    EXPECT_EQ(c.adcZS, 25);
    EXPECT_EQ(c.adcFZS, 175);
    EXPECT_EQ(c.ogpH, 105);
    EXPECT_EQ(c.ogpL, 90);
    EXPECT_EQ(c.cyclesTotal, 175u);
    EXPECT_EQ(std::vector<uint32_t>(c.cycles, c.cycles + 5), (std::vector<uint32_t>{100, 50, 20, 5, 2}));
    EXPECT_EQ(std::vector<float>(c.hourCounter, c.hourCounter + 6),
              (std::vector<float>{1.5f, 0.25f, 0, 0, 0, 7}));
    EXPECT_EQ(c.weightTotal, 4400.0f * 143 / 200);  // capacity byte 143 stands for 160 t
    EXPECT_EQ(c.cubeSum, 12.5f);
    EXPECT_EQ(c.cntN, 2);
    EXPECT_EQ(c.cntE, 1);

    // The graph with two load samples is dropped; the others keep every point.
    const auto graphs = graphsOf(c);
    ASSERT_EQ(graphs.size(), 2u);
    EXPECT_EQ(graphs[0]->timeStamp, at("2024-03-15 09:00:00"));
    EXPECT_EQ(graphs[0]->Npoints, 8);
    EXPECT_EQ(graphs[0]->loadCount(), 5);
    EXPECT_EQ(graphs[0]->eventCount(), 3);
    EXPECT_EQ(graphs[0]->loadPoints[3].time, 4u);
    EXPECT_EQ(graphs[0]->loadPoints[3].load, 56.0f);
    EXPECT_EQ(graphs[1]->timeStamp, at("2024-03-15 09:40:00"));
    EXPECT_EQ(peakLoad(*graphs[1]), 120);
    EXPECT_EQ(graphs[1]->eventPoints[1].state, 0x40);

    EXPECT_EQ(reportLog::statuses,
              (std::vector<std::string>{"Обнаружен регистратор параметров \"RP_v0001\"",
                                        "Чтение графика № 1/2", "Чтение графика № 2/2",
                                        "Чтение графика с перегрузкой № 1/1"}));
}

TEST_F(readoutAgainstSim, CollectorSlotsBecomeCranesInOrder)
{
    EXPECT_TRUE(read(collectorScenario));
    EXPECT_TRUE(reportLog::errors.empty());
    const auto all = held();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(serialNumbers(all), (std::vector<std::string>{"S1", "S2", "S3"}));
    // The registration number and the time come from the slot, not from the memory image.
    EXPECT_EQ(cp1251ToUtf8(all[0]->regNo), "КР-000000001");
    EXPECT_EQ(all[0]->timeStamp, at("2024-03-14 08:00:00"));
    EXPECT_EQ(cp1251ToUtf8(all[0]->name), "КР-000000001 14/03/2024 08:00:00");
    EXPECT_EQ(cp1251ToUtf8(all[2]->name), "КР-3 14/03/2024 10:00:00");
    EXPECT_EQ(all[1]->maxWeight, 20.0f);
    EXPECT_EQ(std::vector<uint32_t>(all[0]->cycles, all[0]->cycles + 5),
              (std::vector<uint32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(graphsOf(*all[0]).size(), 3u);
    ASSERT_EQ(graphsOf(*all[1]).size(), 1u);
    EXPECT_EQ(peakLoad(*graphsOf(*all[1])[0]), 120);
    EXPECT_TRUE(graphsOf(*all[2]).empty());
    EXPECT_EQ(reportLog::statuses[0], "Обнаружен регистратор параметров \"VELM0001\"");
    EXPECT_EQ(reportLog::statuses[1], "Чтение данных об устройстве из слота 1 из 3");
    EXPECT_EQ(reportLog::statuses.back(), "Чтение данных об устройстве из слота 3 из 3");
}

TEST_F(readoutAgainstSim, StoppedInTheMiddleOfACollectorKeepsWhatWasReadWhole)
{
    // The user stops while the second graph of the first slot is being read.
    EXPECT_FALSE(read(collectorScenario, {}, "Чтение графика № 2/3"));
    EXPECT_TRUE(reportLog::errors.empty()) << "an abandoned exchange is no failure";
    const auto all = held();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0]->serNo, "S1");
    const auto graphs = graphsOf(*all[0]);
    ASSERT_EQ(graphs.size(), 1u);
    EXPECT_EQ(graphs[0]->timeStamp, at("2024-03-14 07:00:00"));
    EXPECT_EQ(reportLog::statuses.back(), "Считывание прервано пользователем. Сохранены полностью "
                                          "считанные данные: кранов 1, графиков 1");
    // Where the readout stood, step by step: the first slot of three, then its graphs.
    ASSERT_EQ(progress.size(), 3u);
    EXPECT_EQ(progress[0].crane, 1u);
    EXPECT_EQ(progress[0].cranes, 3u);
    EXPECT_EQ(progress[2].graph, 2u);
    EXPECT_EQ(progress[2].graphs, 3u);
}

TEST_F(readoutAgainstSim, FaultsCuredByARetryChangeNothing)
{
    EXPECT_TRUE(read(collectorScenario, {"--fault", "ReadGraph#1:crc@1", "--fault", "SelectSlot/slot=1:command@1",
                                         "--fault", "ReadMemory/slot=2:delay=1500@1", "--fault",
                                         "SlotCount:crc@2"}));
    EXPECT_TRUE(reportLog::errors.empty());
    const auto all = held();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(serialNumbers(all), (std::vector<std::string>{"S1", "S2", "S3"}));
    EXPECT_EQ(graphsOf(*all[0]).size(), 3u);
    EXPECT_EQ(all[2]->maxWeight, 30.0f);
}

TEST_F(readoutAgainstSim, CollectorWithoutSlotsEndsWellWithNoCrane)
{
    EXPECT_TRUE(read("", {"--collector", "0"}));
    EXPECT_TRUE(reportLog::errors.empty());
    EXPECT_TRUE(held().empty());
}

TEST_F(readoutAgainstSim, SlotWhoseMemoryCannotBeReadIsSkipped)
{
    EXPECT_FALSE(read(collectorScenario, {"--fault", "ReadMemory/slot=1:length=10"}));
    EXPECT_EQ(reportLog::errors, (std::vector<std::string>{"Ошибка при чтении памяти с адреса $0000"}));
    EXPECT_EQ(serialNumbers(held()), (std::vector<std::string>{"S1", "S3"}));
}

TEST_F(readoutAgainstSim, SlotThatCannotBeSelectedEndsTheSlotLoop)
{
    EXPECT_FALSE(read(collectorScenario, {"--fault", "SelectSlot/slot=1:length=3"}));
    EXPECT_EQ(reportLog::errors, (std::vector<std::string>{"Ошибка при установке текущего слота: 1"}));
    EXPECT_EQ(serialNumbers(held()), (std::vector<std::string>{"S1"}));

    cranes.clear();
    reportLog::clear();
    EXPECT_FALSE(read(collectorScenario, {"--fault", "SelectSlot/slot=1:echo=7"}));
    EXPECT_EQ(reportLog::errors,
              (std::vector<std::string>{"Ошибка при установке текущего слота (номер не существует): 1 <=> 7"}));
    EXPECT_EQ(serialNumbers(held()), (std::vector<std::string>{"S1"}));
}

TEST_F(readoutAgainstSim, GraphThatFailsIsLeftOutAndTheOthersStay)
{
    EXPECT_FALSE(read(collectorScenario, {"--fault", "ReadGraph#1/slot=0:length=9@1"}));
    EXPECT_EQ(reportLog::errors, (std::vector<std::string>{"Ошибка при чтении цикла 0/1"}));
    const auto all = held();
    ASSERT_EQ(all.size(), 3u);
    const auto graphs = graphsOf(*all[0]);
    ASSERT_EQ(graphs.size(), 2u);
    EXPECT_EQ(graphs[0]->timeStamp, at("2024-03-14 07:00:00"));
    EXPECT_EQ(graphs[1]->timeStamp, at("2024-03-14 07:20:00"));
    EXPECT_EQ(graphsOf(*all[1]).size(), 1u);
}

TEST_F(readoutAgainstSim, GraphCountBeyondAStoreReadsThatStoreOnly)
{
    // 40 ordinary graphs claimed: numbers 30 and up would be the overload store's.
    std::string scenario = recorderScenario;
    scenario.insert(scenario.find("  graph ordinary"), "  graphCounts 40 1 0\n");
    EXPECT_FALSE(read(scenario));
    EXPECT_EQ(reportLog::errors.size(), 28u) << "graphs 3..30 are not stored";
    EXPECT_EQ(reportLog::errors.back(), "Ошибка при чтении цикла 0/29");
    ASSERT_EQ(reportLog::statuses.size(), 32u);
    EXPECT_EQ(reportLog::statuses[30], "Чтение графика № 30/30");
    EXPECT_EQ(graphsOf(*held().at(0)).size(), 2u);
}

TEST_F(readoutAgainstSim, HangUpMidReadoutKeepsWhatWasRead)
{
    EXPECT_FALSE(read(collectorScenario, {"--fault", "ReadGraph#1/slot=0:hangup=10@1"}));
    ASSERT_FALSE(reportLog::errors.empty());
    EXPECT_EQ(reportLog::errors.back(), "Ошибка при установке текущего слота: 1");
    const auto all = held();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(graphsOf(*all[0]).size(), 1u);
}

TEST_F(readoutAgainstSim, FailuresBeforeTheFirstCraneLeaveNoCrane)
{
    struct Case {
        std::string scenario;
        std::vector<std::string> options;
        std::vector<std::string> errors;
    };
    const std::vector<Case> cases = {
        // The link's own text comes first, then the readout's.
        {recorderScenario, {"--fault", "Identify:crc"},
         {"Ошибка контрольной суммы при приеме", "Ошибка при чтении идентификатора устройства"}},
        {collectorScenario, {"--fault", "SlotCount:length=1"}, {"Ошибка при чтении количества слотов"}},
        {recorderScenario, {"--fault", "ReadMemory:length=127"}, {"Ошибка при чтении памяти с адреса $0000"}},
        {recorderScenario, {"--fault", "ReadClock:length=6"}, {"Ошибка при чтении времени"}},
        {std::string("identifier RP_v0002\n") + recorderScenario, {},
         {"Неизвестный или неподдерживаемый тип регистратора параметров: RP_v0002"}},
    };
    for (const Case& c : cases) {
        reportLog::clear();
        EXPECT_FALSE(read(c.scenario, c.options)) << c.errors.back();
        EXPECT_EQ(reportLog::errors, c.errors);
        EXPECT_TRUE(held().empty()) << c.errors.back();
    }
}

}  // namespace
