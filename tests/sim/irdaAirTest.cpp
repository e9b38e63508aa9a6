// The simulator's IrDA air: its devices from the command line and its answers to the stack.
#include "sim/airDevices.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "tests/support/simProcess.h"

TEST(airDevices, ParsesTheDevicesOfTheCommandLine)
{
    std::string why;
    auto device = parseAirDevice("0A0B0C0D:Crane: 7:010100000104", why);
    ASSERT_TRUE(device) << why;
    EXPECT_EQ(device->id, 0x0A0B0C0Du);
    EXPECT_EQ(device->name, "Crane: 7");   // the parameters follow the last colon
    EXPECT_EQ(device->type, airAttribute::octets);
    EXPECT_EQ(device->parameters, (std::vector<uint8_t>{0x01, 0x01, 0x00, 0x00, 0x01, 0x04}));

    device = parseAirDevice("0a0b0c0d:RP:int", why);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->type, airAttribute::integer);
    device = parseAirDevice("0A0B0C0D:RP:", why);
    ASSERT_TRUE(device);
    EXPECT_TRUE(device->parameters.empty());

    for (const char* bad : {"0A0B0C0D:RP", "0A0B0C0:RP:000104", "0A0B0C0G:RP:000104",
                            "0A0B0C0D::000104", "0A0B0C0D:12345678901234567890123:000104",
                            "0A0B0C0D:R\tP:000104", "0A0B0C0D:RP:00010", "0A0B0C0D:RP:00zz04"})
        EXPECT_FALSE(parseAirDevice(bad, why)) << bad;
}

TEST(airDevices, AnswersTheStack)
{
    airSettings air;
    air.devices = {{0x0A0B0C0D, "Crane 7", airAttribute::octets, {0x00, 0x01, 0x04}},
                   {0x11223344, "Crane 9", airAttribute::integer, {}}};
    std::optional<uint32_t> connected;
    EXPECT_EQ(answerAirRequest("ENUM", air, connected), "DEVICES 2");
    EXPECT_EQ(airListLength(air), 2u);
    EXPECT_EQ(airDeviceLine(air, 0), "DEVICE 0A0B0C0D Crane 7");
    EXPECT_EQ(airDeviceLine(air, 1), "DEVICE 11223344 Crane 9");
    // An air that announces more devices than are in range names them over and over.
    air.announced = 4000000000u;
    EXPECT_EQ(answerAirRequest("ENUM", air, connected), "DEVICES 4000000000");
    EXPECT_EQ(airDeviceLine(air, 3999999999u), "DEVICE 11223344 Crane 9");
    air.announced.reset();
    EXPECT_EQ(answerAirRequest("IAS 0A0B0C0D IrDA:IrCOMM Parameters", air, connected),
              "ATTR 2 000104");
    EXPECT_EQ(answerAirRequest("IAS 11223344 IrDA:IrCOMM Parameters", air, connected), "ATTR 1");
    EXPECT_EQ(answerAirRequest("IAS 0A0B0C0D IrDA:IrLPT Parameters", air, connected), "ATTR 0");
    EXPECT_EQ(answerAirRequest("IAS 55667788 IrDA:IrCOMM Parameters", air, connected), "ERR 113");
    EXPECT_EQ(answerAirRequest("NINEWIRE", air, connected), "OK");
    EXPECT_EQ(answerAirRequest("CONNECT 0A0B0C0D IrDA:IrLPT", air, connected), "ERR 111");
    EXPECT_EQ(answerAirRequest("FROB", air, connected), "ERR 22");
    EXPECT_FALSE(connected);
    EXPECT_EQ(answerAirRequest("CONNECT 11223344 IrDA:IrCOMM", air, connected), "OK");
    EXPECT_EQ(connected, 0x11223344u);

    air.refuse = true;
    connected.reset();
    EXPECT_EQ(answerAirRequest("CONNECT 0A0B0C0D IrDA:IrCOMM", air, connected), "ERR 111");
    EXPECT_FALSE(connected);
}

TEST(airDevices, TheProgramRefusesBadAirOptions)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--irda-device", "0A0B0C0D:RP"},
        {"--irda-empty", "--irda-device", "0A0B0C0D:RP:000104"},
        {"--pty", "/tmp/brennix-unused"},
    };
    for (const auto& options : cases) {
        simProcess sim(options, simLine::irda);
        int status = 0;
        ASSERT_EQ(waitpid(sim.pid, &status, 0), sim.pid);
        sim.pid = -1;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << options.back();
    }
    // Air options belong to the air.
    simProcess sim({"--irda-refuse"});
    int status = 0;
    ASSERT_EQ(waitpid(sim.pid, &status, 0), sim.pid);
    sim.pid = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
}
