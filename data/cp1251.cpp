#include "data/cp1251.h"

#include <cstdint>

namespace {

// Code points of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
const char16_t upperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t codePointOf(unsigned char byte)
{
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return 0x0410 + (byte - 0xC0);
    return upperHalf[byte - 0x80];
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i]; advances i. Returns false on a malformed sequence.
bool nextCodePoint(std::string_view text, std::size_t& i, char32_t& cp)
{
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra;
    if (lead < 0x80) {
        cp = lead;
        extra = 0;
    } else if ((lead & 0xE0) == 0xC0 && lead >= 0xC2) {
        cp = lead & 0x1F;
        extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
        cp = lead & 0x0F;
        extra = 2;
    } else if ((lead & 0xF8) == 0xF0 && lead <= 0xF4) {
        cp = lead & 0x07;
        extra = 3;
    } else {
        return false;
    }
    if (text.size() - i - 1 < static_cast<std::size_t>(extra))
        return false;
    for (int k = 1; k <= extra; ++k) {
        const unsigned char c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    i += 1 + extra;
    return true;
}

}  // namespace

std::string cp1251ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes)
        appendUtf8(out, codePointOf(static_cast<unsigned char>(c)));
    return out;
}

bool utf8ToCp1251(std::string_view utf8, std::string& out)
{
    out.clear();
    std::string result;
    result.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp;
        if (!nextCodePoint(utf8, i, cp))
            return false;
        if (cp < 0x80) {
            result += static_cast<char>(cp);
            continue;
        }
        if (cp >= 0x0410 && cp <= 0x044F) {
            result += static_cast<char>(0xC0 + (cp - 0x0410));
            continue;
        }
        int found = -1;
        for (int k = 0; k < 64 && found < 0; ++k)
            if (upperHalf[k] == cp && cp != 0xFFFD)
                found = k;
        if (found < 0)
            return false;
        result += static_cast<char>(0x80 + found);
    }
    out = std::move(result);
    return true;
}

std::string shownText(const std::string& cp1251)
{
    if (cp1251.size() <= shownTextLimit)
        return cp1251;
    return cp1251.substr(0, shownTextLimit) + '\x85';   // "…" in Windows-1251
}
