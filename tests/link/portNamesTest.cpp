#include "link/portNames.h"

#include <gtest/gtest.h>

#include <cstdlib>

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

}  // namespace
