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

// A field typed as a number, as the error texts name it, with what the block can hold of it.
struct numberField {
    const char* name;
    bool (*fits)(unsigned long value);
    const char* refusal;   // the line that says why a number that does not fit is refused
};

bool fitsByte(unsigned long v) { return v <= 0xFF; }
bool fitsCapacity(unsigned long tonnes) { return capacityByte(tonnes).has_value(); }
// Years, and the same years in seconds within 32 bits.
bool fitsServiceLife(unsigned long years) { return uint64_t{years} * secondsPerYear <= UINT32_MAX; }

// The reasons are short: the toolkit's log dialog cuts a message of more than about 100
// characters on a screen 1280 pixels wide.
constexpr numberField fullCodeField = {"Сумма: код АЦП для нагрузки 100%", fitsByte,
                                       "Код АЦП — число от 0 до 255"};
constexpr numberField zeroCodeField = {"Сумма: код АЦП для нагрузки 0%", fitsByte,
                                       "Код АЦП — число от 0 до 255"};
constexpr numberField capacityField = {"Номинальная грузоподъемность крана", fitsCapacity,
                                       "Свыше 127 т — кратные 10 т, до 1280 т"};
constexpr numberField serviceLifeField = {"Срок службы крана", fitsServiceLife,
                                          "Срок службы крана — не более 136 лет"};

// The field's number, or nothing after reporting the field (and why, when it is a number the
// block cannot hold).
std::optional<unsigned long> typedNumber(const std::string& text, const numberField& field, ReportCallback error)
{
    unsigned long value = 0;
    if (!parseUnsigned(text, value)) {
        error("Неверное значение в поле '%s'", field.name);
        return std::nullopt;
    }
    if (!field.fits(value)) {
        error("Неверное значение в поле '%s'\n%s", field.name, field.refusal);
        return std::nullopt;
    }
    return value;
}

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

    // The limiter and the load readings rest on the two codes: a code the byte cannot hold, or a
    // zero code not below the full code, would miscalibrate them.
    const auto fullCode = typedNumber(fields.fullCode, fullCodeField, error);
    const auto zeroCode = typedNumber(fields.zeroCode, zeroCodeField, error);
    const auto capacity = typedNumber(fields.capacity, capacityField, error);
    const auto serviceLife = typedNumber(fields.serviceLife, serviceLifeField, error);
    failed = failed || !fullCode || !zeroCode || !capacity || !serviceLife;
    if (fullCode && zeroCode && *zeroCode >= *fullCode) {
        error("Код АЦП для нагрузки 0%% должен быть меньше кода АЦП для нагрузки 100%%");
        failed = true;
    }

    block[46] = selectionByte(fields.groupSelection);
    block[51] = selectionByte(fields.tripSelection);
    block[52] = selectionByte(fields.resetSelection);
    if (block[51] <= block[52]) {
        error("Уровень сброса ОГП должен быть меньше уровня срабатывания ОГП");
        failed = true;
    }
    if (failed)
        return std::nullopt;

    block[38] = block[39] = static_cast<uint8_t>(*fullCode);
    block[40] = *capacityByte(*capacity);
    putBe32(&block[41], static_cast<uint32_t>(*serviceLife * secondsPerYear));
    block[45] = static_cast<uint8_t>(*serviceLife);
    block[47] = block[49] = static_cast<uint8_t>(*zeroCode);
    block[48] = block[50] = static_cast<uint8_t>(*fullCode - *zeroCode);

    crc16 crc;
    putBe16(&block[62], crc.compute(block.data(), block.size()));
    return block;
}
