// The settings block told field by field, as the settings page names its fields: what the
// engineer compares before the update writes a block over the one the recorder holds.
#pragma once

#include <string>
#include <vector>

#include "setup/settingsBlock.h"

// The settings page's field names (UTF-8), shared by the page and the update's question.
namespace settingsLabel {
inline constexpr char regNo[] = "Регистрационный номер крана";
inline constexpr char serNo[] = "Заводской номер крана";
inline constexpr char invNo[] = "Инвентаризационный номер крана";
inline constexpr char regiSince[] = "Дата установки регистратора";
inline constexpr char workSince[] = "Дата ввода крана в эксплуатацию";
inline constexpr char capacity[] = "Номинальная грузоподъемность крана, т";
inline constexpr char serviceLife[] = "Срок службы крана, лет";
inline constexpr char group[] = "Паспортная группа классификации крана";
inline constexpr char zeroCode[] = "Код АЦП для нагрузки 0%";
inline constexpr char fullCode[] = "Код АЦП для нагрузки 100%";
inline constexpr char tripLevel[] = "Уровень срабатывания ОГП";
inline constexpr char resetLevel[] = "Уровень сброса ОГП";
}  // namespace settingsLabel

struct settingsRow {
    const char* label;     // a settingsLabel
    std::string current;   // UTF-8, as the readout would read it from the recorder now
    std::string next;      // the same of the block to be written
};

// Both blocks read as the readout reads a recorder's memory, one row a field of the page.
std::vector<settingsRow> settingsRows(const settingsBlock& current, const settingsBlock& next);
