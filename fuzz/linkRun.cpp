#include "fuzz/linkRun.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/virtualTime.h"
#include "link/codings.h"
#include "link/commands.h"
#include "link/crc16.h"
#include "link/transport.h"
#include "tests/support/packetExamples.h"
#include "tests/support/reportLog.h"

namespace {

using std::chrono::milliseconds;

constexpr int attempts = 3;
const char* const outcomeTexts[] = {
    "Устройство не работает или ошибка контрольной суммы при передаче",
    "Ошибка контрольной суммы при приеме",
    "Неверный ответ от устройства",
};

bool isOutcomeText(const std::string& text)
{
    return std::any_of(std::begin(outcomeTexts), std::end(outcomeTexts),
                       [&](const char* outcome) { return text == outcome; });
}

// The whole reply room every caller gives, the exact length of an Identify reply, and rooms
// too small for most replies.
std::size_t replyRoom(uint8_t capacityClass)
{
    const std::size_t rooms[] = {replyCapacity, identifyReplyLength, 4, 200};
    return rooms[capacityClass % 4];
}

// The longest one transact may take: per attempt sending the request, the longest reply the
// length field may announce, and the drain after it.
milliseconds transactLimit(std::size_t requestLength)
{
    const auto send =
        receiveWait + receiveTimePerByte * static_cast<long>(requestLength + packetCrcSize);
    const auto attempt = send + replyTimeLimit(replyCapacity) + receiveWait;
    return std::chrono::duration_cast<milliseconds>(attempts * attempt) + milliseconds(1000);
}

void checkedTransact(comm& link, scriptedPeer& peer, const std::vector<uint8_t>& request,
                     std::size_t capacity)
{
    peer.replyTo(request);
    const std::size_t errorsBefore = reportLog::errors.size();
    const milliseconds start = virtualTime::elapsed();
    peer.limitWaits(start + transactLimit(request.size()));
    const bool stoppedBefore = link.cancelled();

    std::vector<uint8_t> reply(capacity);
    const std::size_t n = link.transact(request.data(), request.size(), reply.data(), reply.size());

    fuzzCheck(virtualTime::elapsed() - start <= transactLimit(request.size()),
              "transact outlasts its caps");
    fuzzCheck(n <= capacity, "a reply longer than the buffer");
    const std::vector<std::string> errors(reportLog::errors.begin() + static_cast<long>(errorsBefore),
                                          reportLog::errors.end());
    if (n > 0) {
        crc16 crc;
        fuzzCheck(!stoppedBefore, "a reply after the user stopped the link");
        fuzzCheck(n > 4 && getBe16(&reply[2]) == n, "a reply whose length field says otherwise");
        fuzzCheck(crc.compute(reply.data(), n) == 0, "a reply with a bad CRC");
        fuzzCheck(reply[0] == request[1] && reply[1] == request[0] && reply[4] == request[4],
                  "a reply to another request");
        fuzzCheck(errors.empty(), "an error text beside a reply");
    } else if (link.cancelled()) {
        fuzzCheck(std::none_of(errors.begin(), errors.end(), isOutcomeText),
                  "a failure text after the user stopped the link");
    } else {
        fuzzCheck(!errors.empty() && isOutcomeText(errors.back()), "no reply and no failure text");
    }
}

}  // namespace

void traceReports()
{
    if (!std::getenv("BRENNIX_FUZZ_TRACE"))
        return;
    for (const std::string& text : reportLog::statuses)
        std::fprintf(stderr, "status: %s\n", text.c_str());
    for (const std::string& text : reportLog::errors)
        std::fprintf(stderr, "error:  %s\n", text.c_str());
    std::fprintf(stderr, "after %lld ms of virtual time\n",
                 static_cast<long long>(virtualTime::elapsed().count()));
}

const std::vector<std::vector<uint8_t>>& linkRequests()
{
    static const std::vector<std::vector<uint8_t>> requests = [] {
        std::vector<std::vector<uint8_t>> list;
        for (const std::vector<uint8_t>& packet : exampleRequests)
            list.emplace_back(packet.begin(), packet.end() - packetCrcSize);
        list.push_back({hostAddress, deviceAddress, 0, 0, SlotCount});
        return list;
    }();
    return requests;
}

linkPlan readLinkPlan(fuzzInput& in)
{
    const uint8_t shape = in.byte();
    linkPlan plan;
    plan.capacityClass = static_cast<uint8_t>(shape >> 2);
    for (int i = 0; i <= (shape & 3); ++i)
        plan.requests.push_back(static_cast<uint8_t>(in.byte() % linkRequests().size()));
    return plan;
}

void writeLinkPlan(fuzzOutput& out, const linkPlan& plan)
{
    out.byte(static_cast<uint8_t>(plan.capacityClass << 2 | (plan.requests.size() - 1)));
    for (const uint8_t request : plan.requests)
        out.byte(request);
}

void runLinkPlan(comm& link, scriptedPeer& peer, const linkPlan& plan)
{
    for (const uint8_t request : plan.requests) {
        checkedTransact(link, peer, linkRequests()[request], replyRoom(plan.capacityClass));
        traceReports();
    }
}
