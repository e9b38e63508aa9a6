#include "link/serialPort.h"

#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "link/commands.h"
#include "tests/support/packetExamples.h"
#include "tests/support/ptyPeer.h"
#include "tests/support/reportLog.h"
#include "tests/support/simProcess.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes& identifyPacket = exampleRequests[0];
const Bytes& identifyReply = exampleIdentifyReply;

// A port "COM4" that the environment points at the slave end of a pseudo-terminal.
class serialOverPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        reportLog::clear();
        setenv("BRENNIX_COM4", peer.slavePath().c_str(), 1);
    }
    void TearDown() override { unsetenv("BRENNIX_COM4"); }

    std::size_t exchange()
    {
        return port.exchange(identifyPacket.data(), identifyPacket.size(), reply.data(),
                             reply.size());
    }
    termios lineSettings() const
    {
        termios tio{};
        tcgetattr(peer.slaveFd(), &tio);
        return tio;
    }

    ptyPeer peer;
    linkCancel cancel;
    serialPort port{cancel, reportLog::error};
    Bytes reply = Bytes(65536);
};

TEST_F(serialOverPty, ReplyEndsByItsLengthField)
{
    peer.start([](int index, const Bytes&) {
        switch (index) {
        case 0: return ptyPeer::Answer{{0x01, 0x01, 0x00, 0x02, 0x09, 0x09}};  // field below 4
        case 1: return ptyPeer::Answer{Bytes(identifyReply.begin(), identifyReply.begin() + 10)};
        default: return ptyPeer::Answer{identifyReply};
        }
    });
    ASSERT_TRUE(port.open("COM4", {}));

    EXPECT_EQ(exchange(), 4u);
    // The rest of that reply is still queued; the link would clear it between attempts.
    port.clear();
    // Stopping after 10 of 15 bytes: nothing comes of it once the line has been quiet.
    EXPECT_EQ(exchange(), 0u);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(exchange(), identifyReply.size());
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 15), identifyReply);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST_F(serialOverPty, UnsupportedSpeedKeepsTheLineSpeed)
{
    termios before = lineSettings();
    cfsetispeed(&before, B57600);
    cfsetospeed(&before, B57600);
    before.c_cflag |= CSTOPB | CRTSCTS;
    ASSERT_EQ(tcsetattr(peer.slaveFd(), TCSANOW, &before), 0);
    peer.start([](int, const Bytes&) { return ptyPeer::Answer{identifyReply}; });

    ASSERT_TRUE(port.open("COM4", {38400, nullptr}));
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{"недопустимая скорость порта: 38400"});
    const termios kept = lineSettings();
    EXPECT_EQ(cfgetospeed(&kept), static_cast<speed_t>(B57600));
    EXPECT_EQ(exchange(), identifyReply.size());
    port.close();

    // An accepted speed is set; of the rest only the frame changes (one stop bit), hardware
    // flow control stays.
    reportLog::clear();
    ASSERT_TRUE(port.open("COM4", {19200, nullptr}));
    EXPECT_TRUE(reportLog::errors.empty());
    const termios after = lineSettings();
    EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B19200));
    EXPECT_EQ(after.c_cflag & CSTOPB, 0u);
    EXPECT_NE(after.c_cflag & CRTSCTS, 0u);
}

TEST_F(serialOverPty, PortHeldByAnotherProcessCannotBeOpened)
{
    int ready[2];
    int release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        linkCancel holderCancel;
        serialPort holder(holderCancel, reportLog::error);
        const char opened = holder.open("COM4", {}) ? 1 : 0;
        char ignored;
        if (write(ready[1], &opened, 1) == 1)
            (void)!read(release[0], &ignored, 1);
        _exit(0);
    }
    char opened = 0;
    ASSERT_EQ(read(ready[0], &opened, 1), 1);
    ASSERT_EQ(opened, 1);

    EXPECT_FALSE(port.open("COM4", {}));
    // The kernel's exclusive mode turns others away, except root, whom the lock turns away.
    const int code = geteuid() == 0 ? EWOULDBLOCK : EBUSY;
    EXPECT_EQ(reportLog::errors,
              std::vector<std::string>{"не могу открыть последовательный порт: " +
                                       std::to_string(code) + " (COM4)"});

    ASSERT_EQ(write(release[1], "x", 1), 1);
    int status = 0;
    waitpid(child, &status, 0);
    for (const int fd : {ready[0], ready[1], release[0], release[1]})
        close(fd);
    EXPECT_TRUE(port.open("COM4", {}));
}

TEST(serialPort, ATrickleCannotStretchAnExchangeBeyondTheTimeOfItsReply)
{
    // A byte every 1.9 s never lets a read wait out its 2 s, so only the reply's own limit ends
    // the exchange: 4.075 s for the 15 bytes the length field announces (else 28 s, and for a
    // length field of 65535, 35 hours).
    reportLog::clear();
    simProcess sim({"--fault", "Identify:trickle=1900@1"});
    ASSERT_FALSE(sim.waitForTerminal().empty());
    linkCancel cancel;
    serialPort port(cancel, reportLog::error);
    ASSERT_TRUE(port.open(sim.link, {}));
    Bytes reply(replyCapacity);
    EXPECT_EQ(port.exchange(identifyPacket.data(), identifyPacket.size(), reply.data(), reply.size()), 0u);
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST(serialPort, DeviceThatIsNoTerminalIsRefused)
{
    reportLog::clear();
    setenv("BRENNIX_COM1", "/dev/null", 1);
    linkCancel cancel;
    serialPort port(cancel, reportLog::error);
    EXPECT_FALSE(port.open("COM1", {}));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(reportLog::errors,
              std::vector<std::string>{"не могу открыть последовательный порт: " +
                                       std::to_string(ENOTTY) + " (COM1)"});
    unsetenv("BRENNIX_COM1");
}

}  // namespace
