// The device end of a real pseudo-terminal. The link opens the slave end as its serial port; a
// thread on the master end takes each request packet (framed by its length field) and plays the
// answer a script gives for it.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/packetExamples.h"

class ptyPeer {
public:
    struct Answer {
        std::vector<uint8_t> bytes;            // written in one go; none: the device stays silent
        std::chrono::milliseconds delay{0};    // before writing
        bool hangUp = false;                   // close the master end instead of answering
    };
    // Called for the requests in order, counted from 0.
    using Script = std::function<Answer(int index, const std::vector<uint8_t>& request)>;

    ptyPeer();
    ~ptyPeer();
    ptyPeer(const ptyPeer&) = delete;
    ptyPeer& operator=(const ptyPeer&) = delete;

    const std::string& slavePath() const { return path; }
    // The peer's own descriptor of the slave end, held open so that the master end never sees
    // the line drop between links; also good for looking at the line settings.
    int slaveFd() const { return slave; }

    void start(Script script);
    void stop();
    std::vector<std::vector<uint8_t>> requests() const;

private:
    void serve(Script script);
    bool readPacket(std::vector<uint8_t>& packet);

    int master = -1;
    int slave = -1;
    std::string path;
    std::thread thread;
    bool stopping = false;
    mutable std::mutex mutex;
    std::vector<std::vector<uint8_t>> received;
};
