// The real brennix-sim on a real pseudo-terminal, driven through raw termios.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "tests/sim/simTestSupport.h"
#include "tests/support/simProcess.h"

using namespace simtest;

namespace {

// Bounds on waiting for replies, so that a broken build fails instead of hanging.
constexpr int replyPatienceMs = 3000;
constexpr int silenceMs = 500;   // long enough to tell that no reply comes

int openRaw(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (fd >= 0 && tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        cfsetspeed(&tio, B9600);
        tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

// Sends a request and collects up to `expected` bytes; fewer when the line stays silent for
// waitMs or closes. closed tells whether it closed.
bytes exchange(int fd, const bytes& req, std::size_t expected, bool* closed = nullptr, int waitMs = replyPatienceMs)
{
    EXPECT_EQ(write(fd, req.data(), req.size()), static_cast<ssize_t>(req.size()));
    bytes reply;
    uint8_t buffer[512];
    while (reply.size() < expected) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, waitMs) <= 0)
            break;
        const ssize_t n = read(fd, buffer, std::min(sizeof buffer, expected - reply.size()));
        if (n <= 0) {
            if (closed)
                *closed = true;
            break;
        }
        reply.insert(reply.end(), buffer, buffer + n);
    }
    return reply;
}

TEST(simProgram, ServesARecorderOnAPseudoTerminalAndDumpsWhatWasWritten)
{
    simProcess sim({"--clock", "2024-03-15 10:00:00", "--load", "123"});
    ASSERT_GT(sim.pid, 0);
    const std::vector<std::string> paths = sim.waitForTerminal(1);
    ASSERT_EQ(paths.size(), 1u);
    const int fd = openRaw(sim.link);
    ASSERT_GE(fd, 0);

    EXPECT_EQ(exchange(fd, {0x01, 0x01, 0x00, 0x07, 0x09, 0x25, 0x95}, 15),
              (bytes{0x01, 0x01, 0x00, 0x0F, 0x09, 0x52, 0x50, 0x5F, 0x76, 0x30, 0x30, 0x30, 0x31, 0x9D, 0xD2}));
    expectReply(exchange(fd, {0x01, 0x01, 0x00, 0x0A, 0x04, 0x00, 0x05, 0x41, 0x35, 0xC4}, 10), 0x04, 10);
    expectReply(exchange(fd, request(0x04, {0x00, 0x3F, 0x99}), 10), 0x04, 10);
    const bytes memory = exchange(fd, request(0x03, {0x00, 0x00, 0x40}), 71);
    expectReply(memory, 0x03, 71);
    EXPECT_EQ(memory[5 + 5], 0x41);
    EXPECT_EQ(exchange(fd, request(0x06), 16).at(5), 123);
    expectReply(exchange(fd, request(0x02, {0x00, 0x30, 0x12, 0x01, 0x01, 0x04, 0x24}), 7), 0x02, 7);
    // A damaged request is not answered; the next one is.
    EXPECT_TRUE(exchange(fd, {0x01, 0x01, 0x00, 0x07, 0x09, 0x25, 0x96}, 15, nullptr, silenceMs).empty());
    expectReply(exchange(fd, request(0x09), 15), 0x09, 15);
    close(fd);

    EXPECT_EQ(sim.terminate(), 0);
    EXPECT_TRUE(linkTarget(sim.link).empty()) << "the link is removed";
    const std::string dump = readTextFile(sim.dump);
    EXPECT_NE(dump.find("identifier RP_v0001\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("\nwrite 0 0005 41\nwrite 0 003F 99\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find(" 2024-04-01 12:30:00\nset-clock-bcd 00 30 12 01 01 04 24\n"), std::string::npos) << dump;
    const std::size_t line = dump.find("\nmemory 0 0030 ");
    ASSERT_NE(line, std::string::npos);
    EXPECT_EQ(dump.substr(line + 15 + 15 * 3, 3), "99\n") << "byte 0x3F is the last of its line";
}

TEST(simProgram, HangUpReopensAFreshTerminal)
{
    simProcess sim({"--collector", "2", "--fault", "Identify:hangup=4@1"});
    ASSERT_EQ(sim.waitForTerminal(1).size(), 1u);
    const int first = openRaw(sim.link);
    ASSERT_GE(first, 0);
    bool closed = false;
    EXPECT_EQ(exchange(first, request(0x09), 15, &closed), (bytes{0x01, 0x01, 0x00, 0x0F}));
    EXPECT_TRUE(closed);
    close(first);

    const std::vector<std::string> paths = sim.waitForTerminal(2);
    ASSERT_EQ(paths.size(), 2u);
    const int second = openRaw(sim.link);
    ASSERT_GE(second, 0);
    EXPECT_EQ(data(exchange(second, request(0x09), 15)), (bytes{'V', 'E', 'L', 'M', '0', '0', '0', '1'}));
    EXPECT_EQ(data(exchange(second, request(0x23), 9)), (bytes{0x00, 0x02}));
    close(second);
    EXPECT_EQ(sim.terminate(), 0);
}

TEST(simProgram, RefusesBadOptions)
{
    for (const char* bad : {"--fault=ReadGraph:echo", "--collector=many", "--baud=0", "--frobnicate"}) {
        simProcess sim({bad});
        int status = 0;
        ASSERT_EQ(waitpid(sim.pid, &status, 0), sim.pid);
        sim.pid = -1;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << bad;
        EXPECT_TRUE(linkTarget(sim.link).empty());
    }
}

TEST(simProgram, LeavesAFileInPlaceOfTheLinkAlone)
{
    char path[] = "/tmp/brennix-sim-fileXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "keep", 4), 4);
    close(fd);
    simProcess sim({"--pty", path});   // the later --pty wins
    int status = 0;
    ASSERT_EQ(waitpid(sim.pid, &status, 0), sim.pid);
    sim.pid = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    EXPECT_EQ(readTextFile(path), "keep");
    unlink(path);
}

}  // namespace
