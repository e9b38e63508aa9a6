#include "link/transports.h"

#include "link/irdaTransport.h"

namespace {

class systemLinkTransports final : public linkTransports {
public:
    void startup(ReportCallback errorCallback) override { irdaStartup(systemIrdaSockets(), errorCallback); }

    std::unique_ptr<linkTransport> openSerial(const std::string& portName, const serialSettings& settings,
                                              linkCancel& cancel, ReportCallback errorCallback) override
    {
        auto port = std::make_unique<serialPort>(cancel, errorCallback);
        if (!port->open(portName, settings))
            return nullptr;
        return port;
    }

    std::unique_ptr<linkTransport> openIrda(linkCancel& cancel, ReportCallback statusCallback,
                                            ReportCallback errorCallback) override
    {
        auto socket = std::make_unique<irdaTransport>(systemIrdaSockets(), cancel, statusCallback, errorCallback);
        if (!socket->open())
            return nullptr;
        return socket;
    }
};

}  // namespace

linkTransports& systemTransports()
{
    static systemLinkTransports transports;
    return transports;
}
