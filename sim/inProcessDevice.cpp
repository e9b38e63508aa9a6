#include "sim/inProcessDevice.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <optional>

#include "sim/packet.h"

namespace {

using std::chrono::duration_cast;
using std::chrono::milliseconds;

// What a terminal read or write reports once the far end has hung up (EIO).
constexpr int hungUpCode = 5;

int64_t millisecondsOf(linkClock::duration duration) { return duration_cast<milliseconds>(duration).count(); }

class inProcessLine final : public linkTransport {
public:
    inProcessLine(inProcessDevice& device, ReportCallback errorCallback)
        : device(device), errorCallback(errorCallback)
    {
    }

    bool isOpen() const override { return open; }

    std::size_t exchange(const uint8_t* packet, std::size_t length, uint8_t* reply,
                         std::size_t capacity) override
    {
        if (hungUpBy(now))
            return fail("ошибка при передаче данных: %d");
        for (std::size_t i = 0; i < length; ++i)
            if (std::optional<byteString> frame = framer.push(packet[i], now))
                schedule(device.serve(*frame));

        const int64_t start = now;
        int64_t lastByte = now;
        std::size_t received = 0;
        std::size_t expected = expectedReplyLength(reply, received, capacity);
        while (received < expected) {
            const int64_t giveUp = std::min(lastByte + millisecondsOf(receiveWait),
                                            start + millisecondsOf(replyTimeLimit(expected)));
            if (!line.empty() && line.front().at <= giveUp) {
                if (received == capacity)
                    return 0;
                now = std::max(now, line.front().at);
                lastByte = now;
                reply[received++] = line.front().byte;
                line.pop_front();
                expected = expectedReplyLength(reply, received, capacity);
                continue;
            }
            if (hungUpBy(giveUp)) {
                now = std::max(now, *hangUpAt);
                return fail("не могу принять данные: %d");
            }
            now = giveUp;
            return 0;  // time-out: the bytes received so far are dropped
        }
        return expected == 0 ? 0 : received;
    }

    // Discards what has arrived; what is still on its way comes later.
    void clear() override
    {
        while (!line.empty() && line.front().at <= now)
            line.pop_front();
    }

    void close() override { open = false; }

private:
    struct arrival {
        int64_t at;   // milliseconds on the line's clock
        uint8_t byte;
    };

    // Puts a reply on the line after whatever is still on its way.
    void schedule(const simReply& reply)
    {
        int64_t at = std::max(now, line.empty() ? now : line.back().at) + reply.delayMs;
        for (std::size_t i = 0; i < reply.bytes.size(); ++i) {
            if (i > 0)
                at += reply.byteGapMs;
            line.push_back({at, reply.bytes[i]});
        }
        if (reply.hangUp)
            hangUpAt = at;
    }

    bool hungUpBy(int64_t time) const { return hangUpAt && *hangUpAt <= time; }

    std::size_t fail(const char* format)
    {
        errorCallback(format, hungUpCode);
        close();
        return 0;
    }

    inProcessDevice& device;
    ReportCallback errorCallback;
    requestFramer framer;
    std::deque<arrival> line;
    std::optional<int64_t> hangUpAt;
    int64_t now = 0;
    bool open = true;
};

}  // namespace

std::unique_ptr<linkTransport> inProcessDevice::openSerial(const std::string&, const serialSettings&,
                                                           linkCancel&, ReportCallback errorCallback)
{
    return std::make_unique<inProcessLine>(*this, errorCallback);
}

std::unique_ptr<linkTransport> inProcessDevice::openIrda(linkCancel&, ReportCallback, ReportCallback errorCallback)
{
    return std::make_unique<inProcessLine>(*this, errorCallback);
}

simReply inProcessDevice::serve(const byteString& request)
{
    received.push_back(request);
    return answer(request);
}
