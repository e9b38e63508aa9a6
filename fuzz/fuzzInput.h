// Reading a fuzz input front to back as bytes and small numbers; past its end every read gives
// zeros, so that any input decodes to something.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class fuzzInput {
public:
    fuzzInput(const uint8_t* data, std::size_t size) : at(data), end(data + size) {}

    bool empty() const { return at == end; }
    std::size_t left() const { return static_cast<std::size_t>(end - at); }

    uint8_t byte() { return at == end ? 0 : *at++; }
    uint16_t be16()
    {
        const unsigned high = byte();
        return static_cast<uint16_t>(high << 8 | byte());
    }
    uint32_t be32()
    {
        const uint32_t high = be16();
        return high << 16 | be16();
    }
    // The next n bytes, fewer when the input ends first.
    std::vector<uint8_t> bytes(std::size_t n)
    {
        const std::size_t taken = std::min(n, left());
        std::vector<uint8_t> out(at, at + taken);
        at += taken;
        return out;
    }
    // A text of at most n bytes: a length byte, then the bytes.
    std::string text(std::size_t n = 255)
    {
        const std::vector<uint8_t> b = bytes(std::min<std::size_t>(byte(), n));
        return std::string(b.begin(), b.end());
    }

private:
    const uint8_t* at;
    const uint8_t* end;
};

// The same layout written, for making seed inputs.
class fuzzOutput {
public:
    void byte(uint8_t b) { data.push_back(b); }
    void be16(uint16_t v)
    {
        byte(static_cast<uint8_t>(v >> 8));
        byte(static_cast<uint8_t>(v));
    }
    void be32(uint32_t v)
    {
        be16(static_cast<uint16_t>(v >> 16));
        be16(static_cast<uint16_t>(v));
    }
    void bytes(const std::vector<uint8_t>& b) { data.insert(data.end(), b.begin(), b.end()); }
    void text(const std::string& t)
    {
        byte(static_cast<uint8_t>(t.size()));
        data.insert(data.end(), t.begin(), t.end());
    }

    std::vector<uint8_t> data;
};
