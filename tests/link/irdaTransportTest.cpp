// The IrDA transport against the real simulator serving the emulated air, and against a stack in
// memory for what the simulator never sends.
#include "link/irdaTransport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "link/comm.h"
#include "link/commands.h"
#include "tests/support/packetExamples.h"
#include "tests/support/reportLog.h"
#include "tests/support/simProcess.h"

namespace {

const std::vector<uint8_t>& identify = exampleRequests[0];
const std::vector<uint8_t>& readClock = exampleRequests[1];
const char* const searching1 = "поиск устройств IrDA... 1";
const char* const connecting = "Установка соединения по IrCOMM...";

// No cancel ever comes.
linkCancel cancel;

std::size_t exchangeOnce(irdaTransport& t, const std::vector<uint8_t>& packet, uint8_t* reply)
{
    return t.exchange(packet.data(), packet.size(), reply, replyCapacity);
}

// A stack with one device in range that offers IrCOMM in 9-wire mode, and whose IrCOMM stream
// holds what `incoming` holds: every receive takes as much of it as asked for.
class streamStack final : public irdaSockets {
public:
    bool startup() override { return true; }
    irdaSocket create() override { return 3; }
    bool enumDevices(irdaSocket, std::vector<irdaDeviceInfo>& devices) override
    {
        devices = {{0x01020304, "RP"}};
        return true;
    }
    bool iasQuery(irdaSocket, uint32_t, const std::string&, const std::string&, irdaAttribute& result) override
    {
        result = {iasOctetSeq, {0x00, 0x01, 0x04}};
        return true;
    }
    bool setNineWire(irdaSocket) override { return true; }
    bool connectService(irdaSocket, uint32_t, const std::string&) override { return true; }
    long send(irdaSocket, const uint8_t*, std::size_t length) override { return static_cast<long>(length); }
    long receive(irdaSocket, uint8_t* data, std::size_t capacity) override
    {
        const std::size_t n = std::min(capacity, incoming.size());
        std::copy(incoming.begin(), incoming.begin() + static_cast<long>(n), data);
        incoming.erase(incoming.begin(), incoming.begin() + static_cast<long>(n));
        return static_cast<long>(n);
    }
    int waitReadable(irdaSocket, int milliseconds) override
    {
        if (!incoming.empty())
            return 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return 0;
    }
    void shutdown(irdaSocket) override {}
    void close(irdaSocket) override {}
    int lastError() const override { return 0; }

    std::vector<uint8_t> incoming;
};

}  // namespace

TEST(irdaParameters, TheWalkFindsTheNineWireServiceType)
{
    struct Case {
        std::vector<uint8_t> octets;
        bool nineWire;
    } cases[] = {
        {{0x00, 0x01, 0x04}, true},                     // service type: 9-wire
        {{0x00, 0x01, 0x06}, true},                     // 3-wire and 9-wire
        {{0x00, 0x01, 0x02}, false},                    // 3-wire only
        {{0x01, 0x01, 0x00, 0x00, 0x01, 0x04}, true},   // a port type first, skipped
        {{0x01, 0x02, 0x00, 0x04}, false},              // bit 0x04 in another parameter
        {{0x01, 0x05, 0x00, 0x00, 0x01, 0x04}, false},  // a length that skips past the end
        {{0x01, 0x01, 0x00, 0x00, 0x01}, false},        // the service type without its value
        {{0x00, 0x00, 0x04}, false},                    // a service type of no bytes
    };
    for (const Case& c : cases)
        EXPECT_EQ(offersNineWire(c.octets.data(), c.octets.size()), c.nineWire)
            << ::testing::PrintToString(c.octets);
}

TEST(irdaOpen, NoDeviceInRangeAfterFourPasses)
{
    const reportLog::fresh reports;
    simProcess sim({"--irda-empty"}, simLine::irda);
    ASSERT_TRUE(sim.waitForAir());
    const scopedIrdaAir air(sim.air);
    comm link(reportLog::status, reportLog::error);
    EXPECT_FALSE(link.openIrda());
    const std::vector<std::string> statuses = {searching1, "поиск устройств IrDA... 2",
                                               "поиск устройств IrDA... 3",
                                               "поиск устройств IrDA... 4"};
    EXPECT_EQ(reportLog::statuses, statuses);
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{"Устройства IrDA не найдены"});
}

TEST(irdaOpen, AnAirThatNamesItsDevicesTooSlowlyEndsDiscovery)
{
    // Forty devices announced, named one every 1.9 s: the list must come whole within the
    // stack's two seconds (else the pass takes 76 s; with billions announced, for ever).
    const reportLog::fresh reports;
    simProcess sim({"--irda-announce", "40", "--irda-slow", "1900"}, simLine::irda);
    ASSERT_TRUE(sim.waitForAir());
    const scopedIrdaAir air(sim.air);
    comm link(reportLog::status, reportLog::error);
    EXPECT_FALSE(link.openIrda());
    EXPECT_EQ(reportLog::statuses, std::vector<std::string>{searching1});
    EXPECT_EQ(reportLog::errors,
              std::vector<std::string>{"ошибка функции sockopt(IRLMP_ENUMDEVICES): " + std::to_string(ETIMEDOUT)});
}

TEST(irdaOpen, TheFirstOfTwoDevicesIsChosenAndReached)
{
    const reportLog::fresh reports;
    simProcess sim({"--irda-device", "0A0B0C0D:Crane 7:000104", "--irda-device",
                    "11223344:Crane 9:000104"},
                   simLine::irda);
    ASSERT_TRUE(sim.waitForAir());
    const scopedIrdaAir air(sim.air);
    {
        comm link(reportLog::status, reportLog::error);
        ASSERT_TRUE(link.openIrda());
        uint8_t reply[replyCapacity];
        ASSERT_EQ(link.transact(identify.data(), identify.size() - 2, reply, sizeof reply), 15u);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(reply) + 5, 8), "RP_v0001");
    }
    const std::vector<std::string> statuses = {
        searching1, "найдено 2 устройств (выбрано \"Crane 7\")", connecting};
    EXPECT_EQ(reportLog::statuses, statuses);
    EXPECT_TRUE(reportLog::errors.empty());
    ASSERT_EQ(sim.terminate(), 0);
    EXPECT_NE(sim.dumpText().find("irda-connect 0A0B0C0D\n"), std::string::npos);
    EXPECT_EQ(sim.dumpText().find("irda-connect 11223344"), std::string::npos);
}

TEST(irdaOpen, TheDeviceMustOfferIrcommNineWire)
{
    struct Case {
        std::vector<std::string> options;
        const char* error;   // nullptr: the open succeeds
    } cases[] = {
        {{"--irda-device", "01020304:RP:000104"}, nullptr},
        {{"--irda-device", "01020304:RP:010100000104"}, nullptr},
        {{"--irda-device", "01020304:RP:000102"}, "устройство не поддерживает режим IrCOMM 9wire"},
        {{"--irda-device", "01020304:RP:int"},
         "неверный тип атрибута IAS (!= IAS_ATTRIB_OCTETSEQ)"},
        {{"--irda-device", "01020304:RP:none"},
         "неверный тип атрибута IAS (!= IAS_ATTRIB_OCTETSEQ)"},
        {{"--irda-device", "01020304:RP:0004"}, "неверная длина атрибута IAS (<3)"},
        {{"--irda-refuse"}, "не могу соединиться с устройством: 111"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.back());
        const reportLog::fresh reports;
        simProcess sim(c.options, simLine::irda);
        ASSERT_TRUE(sim.waitForAir());
        const scopedIrdaAir air(sim.air);
        comm link(reportLog::status, reportLog::error);
        EXPECT_EQ(link.openIrda(), c.error == nullptr);
        if (c.error)
            EXPECT_EQ(reportLog::errors, std::vector<std::string>{c.error});
        else
            EXPECT_TRUE(reportLog::errors.empty());
        ASSERT_EQ(sim.terminate(), 0);
        EXPECT_EQ(sim.dumpText().find("irda-connect") != std::string::npos, c.error == nullptr);
    }
}

TEST(irdaExchange, ASlowReplyIsReadAndASilentDeviceTimesOut)
{
    const reportLog::fresh reports;
    simProcess sim({"--fault", "Identify:delay=1500@1", "--fault", "ReadClock:noreply@1"},
                   simLine::irda);
    ASSERT_TRUE(sim.waitForAir());
    const scopedIrdaAir air(sim.air);
    irdaTransport transport(systemIrdaSockets(), cancel, reportLog::status, reportLog::error);
    ASSERT_TRUE(transport.open());
    uint8_t reply[replyCapacity];
    EXPECT_EQ(exchangeOnce(transport, identify, reply), 15u);
    EXPECT_EQ(exchangeOnce(transport, readClock, reply), 0u);
    EXPECT_TRUE(transport.isOpen());
    EXPECT_EQ(exchangeOnce(transport, readClock, reply), 14u);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST(irdaExchange, AReplyEndsWhereItsLengthFieldSays)
{
    // The device's reply and three more bytes come in one burst: the reply is taken whole and
    // nothing after it, as on the serial line.
    const reportLog::fresh reports;
    streamStack stack;
    irdaTransport transport(stack, cancel, reportLog::status, reportLog::error);
    ASSERT_TRUE(transport.open());
    stack.incoming = exampleIdentifyReply;
    stack.incoming.insert(stack.incoming.end(), {0xAA, 0xBB, 0xCC});
    std::vector<uint8_t> reply(replyCapacity);
    ASSERT_EQ(exchangeOnce(transport, identify, reply.data()), exampleIdentifyReply.size());
    EXPECT_EQ(std::vector<uint8_t>(reply.begin(), reply.begin() + 15), exampleIdentifyReply);
    EXPECT_EQ(stack.incoming, (std::vector<uint8_t>{0xAA, 0xBB, 0xCC}));
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST(irdaExchange, ADeviceClosingTheConnectionClosesTheLink)
{
    const reportLog::fresh reports;
    simProcess sim({"--fault", "Identify:hangup=4@1"}, simLine::irda);
    ASSERT_TRUE(sim.waitForAir());
    const scopedIrdaAir air(sim.air);
    uint8_t reply[replyCapacity];
    {
        irdaTransport transport(systemIrdaSockets(), cancel, reportLog::status, reportLog::error);
        ASSERT_TRUE(transport.open());
        EXPECT_EQ(exchangeOnce(transport, identify, reply), 0u);
        EXPECT_FALSE(transport.isOpen());
        EXPECT_EQ(reportLog::errors, std::vector<std::string>{"не могу принять данные: 104"});
    }
    // The air takes the next connection, and the device answers again.
    reportLog::clear();
    irdaTransport again(systemIrdaSockets(), cancel, reportLog::status, reportLog::error);
    ASSERT_TRUE(again.open());
    EXPECT_EQ(exchangeOnce(again, identify, reply), 15u);
    EXPECT_TRUE(reportLog::errors.empty());
}

TEST(irdaDrain, EndsWhenTheDeviceHasClosed)
{
    const reportLog::fresh reports;
    simProcess sim({}, simLine::irda);
    ASSERT_TRUE(sim.waitForAir());
    const scopedIrdaAir air(sim.air);
    irdaTransport transport(systemIrdaSockets(), cancel, reportLog::status, reportLog::error);
    ASSERT_TRUE(transport.open());
    ASSERT_EQ(sim.terminate(), 0);
    transport.clear();
    EXPECT_FALSE(transport.isOpen());
    EXPECT_EQ(reportLog::errors, std::vector<std::string>{"не могу принять данные: 104"});
}
