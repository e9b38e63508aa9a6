// How a link reaches its device: the one seam between the recorder link and its transports. The
// program opens the platform's own serial port and IrDA stack (systemTransports); tests can put
// a device into the same process instead.
#pragma once

#include <memory>
#include <string>

#include "link/linkCancel.h"
#include "link/report.h"
#include "link/serialPort.h"
#include "link/transport.h"

class linkTransports {
public:
    virtual ~linkTransports() = default;

    // Called by every link construction, before any open.
    virtual void startup(ReportCallback errorCallback) = 0;
    // An open channel whose every wait runs through cancel, or nullptr once the failure has
    // been reported through errorCallback.
    virtual std::unique_ptr<linkTransport> openSerial(const std::string& portName,
                                                      const serialSettings& settings,
                                                      linkCancel& cancel, ReportCallback errorCallback) = 0;
    virtual std::unique_ptr<linkTransport> openIrda(linkCancel& cancel, ReportCallback statusCallback,
                                                    ReportCallback errorCallback) = 0;
};

// The serial port and the IrDA stack of this platform.
linkTransports& systemTransports();
