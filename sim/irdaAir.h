// The emulated IrDA "air" the host's IrDA stack reaches through a Unix-domain socket: the
// devices in range with their names, identifiers and IrCOMM "Parameters", and, once the host
// has connected to one of them, the IrCOMM byte stream to the simulated device.
#pragma once

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/airDevices.h"
#include "sim/device.h"
#include "sim/lineServer.h"

class irdaAir {
public:
    irdaAir(std::string path, airSettings settings)
        : path(std::move(path)), settings(std::move(settings))
    {
    }
    ~irdaAir();
    irdaAir(const irdaAir&) = delete;
    irdaAir& operator=(const irdaAir&) = delete;

    // Listens at the path (replacing a socket left there, never another kind of file); the
    // path appears only once hosts can connect. False, with the reason in error, on failure.
    bool open(std::string& error);

    // Serves one host after another until stop is set.
    void serve(simDevice& device, const lineSettings& line, const volatile std::sig_atomic_t& stop);

    // Identifiers of the devices connected to, in order.
    const std::vector<uint32_t>& connections() const { return connected; }

private:
    void serveHost(int fd, simDevice& device, const lineSettings& line,
                   const volatile std::sig_atomic_t& stop);

    std::string path;
    airSettings settings;
    int listener = -1;
    std::vector<uint32_t> connected;
};
