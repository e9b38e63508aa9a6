// The emulated IrDA stack against an air that answers from a script, for the failures a
// well-behaved simulator never shows: each is reported with the code the stack gives.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "link/irdaTransport.h"
#include "tests/support/reportLog.h"
#include "tests/support/simProcess.h"

namespace {

// Serves one connection at path: reads a request line, sends the next answer line, until the
// script ends; then closes the connection.
class scriptedAir {
public:
    scriptedAir(const std::string& path, std::vector<std::string> answers) : path(path)
    {
        listener = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        listen(listener, 1);
        server = std::thread([this, answers] {
            const int host = accept(listener, nullptr, nullptr);
            for (const std::string& answer : answers) {
                char c = 0;
                while (read(host, &c, 1) == 1 && c != '\n') {
                }
                const std::string line = answer + "\n";
                if (write(host, line.data(), line.size()) < 0)
                    break;
            }
            close(host);
        });
    }
    ~scriptedAir()
    {
        server.join();
        close(listener);
        unlink(path.c_str());
    }

private:
    std::string path;
    int listener = -1;
    std::thread server;
};

}  // namespace

TEST(irdaStack, FailuresOfTheAirAreReportedWithTheirCodes)
{
    const std::string device = "DEVICES 1\nDEVICE 01020304 RP";
    const struct Case {
        std::vector<std::string> answers;
        std::string error;
    } cases[] = {
        {{"DEVICES two"}, "ошибка функции sockopt(IRLMP_ENUMDEVICES): 71"},  // EPROTO
        {{device, "ERR 113"}, "ошибка функции sockopt(IRLMP_IAS_QUERY) call failed 113"},
        {{device, "ATTR 2 0001040"}, "ошибка функции sockopt(IRLMP_IAS_QUERY) call failed 71"},
        {{device, "ATTR 2 000104", "ERR 95"}, "ошибка функции sockopt(IRLMP_9WIRE_MODE): 95"},
        {{device, "ATTR 2 000104", "OK", "NO"}, "не могу соединиться с устройством: 71"},
    };
    char dir[] = "/tmp/brennix-airXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/air";
    const scopedIrdaAir air(path);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        const reportLog::fresh reports;
        const scriptedAir script(path, c.answers);
        linkCancel cancel;
        irdaTransport transport(systemIrdaSockets(), cancel, reportLog::status, reportLog::error);
        EXPECT_FALSE(transport.open());
        EXPECT_FALSE(transport.isOpen());
        EXPECT_EQ(reportLog::errors, std::vector<std::string>{c.error});
    }
    rmdir(dir);
}

TEST(irdaStack, AnAirServedLaterIsFoundByTheNextPass)
{
    char dir[] = "/tmp/brennix-airXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/air";
    const scopedIrdaAir air(path);
    irdaSockets& sockets = systemIrdaSockets();
    const int socket = sockets.create();
    ASSERT_GE(socket, 0);
    // Nobody serves the air yet: no device in range.
    std::vector<irdaDeviceInfo> devices{{1, "stale"}};
    EXPECT_TRUE(sockets.enumDevices(socket, devices));
    EXPECT_TRUE(devices.empty());
    {
        const scriptedAir script(path, {"DEVICES 1\nDEVICE 0A0B0C0D Crane 7"});
        EXPECT_TRUE(sockets.enumDevices(socket, devices));
        ASSERT_EQ(devices.size(), 1u);
        EXPECT_EQ(devices[0].id, 0x0A0B0C0Du);
        EXPECT_EQ(devices[0].name, "Crane 7");
        sockets.close(socket);
    }
    rmdir(dir);
}
