#include "setup/settingsBlock.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "data/cp1251.h"
#include "link/codings.h"
#include "link/crc16.h"

namespace {

constexpr std::size_t numberFieldSize = 8;
constexpr uint32_t secondsPerYear = 31536000;   // 365 days

// Windows-1251 bytes of a typed number, cut at the field size; false when the text holds a
// character Windows-1251 has no form for.
bool putNumberText(const std::string& utf8, uint8_t* field)
{
    std::string bytes;
    if (!utf8ToCp1251(utf8, bytes))
        return false;
    std::memcpy(field, bytes.data(), std::min(bytes.size(), numberFieldSize));
    return true;
}

// A whole text of decimal digits, within 32 bits.
bool parseUnsigned(const std::string& text, unsigned long& value)
{
    if (text.empty())
        return false;
    uint64_t v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
        if (v > UINT32_MAX)
            return false;
    }
    value = static_cast<unsigned long>(v);
    return true;
}

uint8_t lowByte(unsigned long v) { return static_cast<uint8_t>(v & 0xFF); }

uint8_t selectionByte(int selection) { return static_cast<uint8_t>(selection + 1); }

}  // namespace

// Up to 127 t the byte is the capacity itself. Above, the readout reads (byte - 127) * 10 t, so
// the block stores capacity / 10 + 127 only where that reads back the same: multiples of 10 up
// to 1280 t. Any other capacity would come back from the recorder as another number; it is
// refused instead of written.
std::optional<uint8_t> capacityByte(unsigned long tonnes)
{
    if (tonnes <= 127)
        return static_cast<uint8_t>(tonnes);
    if (tonnes % 10 != 0 || tonnes > 1280)
        return std::nullopt;
    return static_cast<uint8_t>(tonnes / 10 + 127);
}

std::optional<settingsBlock> buildSettingsBlock(const settingsFields& fields, ReportCallback error)
{
    settingsBlock block{};
    bool failed = false;

    if (!putNumberText(fields.regNo, &block[0])) {
        error("Неверное значение в поле 'Регистрационный номер крана'");
        failed = true;
    }
    if (!putNumberText(fields.serNo, &block[8])) {
        error("Неверное значение в поле 'Заводской номер крана'");
        failed = true;
    }
    if (!putNumberText(fields.invNo, &block[16])) {
        error("Неверное значение в поле 'Инвентаризационный номер крана'");
        failed = true;
    }
    toBinaryClock(fields.workSince, &block[24]);
    toBinaryClock(fields.regiSince, &block[31]);

    unsigned long fullCode = 0, zeroCode = 0, capacity = 0, serviceLife = 0;
    if (!parseUnsigned(fields.fullCode, fullCode)) {
        error("Неверное значение в поле 'Сумма: код АЦП для нагрузки 100%%'");
        failed = true;
    }
    if (!parseUnsigned(fields.zeroCode, zeroCode)) {
        error("Неверное значение в поле 'Сумма: код АЦП для нагрузки 0%%'");
        failed = true;
    }
    std::optional<uint8_t> capacityValue;
    if (parseUnsigned(fields.capacity, capacity))
        capacityValue = capacityByte(capacity);
    if (!capacityValue) {
        error("Неверное значение в поле 'Номинальная грузоподъемность крана'");
        failed = true;
    }
    if (!parseUnsigned(fields.serviceLife, serviceLife)) {
        error("Неверное значение в поле 'Срок службы крана'");
        failed = true;
    }

    block[38] = block[39] = lowByte(fullCode);
    block[40] = capacityValue.value_or(0);
    putBe32(&block[41], lowByte(serviceLife) * secondsPerYear);
    block[45] = lowByte(serviceLife);
    block[46] = selectionByte(fields.groupSelection);
    block[47] = block[49] = lowByte(zeroCode);
    block[48] = block[50] = lowByte(fullCode - zeroCode);
    block[51] = selectionByte(fields.tripSelection);
    block[52] = selectionByte(fields.resetSelection);
    if (block[51] <= block[52]) {
        error("Уровень сброса ОГП должен быть меньше уровня срабатывания ОГП");
        failed = true;
    }
    if (failed)
        return std::nullopt;

    crc16 crc;
    putBe16(&block[62], crc.compute(block.data(), block.size()));
    return block;
}
