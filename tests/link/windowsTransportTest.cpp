// The Windows transports: communications ports through CreateFileA and the comm functions, and
// Windows Sockets with the IrDA family. Under Wine, tools/windows.sh maps two ports to simulators
// on pseudo-terminals and names them in BRENNIX_TEST_COM (a collector) and
// BRENNIX_TEST_SILENT_COM (a recorder that never answers Identify); the tests that need them are
// skipped where they are not set.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "data/readout.h"
#include "link/codings.h"
#include "link/comm.h"
#include "tests/support/reportLog.h"

namespace {

const char noAnswerText[] = "Устройство не работает или ошибка контрольной суммы при передаче";

std::string portFromEnvironment(const char* variable)
{
    const char* name = std::getenv(variable);
    return name ? name : "";
}

// The identifier the device gives, or empty when the exchange failed.
std::string identify(comm& link)
{
    const uint8_t request[] = {hostAddress, deviceAddress, 0, 0, Identify};
    std::vector<uint8_t> reply(replyCapacity);
    const std::size_t n = link.transact(request, sizeof request, reply.data(), reply.size());
    return n == identifyReplyLength ? std::string(reinterpret_cast<char*>(&reply[5]), 8) : std::string();
}

// Whether the program runs under Wine, which does not keep a serial port to one opener.
bool underWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

// The line settings of a port, read and changed outside the link.
class rawPort {
public:
    explicit rawPort(const std::string& name)
        : handle(CreateFileA(("\\\\.\\" + name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             0, nullptr))
    {
        line.DCBlength = sizeof line;
        EXPECT_NE(handle, INVALID_HANDLE_VALUE) << GetLastError();
        EXPECT_TRUE(GetCommState(handle, &line)) << GetLastError();
    }
    ~rawPort() { CloseHandle(handle); }
    void write() { EXPECT_TRUE(SetCommState(handle, &line)) << GetLastError(); }

    HANDLE handle;
    DCB line{};
};

TEST(windowsSerial, APortThatDoesNotExistCannotBeOpened)
{
    const reportLog::fresh log;
    comm link(reportLog::status, reportLog::error);
    EXPECT_FALSE(link.openSerial("COM99", {}));
    EXPECT_EQ(link.connectionKind(), comm::serialKind);
    EXPECT_EQ(identify(link), "");
    const std::vector<std::string> expected = {"не могу открыть последовательный порт: 2 (COM99)", noAnswerText};
    EXPECT_EQ(reportLog::errors, expected);
}

TEST(windowsIrda, WithoutAnInfraredStackNoSocketCanBeMade)
{
    const reportLog::fresh log;
    comm link(reportLog::status, reportLog::error);
    EXPECT_FALSE(link.openIrda());
    EXPECT_EQ(link.connectionKind(), comm::irdaKind);
    EXPECT_EQ(identify(link), "");
    const std::vector<std::string> expected = {"ошибка функции socket(): ", noAnswerText};
    EXPECT_EQ(reportLog::errors, expected);
    EXPECT_TRUE(reportLog::statuses.empty()) << "no discovery without a socket";
}

class windowsSerialOnSimulator : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (port.empty())
            GTEST_SKIP() << "BRENNIX_TEST_COM names no port with a simulator behind it";
    }

    const std::string port = portFromEnvironment("BRENNIX_TEST_COM");
    reportLog::fresh log;
};

TEST_F(windowsSerialOnSimulator, ReadsTheWholeDevice)
{
    comm link(reportLog::status, reportLog::error);
    ASSERT_TRUE(link.openSerial(port, {}));
    aList cranes;
    EXPECT_TRUE(readDevice(link, cranes, computeRecorderEpoch(), reportLog::status, reportLog::error));
    EXPECT_TRUE(reportLog::errors.empty()) << ::testing::PrintToString(reportLog::errors);
    EXPECT_GT(cranes.count(), 0u);
    cranes.clear();
}

TEST_F(windowsSerialOnSimulator, APortIsOpenedExclusively)
{
    if (underWine())
        GTEST_SKIP() << "Wine lets a serial port be opened twice";
    comm first(reportLog::status, reportLog::error);
    ASSERT_TRUE(first.openSerial(port, {}));
    comm second(reportLog::status, reportLog::error);
    EXPECT_FALSE(second.openSerial(port, {}));
    EXPECT_EQ(reportLog::errors,
              std::vector<std::string>{"не могу открыть последовательный порт: 5 (" + port + ")"});
    EXPECT_EQ(identify(first), "VELM0001") << "the first link keeps the port";
}

TEST_F(windowsSerialOnSimulator, OnlyTheFrameAndAnAcceptedSpeedChange)
{
    {
        rawPort before(port);
        before.line.BaudRate = 57600;
        before.line.StopBits = TWOSTOPBITS;
        before.line.fOutxCtsFlow = TRUE;
        before.line.fRtsControl = RTS_CONTROL_HANDSHAKE;
        before.write();
    }
    {
        comm link(reportLog::status, reportLog::error);
        ASSERT_TRUE(link.openSerial(port, {38400, nullptr}));
        EXPECT_EQ(reportLog::errors, std::vector<std::string>{"недопустимая скорость порта: 38400"});
        EXPECT_EQ(identify(link), "VELM0001");
    }
    {
        rawPort kept(port);
        EXPECT_EQ(kept.line.BaudRate, 57600u);
        EXPECT_EQ(kept.line.StopBits, ONESTOPBIT);
        EXPECT_EQ(kept.line.ByteSize, 8);
        EXPECT_EQ(kept.line.Parity, NOPARITY);
        EXPECT_TRUE(kept.line.fOutxCtsFlow) << "flow control stays as the driver has it";
    }
    reportLog::clear();
    {
        comm link(reportLog::status, reportLog::error);
        ASSERT_TRUE(link.openSerial(port, {19200, nullptr}));
        EXPECT_TRUE(reportLog::errors.empty());
    }
    rawPort after(port);
    EXPECT_EQ(after.line.BaudRate, 19200u);
    after.line.BaudRate = 9600;
    after.line.fOutxCtsFlow = FALSE;
    after.line.fRtsControl = RTS_CONTROL_ENABLE;
    after.write();
}

TEST(windowsSerialSilent, ASilentDeviceGetsThreeAttemptsAndTheLinkGoesOn)
{
    const std::string port = portFromEnvironment("BRENNIX_TEST_SILENT_COM");
    if (port.empty())
        GTEST_SKIP() << "BRENNIX_TEST_SILENT_COM names no port with a silent simulator behind it";
    const reportLog::fresh log;
    comm link(reportLog::status, reportLog::error);
    ASSERT_TRUE(link.openSerial(port, {}));
    EXPECT_EQ(identify(link), "");
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{noAnswerText});
    // The device answers its other commands: the port is still usable after the purges.
    const uint8_t clock[] = {hostAddress, deviceAddress, 0, 0, ReadClock};
    std::vector<uint8_t> reply(replyCapacity);
    EXPECT_EQ(link.transact(clock, sizeof clock, reply.data(), reply.size()), readClockReplyLength);
}

}  // namespace
