#include "link/portNames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

TEST(portNames, ComPortsResolveByEnvironmentThenConfigurationThenDefault)
{
    unsetenv("BRENNIX_COM1");
    unsetenv("BRENNIX_COM2");
    unsetenv("BRENNIX_COM4");
    EXPECT_EQ(portDevicePath("COM1", nullptr), "/dev/ttyS0");
    EXPECT_EQ(portDevicePath("COM4", nullptr), "/dev/ttyS3");

    int asked = 0;
    const ConfiguredPortLookup configured = [&](int number) {
        asked = number;
        return number == 2 ? std::string("/dev/ttyUSB0") : std::string();
    };
    EXPECT_EQ(portDevicePath("COM2", configured), "/dev/ttyUSB0");
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(portDevicePath("COM1", configured), "/dev/ttyS0");  // key absent

    setenv("BRENNIX_COM2", "/dev/pts/7", 1);
    EXPECT_EQ(portDevicePath("COM2", configured), "/dev/pts/7");
    setenv("BRENNIX_COM2", "", 1);  // empty: as if not set
    EXPECT_EQ(portDevicePath("COM2", configured), "/dev/ttyUSB0");
    unsetenv("BRENNIX_COM2");
    EXPECT_EQ(portDevicePath("COM2", nullptr), "/dev/ttyS1");
}

TEST(portNames, OtherNamesAreDevicePaths)
{
    EXPECT_EQ(portDevicePath("/dev/ttyACM0", nullptr), "/dev/ttyACM0");
    EXPECT_EQ(portDevicePath("COM5", nullptr), "COM5");
    EXPECT_EQ(portDevicePath("COM0", nullptr), "COM0");
    EXPECT_EQ(portDevicePath("com1", nullptr), "com1");
    EXPECT_EQ(portDevicePath("COM12", nullptr), "COM12");
}

// The ports offered for mapping: real UARTs and adapters, by kind and then by number (ttyS10
// after ttyS2), nothing that only looks like one.
TEST(portNames, PresentSerialDevicesAreTheRealPortsInOrder)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("brennix-ports-" + std::to_string(::getpid()));
    const fs::path devices = folder / "dev", ttyClass = folder / "class";
    fs::create_directories(devices / "ttyUSB9");   // a folder, not a device
    for (const char* name : {"ttyS0", "ttyS1", "ttyS2", "ttyS10", "ttyUSB1", "ttyUSB0", "ttyACM0", "tty", "ttyS",
                             "ttySx", "ttyS1234567", "ttyAMA0"})
        std::ofstream(devices / name).put('\n');
    const auto uartType = [&](const char* name, const char* type) {
        fs::create_directories(ttyClass / name);
        std::ofstream(ttyClass / name / "type") << type;
    };
    uartType("ttyS0", "4\n");
    uartType("ttyS1", "0\n");   // no UART behind it
    uartType("ttyS10", "4\n");  // ttyS2 has no class entry: it counts

    const std::string d = devices.string() + "/";
    EXPECT_EQ(presentSerialDevices(devices.string(), ttyClass.string()),
              (std::vector<std::string>{d + "ttyS0", d + "ttyS2", d + "ttyS10", d + "ttyUSB0", d + "ttyUSB1",
                                        d + "ttyACM0"}));
    EXPECT_TRUE(presentSerialDevices((folder / "absent").string(), ttyClass.string()).empty());
    fs::remove_all(folder);
}

}  // namespace
