// Texts of the emulated IrDA air's line protocol, which the emulated stack and the simulator
// both speak: device identifiers as 8 hex digits, octet sequences as hex digit pairs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

std::string airIdText(uint32_t id);
// False unless text is exactly 8 hex digits.
bool parseAirId(const std::string& text, uint32_t& id);

std::string airOctetsText(const std::vector<uint8_t>& octets);
// False unless text is hex digit pairs, at most max of them.
bool parseAirOctets(const std::string& text, std::size_t max, std::vector<uint8_t>& octets);
