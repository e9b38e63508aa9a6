#include "data/readout.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "data/timeText.h"
#include "link/codings.h"
#include "link/commands.h"
#include "link/comm.h"

namespace {

constexpr std::size_t dataOffset = packetHeaderSize;
constexpr uint8_t readMemoryRequest[] = {hostAddress, deviceAddress, 0, 0, ReadMemory, 0x00, 0x00,
                                         static_cast<uint8_t>(memoryImageSize)};
constexpr std::size_t memoryReplyLength = smallestPacket + memoryImageSize;

// Reply offsets: the identifier of Identify, and the registration number and readout time of
// SelectSlot after the slot number it echoes.
enum : std::size_t {
    identifierSize = 8,
    slotRegNoAt = 7,
    slotRegNoSize = 12,
    slotTimeAt = 19,
};

// Memory image offsets.
enum : std::size_t {
    regNoAt = 0,
    serNoAt = 8,
    invNoAt = 16,
    textSize = 8,
    workSinceAt = 24,
    regiSinceAt = 31,
    fullCodeAt = 38,
    capacityAt = 40,
    workMaxSecondsAt = 41,
    workMaxYearsAt = 45,
    workMaxGrpAt = 46,
    adcZSAt = 47,
    adcFZSAt = 48,
    ogpHAt = 51,
    ogpLAt = 52,
    cyclesTotalAt = 64,
    cyclesAt = 67,
    hourCounterAt = 86,
    loadSumAt = 110,
    cubeSumAt = 114,
    cntNAt = 117,
    cntEAt = 118,
    storeFlagsAt = 119,
};

// Graph record offsets within a ReadGraph reply.
enum : std::size_t {
    recordLengthAt = 5,
    graphClockAt = 7,
    firstValueAt = 14,
    secondValueAt = 15,
    pointsAt = 16,
    recordHeaderLength = 9,  // clock and the two value bytes counted in L
};

// One exchange with the reply buffer every caller passes.
class Exchange {
public:
    explicit Exchange(comm& link) : link(link), reply(replyCapacity) {}

    std::size_t send(const uint8_t* request, std::size_t length)
    {
        return link.transact(request, length, reply.data(), reply.size());
    }
    const uint8_t* data() const { return reply.data(); }

private:
    comm& link;
    std::vector<uint8_t> reply;
};

class Readout {
public:
    Readout(comm& link, aList& cranes, int32_t recorderEpoch, ReportCallback status,
            ReportCallback error, const ProgressCallback& progress)
        : link(link), exchange(link), cranes(cranes), recorderEpoch(recorderEpoch), status(status),
          error(error), progress(progress)
    {
    }

    bool run()
    {
        std::string identifier;
        if (identify(identifier)) {
            if (identifier == collectorIdentifier)
                readCollector();
            else if (identifier == recorderIdentifier)
                readRecorder();
            else
                fail("Неизвестный или неподдерживаемый тип регистратора параметров: %s",
                     identifier.c_str());
        }
        if (abandoned)
            reportCancelled(cranes, status);
        return !errorLogged && !abandoned;
    }

private:
    // A reply of the wrong length is the device's failure, with the readout's text; unless the
    // user has stopped the readout, which abandons the exchange under way and ends the readout.
    template <typename... Args>
    void fail(const char* format, Args... args)
    {
        if (link.cancelled()) {
            abandoned = true;
            return;
        }
        error(format, args...);
        errorLogged = true;
    }

    void reportProgress()
    {
        if (progress)
            progress(where);
    }

    bool identify(std::string& identifier)
    {
        const uint8_t request[] = {hostAddress, deviceAddress, 0, 0, Identify};
        if (exchange.send(request, sizeof request) != identifyReplyLength) {
            fail("Ошибка при чтении идентификатора устройства");
            return false;
        }
        identifier = decodeIdentifier(exchange.data());
        status("Обнаружен регистратор параметров \"%s\"", identifier.c_str());
        return true;
    }

    void readCollector()
    {
        const uint8_t countRequest[] = {hostAddress, deviceAddress, 0, 0, SlotCount};
        if (exchange.send(countRequest, sizeof countRequest) != slotCountReplyLength) {
            fail("Ошибка при чтении количества слотов");
            return;
        }
        const uint16_t slots = decodeSlotCount(exchange.data());
        for (uint16_t slot = 0; slot < slots && !abandoned; ++slot) {
            status("Чтение данных об устройстве из слота %u из %u", unsigned{slot} + 1u,
                   unsigned{slots});
            where = {unsigned{slot} + 1u, slots, 0, 0};
            reportProgress();
            if (!readSlot(slot))
                return;
        }
    }

    // False when the slot could not be selected, which ends the slot loop.
    bool readSlot(uint16_t slot)
    {
        uint8_t request[] = {hostAddress, deviceAddress, 0, 0, SelectSlot, 0, 0};
        putBe16(request + dataOffset, slot);
        if (exchange.send(request, sizeof request) != selectSlotReplyLength) {
            fail("Ошибка при установке текущего слота: %u", unsigned{slot});
            return false;
        }
        auto crane = std::make_unique<devLink>();
        const uint16_t echoed = decodeSlotSelection(exchange.data(), recorderEpoch, *crane);
        if (echoed != slot) {
            fail("Ошибка при установке текущего слота (номер не существует): %u <=> %u",
                 unsigned{slot}, unsigned{echoed});
            return false;
        }
        if (!readMemoryImage(*crane, false))
            return true;
        devLink* kept = crane.release();
        cranes.pushBack(kept);
        readGraphs(*kept);
        return true;
    }

    void readRecorder()
    {
        where = {1, 1, 0, 0};
        reportProgress();
        auto crane = std::make_unique<devLink>();
        if (!readMemoryImage(*crane, true))
            return;
        const uint8_t clockRequest[] = {hostAddress, deviceAddress, 0, 0, ReadClock};
        if (exchange.send(clockRequest, sizeof clockRequest) != readClockReplyLength) {
            fail("Ошибка при чтении времени");
            return;
        }
        crane->timeStamp = fromBcdClock(exchange.data() + dataOffset);
        crane->name = crane->regNo + " " + dateTimeText(crane->timeStamp);
        devLink* kept = crane.release();
        cranes.pushBack(kept);
        readGraphs(*kept);
    }

    bool readMemoryImage(devLink& crane, bool takeRegNo)
    {
        if (exchange.send(readMemoryRequest, sizeof readMemoryRequest) != memoryReplyLength) {
            fail("Ошибка при чтении памяти с адреса $0000");
            return false;
        }
        decodeMemoryImage(exchange.data() + dataOffset, crane, takeRegNo);
        return true;
    }

    void readGraphs(devLink& crane)
    {
        // A store holds 30 graphs and the numbers of the two kinds are 30 apart: larger counts
        // from a damaged image would ask for the other kind's graphs or wrap the number.
        const unsigned counts[] = {std::min<unsigned>(crane.cntN, graphsPerKind),
                                   std::min<unsigned>(crane.cntE, graphsPerKind)};
        where.graphs = counts[0] + counts[1];
        for (unsigned kind = 0; kind < 2; ++kind) {
            for (unsigned i = 0; i < counts[kind] && !abandoned; ++i) {
                status(kind == 0 ? "Чтение графика № %u/%u" : "Чтение графика с перегрузкой № %u/%u",
                       i + 1, counts[kind]);
                where.graph = kind * counts[0] + i + 1;
                reportProgress();
                const uint8_t number = static_cast<uint8_t>(kind * graphsPerKind + i);
                const uint8_t request[] = {hostAddress, deviceAddress, 0, 0, ReadGraph, number};
                const std::size_t length = exchange.send(request, sizeof request);
                if (length < shortestGraphReply) {
                    fail("Ошибка при чтении цикла %d/%d", static_cast<int>(kind), static_cast<int>(i));
                    continue;
                }
                std::unique_ptr<cycLink> graph(decodeGraphRecord(exchange.data(), length));
                if (graph->worthKeeping())
                    crane.graphs.pushBack(graph.release());
            }
        }
    }

    comm& link;
    Exchange exchange;
    aList& cranes;
    const int32_t recorderEpoch;
    ReportCallback status;
    ReportCallback error;
    const ProgressCallback& progress;
    readoutProgress where;
    bool errorLogged = false;
    bool abandoned = false;   // the user stopped the readout in the middle of an exchange
};

}  // namespace

bool readDevice(comm& link, aList& cranes, int32_t recorderEpoch, ReportCallback statusCallback,
                ReportCallback errorCallback, const ProgressCallback& progress)
{
    return Readout(link, cranes, recorderEpoch, statusCallback, errorCallback, progress).run();
}

void reportCancelled(const aList& cranes, ReportCallback statusCallback)
{
    unsigned graphs = 0;
    for (const devLink* crane = firstCrane(cranes); crane; crane = nextCrane(crane))
        graphs += static_cast<unsigned>(crane->graphs.count());
    statusCallback("Считывание прервано пользователем. Сохранены полностью считанные данные: "
                   "кранов %u, графиков %u",
                   static_cast<unsigned>(cranes.count()), graphs);
}

std::string fixedText(const uint8_t* field, std::size_t size)
{
    const uint8_t* end = std::find(field, field + size, uint8_t{0});
    return std::string(reinterpret_cast<const char*>(field), static_cast<std::size_t>(end - field));
}

std::string decodeIdentifier(const uint8_t* reply)
{
    return fixedText(reply + dataOffset, identifierSize);
}

uint16_t decodeSlotCount(const uint8_t* reply)
{
    return getBe16(reply + dataOffset);
}

uint16_t decodeSlotSelection(const uint8_t* reply, int32_t recorderEpoch, devLink& crane)
{
    crane.regNo = fixedText(reply + slotRegNoAt, slotRegNoSize);
    crane.timeStamp = recorderTime(getBe32(reply + slotTimeAt), recorderEpoch);
    crane.name = crane.regNo + " " + dateTimeText(crane.timeStamp);
    return getBe16(reply + dataOffset);
}

void decodeMemoryImage(const uint8_t* image, devLink& crane, bool takeRegNo)
{
    if (takeRegNo)
        crane.regNo = fixedText(image + regNoAt, textSize);
    crane.serNo = fixedText(image + serNoAt, textSize);
    crane.invNo = fixedText(image + invNoAt, textSize);
    crane.workSince = fromBinaryClock(image + workSinceAt);
    crane.regiSince = fromBinaryClock(image + regiSinceAt);
    const uint8_t capacity = image[capacityAt];
    crane.maxWeight = capacity <= 127 ? capacity : (capacity - 127) * 10.0f;
    crane.workMaxSeconds = getBe32(image + workMaxSecondsAt);
    crane.workMaxYears = image[workMaxYearsAt];
    crane.workMaxGrp = image[workMaxGrpAt];
    crane.adcZS = image[adcZSAt];
    crane.adcFZS = image[adcFZSAt];
    crane.ogpH = image[ogpHAt];
    crane.ogpL = image[ogpLAt];
    crane.cyclesTotal = getBe24(image + cyclesTotalAt);
    for (int i = 0; i < cycleCounterCount; ++i)
        crane.cycles[i] = getBe24(image + cyclesAt + 3 * i);
    for (int i = 0; i < hourCounterCount; ++i)
        crane.hourCounter[i] = static_cast<float>(getBe32(image + hourCounterAt + 4 * i) / 3600.0);
    // The load sum counts in ADC steps; a full-load code of 0 leaves nothing to scale by.
    const uint8_t fullCode = image[fullCodeAt];
    crane.weightTotal = fullCode == 0 ? 0.0f
                                      : static_cast<float>(static_cast<long double>(getBe32(image + loadSumAt)) *
                                                           capacity / fullCode);
    crane.cubeSum = decodeFloat24(image + cubeSumAt);
    crane.cntN = image[cntNAt];
    crane.cntE = image[cntEAt];
    if (image[storeFlagsAt] & 0x01)
        crane.cntN = graphsPerKind;
    if (image[storeFlagsAt] & 0x02)
        crane.cntE = graphsPerKind;
}

cycLink* decodeGraphRecord(const uint8_t* reply, std::size_t replyLength)
{
    // Only the bytes before the CRC carry data; anything the record claims beyond them is absent.
    const std::size_t dataEnd = replyLength >= smallestPacket ? replyLength - packetCrcSize : 0;
    auto byteAt = [&](std::size_t offset) -> uint8_t { return offset < dataEnd ? reply[offset] : 0; };

    auto* graph = new cycLink;
    uint8_t clock[7];
    for (std::size_t i = 0; i < sizeof clock; ++i)
        clock[i] = byteAt(graphClockAt + i);
    graph->timeStamp = fromBcdClock(clock);

    const unsigned recordLength = (unsigned{byteAt(recordLengthAt)} << 8) | byteAt(recordLengthAt + 1);
    const std::size_t claimedPoints =
        recordLength >= recordHeaderLength ? (recordLength - recordHeaderLength) / 3 : 0;
    const std::size_t presentPoints = dataEnd > pointsAt ? (dataEnd - pointsAt) / 3 : 0;
    const std::size_t points = 2 + std::min(claimedPoints, presentPoints);
    graph->Npoints = static_cast<uint16_t>(std::min<std::size_t>(points, 0xFFFF));
    graph->Points.assign(std::size_t{3} * graph->Npoints, 0);
    graph->Points[2] = byteAt(firstValueAt);
    graph->Points[5] = byteAt(secondValueAt);
    if (graph->Points.size() > 6)
        std::memcpy(graph->Points.data() + 6, reply + pointsAt, graph->Points.size() - 6);
    graph->decodePoints();
    return graph;
}
