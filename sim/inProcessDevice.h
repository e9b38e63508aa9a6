// A device in the same process as the link, reached without a port: the transports a test hands
// the link instead of the platform's own. Its line runs on a clock of its own. A request reaches
// the device at once; the bytes of the reply arrive when the reply's timing says (a delay, a
// trickle, a hang-up after some bytes), and an exchange takes them by the rules of every
// transport: a silence of receiveWait ends the wait, and so does the reply's time limit
// (replyTimeLimit). Time-outs thus cost no real time. Bytes that arrive after an attempt has
// given up stay on the line for the next one unless the clearing between attempts discards
// them, and the next reply comes only after the last one's bytes, as on a real line.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/transports.h"
#include "sim/device.h"

class inProcessDevice final : public linkTransports {
public:
    // What goes on the line for one complete request frame.
    using Answer = std::function<simReply(const byteString& request)>;

    explicit inProcessDevice(Answer answer) : answer(std::move(answer)) {}
    // The simulator's device engine, which must outlive this.
    explicit inProcessDevice(simDevice& device)
        : answer([&device](const byteString& request) { return device.answer(request); })
    {
    }

    void startup(ReportCallback) override {}
    // A line to the device whatever the port, its name and settings.
    std::unique_ptr<linkTransport> openSerial(const std::string& portName, const serialSettings& settings,
                                              linkCancel& cancel, ReportCallback errorCallback) override;
    // The same line, as if the device were the one in infrared range.
    std::unique_ptr<linkTransport> openIrda(linkCancel& cancel, ReportCallback statusCallback,
                                            ReportCallback errorCallback) override;

    // Answers one request frame, keeping it in requests().
    simReply serve(const byteString& request);
    // Every request frame the device has received, in order.
    const std::vector<byteString>& requests() const { return received; }

private:
    Answer answer;
    std::vector<byteString> received;
};
