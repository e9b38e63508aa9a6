#include "link/irdaAirText.h"

#include <cstdio>

#include "link/codings.h"

std::string airIdText(uint32_t id)
{
    char text[12];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(id));
    return text;
}

bool parseAirId(const std::string& text, uint32_t& id)
{
    if (text.size() != 8)
        return false;
    id = 0;
    for (const char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return false;
        id = id * 16 + static_cast<uint32_t>(digit);
    }
    return true;
}

std::string airOctetsText(const std::vector<uint8_t>& octets)
{
    std::string text;
    char pair[4];
    for (const uint8_t b : octets) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        text += pair;
    }
    return text;
}

bool parseAirOctets(const std::string& text, std::size_t max, std::vector<uint8_t>& octets)
{
    octets.clear();
    if (text.size() % 2 != 0 || text.size() / 2 > max)
        return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = hexDigit(text[i]), low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        octets.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return true;
}
