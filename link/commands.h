// Command codes of the recorder packet protocol and the fixed reply lengths callers demand.
#pragma once

#include <cstddef>
#include <cstdint>

enum Command : uint8_t {
    ReadClock = 0x01,
    SetClock = 0x02,
    ReadMemory = 0x03,
    WriteByte = 0x04,
    ReadLoad = 0x06,
    ReadGraph = 0x07,
    Identify = 0x09,
    SlotCount = 0x23,
    SelectSlot = 0x3E,
};

// Every packet: two address bytes, a 16-bit big-endian total length, the command code, data,
// and the CRC. The program sends address 01 01; a reply carries the two bytes exchanged.
constexpr std::size_t packetHeaderSize = 5;
constexpr std::size_t packetCrcSize = 2;
constexpr std::size_t smallestPacket = packetHeaderSize + packetCrcSize;
constexpr uint8_t hostAddress = 0x01;
constexpr uint8_t deviceAddress = 0x01;

// Every caller hands transact a reply buffer of this capacity.
constexpr std::size_t replyCapacity = 65536;

constexpr std::size_t identifyReplyLength = 15;
constexpr std::size_t slotCountReplyLength = 9;
constexpr std::size_t selectSlotReplyLength = 25;
constexpr std::size_t memoryImageSize = 128;
constexpr std::size_t readClockReplyLength = 14;
constexpr std::size_t setClockReplyLength = 7;
constexpr std::size_t writeByteReplyLength = 10;
constexpr std::size_t readLoadReplyLength = 16;
constexpr std::size_t shortestGraphReply = 17;

constexpr char recorderIdentifier[] = "RP_v0001";
constexpr char collectorIdentifier[] = "VELM0001";
