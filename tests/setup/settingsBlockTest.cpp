#include "setup/settingsBlock.h"

#include <gtest/gtest.h>

#include "link/codings.h"
#include "link/crc16.h"
#include "tests/support/reportLog.h"
#include "tests/support/timeZone.h"

namespace {

settingsFields typicalFields()
{
    settingsFields f;
    f.regNo = "123";
    f.serNo = "SER45678";
    f.invNo = "Инв-1";
    f.workSince = 1433136600;   // Monday 01/06/2015 08:30 Moscow time
    f.regiSince = 1584262800;   // Sunday 15/03/2020 12:00
    f.fullCode = "220";
    f.zeroCode = "20";
    f.capacity = "25";
    f.serviceLife = "10";
    f.groupSelection = 4;     // A5
    f.tripSelection = 109;    // 110 %
    f.resetSelection = 99;    // 100 %
    return f;
}

// The capacity as the readout reads the byte back.
unsigned readBackTonnes(uint8_t byte) { return byte <= 127 ? byte : (byte - 127u) * 10; }

TEST(settingsBlock, LayoutOfATypicalBlock)
{
    ScopedTimeZone zone("Europe/Moscow");
    SKIP_UNLESS_IN_ZONE(zone);
    const reportLog::fresh reports;
    const auto block = buildSettingsBlock(typicalFields(), reportLog::error);
    ASSERT_TRUE(block);
    EXPECT_TRUE(reportLog::errors.empty());
    const settingsBlock& b = *block;
    const settingsBlock expected = {
        '1', '2', '3', 0, 0, 0, 0, 0,                       // 3 characters, zero-padded
        'S', 'E', 'R', '4', '5', '6', '7', '8',             // 8 characters, no terminator
        0xC8, 0xED, 0xE2, '-', '1', 0, 0, 0,                // Windows-1251
        0, 30, 8, 1, 1, 6, 115,                             // workSince
        0, 0, 12, 7, 15, 3, 120,                            // regiSince
        220, 220,                                           // full code
        25,                                                 // capacity
        0x12, 0xCC, 0x03, 0x00, 10,                         // 10 years: 315360000 s
        5,                                                  // A5
        20, 200, 20, 200,                                   // zero code, span, copies
        110, 100,                                           // limiter trip and reset
        0, 0, 0, 0, 0, 0, 0, 0, 0,
        b[62], b[63],
    };
    EXPECT_EQ(b, expected);
    crc16 crc;
    EXPECT_EQ(getBe16(&b[62]), crc.packetCrc(b.data(), 62));
    EXPECT_EQ(crc.compute(b.data(), b.size()), 0);
}

TEST(settingsBlock, UnselectedGroupAndLongNumberTexts)
{
    ScopedTimeZone zone("UTC");
    SKIP_UNLESS_IN_ZONE(zone);
    const reportLog::fresh reports;
    settingsFields f = typicalFields();
    f.groupSelection = -1;   // a crane of group 0 left unchanged
    f.zeroCode = "020";
    f.regNo = "КР-42ABCDEFG";   // Cyrillic converted, cut at 8 bytes
    const auto b = buildSettingsBlock(f, reportLog::error);
    ASSERT_TRUE(b);
    EXPECT_EQ((*b)[46], 0);
    EXPECT_EQ((*b)[47], 20);
    EXPECT_EQ(std::string(b->begin(), b->begin() + 8), "\xCA\xD0-42ABC");
    EXPECT_EQ((*b)[8], 'S');
    EXPECT_TRUE(reportLog::errors.empty());
}

// Nothing is cut down to a low byte: a slip of the hand would miscalibrate the load limiter.
TEST(settingsBlock, NumbersTheBlockCannotHoldAreRefusedWithTheReason)
{
    const char* const codeRange = "\nКод АЦП — число от 0 до 255";
    const char* const zeroBelowFull = "Код АЦП для нагрузки 0% должен быть меньше кода АЦП для нагрузки 100%";
    const struct {
        const char* full;
        const char* zero;
        const char* serviceLife;
        std::vector<std::string> errors;
    } cases[] = {
        {"999", "300", "10",
         {std::string("Неверное значение в поле 'Сумма: код АЦП для нагрузки 100%'") + codeRange,
          std::string("Неверное значение в поле 'Сумма: код АЦП для нагрузки 0%'") + codeRange}},
        {"256", "20", "10", {std::string("Неверное значение в поле 'Сумма: код АЦП для нагрузки 100%'") + codeRange}},
        {"220", "220", "10", {zeroBelowFull}},
        {"20", "220", "10", {zeroBelowFull}},
        {"220", "20", "137",
         {"Неверное значение в поле 'Срок службы крана'\nСрок службы крана — не более 136 лет"}},
    };
    for (const auto& c : cases) {
        const reportLog::fresh reports;
        settingsFields f = typicalFields();
        f.fullCode = c.full;
        f.zeroCode = c.zero;
        f.serviceLife = c.serviceLife;
        EXPECT_FALSE(buildSettingsBlock(f, reportLog::error)) << c.full << " " << c.zero;
        EXPECT_EQ(reportLog::errors, c.errors);
    }

    const reportLog::fresh reports;
    settingsFields f = typicalFields();
    f.fullCode = "255";
    f.zeroCode = "254";
    f.serviceLife = "136";
    const auto b = buildSettingsBlock(f, reportLog::error);
    ASSERT_TRUE(b);
    EXPECT_EQ((*b)[38], 255);
    EXPECT_EQ((*b)[48], 1);
    EXPECT_EQ(getBe32(&(*b)[41]), 136u * 31536000u);
}

TEST(settingsBlock, CapacityReadsBackAsWritten)
{
    for (unsigned long t = 0; t <= 2000; ++t) {
        const std::optional<uint8_t> byte = capacityByte(t);
        const bool holdable = t <= 127 || (t % 10 == 0 && t <= 1280);
        ASSERT_EQ(byte.has_value(), holdable) << t;
        if (byte) {
            EXPECT_EQ(readBackTonnes(*byte), t);
        }
    }
    EXPECT_EQ(capacityByte(130), 140);
    EXPECT_EQ(capacityByte(1280), 255);

    const reportLog::fresh reports;
    settingsFields f = typicalFields();
    f.capacity = "255";   // the page once wrote 255 as is; the readout would show 1280 t
    EXPECT_FALSE(buildSettingsBlock(f, reportLog::error));
    EXPECT_EQ(reportLog::errors,
              std::vector<std::string>{"Неверное значение в поле 'Номинальная грузоподъемность крана'\n"
                                       "Свыше 127 т — кратные 10 т, до 1280 т"});
}

TEST(settingsBlock, EveryInputErrorIsReportedAndNothingBuilt)
{
    const reportLog::fresh reports;
    settingsFields f = typicalFields();
    f.serNo = "Kr\xC3\xA4n";   // a-umlaut: no Windows-1251 form
    f.fullCode = "2a0";
    f.zeroCode = " 20";
    f.capacity = "";
    f.serviceLife = "-1";
    f.tripSelection = 49;   // 50 % trip, 50 % reset
    f.resetSelection = 49;
    EXPECT_FALSE(buildSettingsBlock(f, reportLog::error));
    const std::vector<std::string> expected = {
        "Неверное значение в поле 'Заводской номер крана'",
        "Неверное значение в поле 'Сумма: код АЦП для нагрузки 100%'",
        "Неверное значение в поле 'Сумма: код АЦП для нагрузки 0%'",
        "Неверное значение в поле 'Номинальная грузоподъемность крана'",
        "Неверное значение в поле 'Срок службы крана'",
        "Уровень сброса ОГП должен быть меньше уровня срабатывания ОГП",
    };
    EXPECT_EQ(reportLog::errors, expected);
}

TEST(settingsBlock, SingleRefusals)
{
    const struct {
        void (*change)(settingsFields&);
        const char* text;
    } cases[] = {
        {[](settingsFields& f) { f.tripSelection = 10, f.resetSelection = 20; },
         "Уровень сброса ОГП должен быть меньше уровня срабатывания ОГП"},
        {[](settingsFields& f) { f.regNo = "€\xF0\x9F\x98\x80"; },
         "Неверное значение в поле 'Регистрационный номер крана'"},
        {[](settingsFields& f) { f.invNo = "\xD0"; },   // a cut UTF-8 sequence
         "Неверное значение в поле 'Инвентаризационный номер крана'"},
        {[](settingsFields& f) { f.zeroCode = "99999999999"; },   // beyond 32 bits
         "Неверное значение в поле 'Сумма: код АЦП для нагрузки 0%'"},
        {[](settingsFields& f) { f.serviceLife = "+5"; }, "Неверное значение в поле 'Срок службы крана'"},
    };
    for (const auto& c : cases) {
        const reportLog::fresh reports;
        settingsFields f = typicalFields();
        c.change(f);
        EXPECT_FALSE(buildSettingsBlock(f, reportLog::error)) << c.text;
        EXPECT_EQ(reportLog::errors, std::vector<std::string>{c.text});
    }
}

}  // namespace
