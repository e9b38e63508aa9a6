// The settings update against the simulator's device in the test's own process: what the
// recorder's memory and clock hold afterwards, and what a failure leaves behind.
#include "setup/settingsUpdate.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include <gtest/gtest.h>

#include "data/readout.h"
#include "link/codings.h"
#include "link/comm.h"
#include "sim/dump.h"
#include "tests/support/inProcessSim.h"
#include "tests/support/reportLog.h"
#include "tests/support/timeZone.h"

namespace {

constexpr int32_t now = 1718000000;   // Monday 10/06/2024 09:13:20 Moscow time

settingsFields newSettings()
{
    settingsFields f;
    f.regNo = "РК-7";
    f.serNo = "00451";
    f.invNo = "INV00017";
    f.workSince = 1262322000;   // 01/01/2010 08:00:00
    f.regiSince = 1600000000;   // 13/09/2020 15:26:40
    f.fullCode = "210";
    f.zeroCode = "12";
    f.capacity = "320";
    f.serviceLife = "25";
    f.groupSelection = 5;       // A6
    f.tripSelection = 104;      // 105 %
    f.resetSelection = 94;      // 95 %
    return f;
}

settingsBlock expectedBlock(const settingsFields& fields)
{
    const std::optional<settingsBlock> block = buildSettingsBlock(fields, reportLog::error);
    EXPECT_TRUE(block);
    return block.value_or(settingsBlock{});
}

// Bytes 0..63 of the recorder's memory as the dump lists them, 16 a line.
settingsBlock dumpedBlock(const std::string& dump)
{
    settingsBlock block{};
    for (unsigned line = 0; line < settingsBlockSize / 16; ++line) {
        char key[32];
        std::snprintf(key, sizeof key, "\nmemory 0 %04X ", line * 16);
        const std::size_t at = dump.find(key);
        if (at == std::string::npos) {
            ADD_FAILURE() << "no line" << key << "in\n" << dump;
            return block;
        }
        std::istringstream bytes(dump.substr(at + std::strlen(key)));
        for (unsigned i = 0; i < 16; ++i) {
            unsigned value = 0;
            bytes >> std::hex >> value;
            block[line * 16 + i] = static_cast<uint8_t>(value);
        }
    }
    return block;
}

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// A recorder and a link to it.
class settingsUpdate : public ::testing::Test {
protected:
    void SetUp() override { SKIP_UNLESS_IN_ZONE(zone); }
    void start(std::vector<std::string> options)
    {
        options.insert(options.begin(), {"--clock", "2023-02-01 12:00:00"});
        sim = std::make_unique<inProcessSim>(options);
        link = std::make_unique<comm>(reportLog::status, reportLog::error, sim->transports);
        ASSERT_TRUE(link->openSerial("COM1", {}));
    }
    // Ends the session and returns the simulator's dump.
    std::string finish()
    {
        link->close();
        std::ostringstream dump;
        writeDump(sim->device, dump);
        return dump.str();
    }

    // Answers the question with answer and keeps what was asked.
    ConfirmCallback confirm = [this](const settingsQuestion& question) {
        asked.push_back(question);
        return answer;
    };
    std::vector<settingsQuestion> asked;
    bool answer = true;

    ScopedTimeZone zone{"Europe/Moscow"};
    reportLog::fresh reports;
    std::unique_ptr<inProcessSim> sim;
    std::unique_ptr<comm> link;
};

TEST_F(settingsUpdate, WritesTheBlockSetsTheClockAndTheRecorderReadsBackTheNewSettings)
{
    start({});
    const settingsFields fields = newSettings();
    ASSERT_TRUE(writeSettings(*link, fields, now, reportLog::status, reportLog::error, confirm));
    EXPECT_TRUE(reportLog::errors.empty());
    ASSERT_EQ(reportLog::statuses.size(), settingsBlockSize);
    EXPECT_EQ(reportLog::statuses.front(), "Обновляется память РП по адресу $0000");
    EXPECT_EQ(reportLog::statuses.back(), "Обновляется память РП по адресу $003F");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].identifier, "RP_v0001");
    EXPECT_EQ(asked[0].next, expectedBlock(fields));

    aList cranes;
    ASSERT_TRUE(readDevice(*link, cranes, computeRecorderEpoch(), reportLog::status, reportLog::error));
    const devLink& crane = *firstCrane(cranes);
    EXPECT_EQ(crane.regNo, "\xD0\xCA-7");
    EXPECT_EQ(crane.serNo, "00451");
    EXPECT_EQ(crane.invNo, "INV00017");
    EXPECT_EQ(crane.workSince, fields.workSince);
    EXPECT_EQ(crane.regiSince, fields.regiSince);
    EXPECT_EQ(crane.maxWeight, 320.0f);
    EXPECT_EQ(crane.workMaxYears, 25);
    EXPECT_EQ(crane.workMaxSeconds, 25u * 31536000u);
    EXPECT_EQ(crane.workMaxGrp, 6);
    EXPECT_EQ(crane.adcZS, 12);
    EXPECT_EQ(crane.adcFZS, 198);
    EXPECT_EQ(crane.ogpH, 105);
    EXPECT_EQ(crane.ogpL, 95);

    const std::string dump = finish();
    EXPECT_EQ(dumpedBlock(dump), expectedBlock(fields)) << "the CRC included";
    EXPECT_EQ(count(dump, "\nwrite 0 "), settingsBlockSize);
    uint8_t clock[7];
    toBcdClock(now, clock);
    char clockLine[64];
    std::snprintf(clockLine, sizeof clockLine, "\nset-clock-bcd %02X %02X %02X %02X %02X %02X %02X\n", clock[0],
                  clock[1], clock[2], clock[3], clock[4], clock[5], clock[6]);
    EXPECT_NE(dump.find(clockLine), std::string::npos) << clockLine << dump;
}

TEST_F(settingsUpdate, ABadWriteReplyStopsAtItsAddressAndTheClockIsNotSet)
{
    start({"--fault", "WriteByte#20:length=0"});
    const settingsFields fields = newSettings();
    EXPECT_FALSE(writeSettings(*link, fields, now, reportLog::status, reportLog::error, confirm));
    EXPECT_EQ(reportLog::errors,
              std::vector<std::string>{"Ошибка при записи байта по адресу $0014 - неверный ответ от устройства "
                                       "(пакет длиной 7 байт)"});
    EXPECT_EQ(reportLog::statuses.size(), 21u);

    const std::string dump = finish();
    EXPECT_EQ(count(dump, "\nwrite 0 "), 21u) << "nothing after the failing address";
    const settingsBlock written = dumpedBlock(dump), expected = expectedBlock(fields);
    EXPECT_TRUE(std::equal(written.begin(), written.begin() + 20, expected.begin()));
    EXPECT_NE(dump.find("\nset-clock none\n"), std::string::npos);
}

TEST_F(settingsUpdate, NothingIsWrittenAfterAFailedCheckAnInputErrorOrARefusal)
{
    start({"--fault", "Identify:length@1", "--fault", "ReadMemory:length@1"});
    const settingsFields fields = newSettings();
    EXPECT_FALSE(writeSettings(*link, fields, now, reportLog::status, reportLog::error, confirm));
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{"Ошибка при чтении идентификатора устройства"});
    reportLog::clear();
    EXPECT_FALSE(writeSettings(*link, fields, now, reportLog::status, reportLog::error, confirm));
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{"Ошибка при чтении памяти с адреса $0000"});

    reportLog::clear();
    settingsFields wrong = fields;
    wrong.capacity = "";
    wrong.resetSelection = wrong.tripSelection;
    EXPECT_FALSE(writeSettings(*link, wrong, now, reportLog::status, reportLog::error, confirm));
    const std::vector<std::string> expected = {
        "Неверное значение в поле 'Номинальная грузоподъемность крана'",
        "Уровень сброса ОГП должен быть меньше уровня срабатывания ОГП",
    };
    EXPECT_EQ(reportLog::errors, expected);
    EXPECT_TRUE(asked.empty()) << "no question about a block that cannot be built";

    reportLog::clear();
    answer = false;
    EXPECT_FALSE(writeSettings(*link, fields, now, reportLog::status, reportLog::error, confirm));
    EXPECT_TRUE(reportLog::errors.empty());
    EXPECT_TRUE(reportLog::statuses.empty());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].next, expectedBlock(fields));

    const std::string dump = finish();
    EXPECT_EQ(dump.find("\nwrite "), std::string::npos) << dump;
    EXPECT_NE(dump.find("\nset-clock none\n"), std::string::npos);
    EXPECT_EQ(dumpedBlock(dump), asked[0].current) << "the question shows what the recorder holds";
}

TEST_F(settingsUpdate, AClockReplyOfAnotherLengthIsAFailure)
{
    start({"--fault", "SetClock:length=1"});
    EXPECT_FALSE(writeSettings(*link, newSettings(), now, reportLog::status, reportLog::error, confirm));
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{"Ошибка при установке времени РП (8)"});
    EXPECT_EQ(count(finish(), "\nwrite 0 "), settingsBlockSize);
}

TEST_F(settingsUpdate, LiveLoadCode)
{
    start({"--load", "201", "--fault", "ReadLoad:length@1"});
    EXPECT_EQ(readLoadCode(*link, reportLog::error), 0);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{"Ошибка при чтении текущей нагрузки"});
    EXPECT_EQ(readLoadCode(*link, reportLog::error), 201);
    EXPECT_EQ(reportLog::errors.size(), 1u);
}

}  // namespace
