#pragma once
// The running simulator: one matrix model served on the links the command line asks for, with
// the timed fault knobs (unprompted standby, EDID switch report) scheduled from the start.
#include "FrameLog.h"
#include "LinkDriver.h"
#include "PtyPort.h"
#include "SimClock.h"
#include "SimOptions.h"
#include "TcpService.h"
#include "UdpService.h"

#include <QObject>

#include <memory>
#include <string>

namespace zentrel::sim {

class SimApp : public QObject {
public:
    explicit SimApp(const SimOptions& options, QObject* parent = nullptr);

    // Starts every service; on failure says why in `error`.
    bool start(std::string& error);
    // Removes the port link and closes everything.
    void stop();

    FrameLog& log() { return log_; }
    const SimClock& clock() const { return clock_; }

private:
    void applyFaults();
    void sendToAll(const Reply& reply);
    void writeFirmware(const FirmwareSession& fw);

    const SimOptions& options_;
    SimClock clock_;
    FrameLog log_{stdout};
    MatrixModel model_;
    std::unique_ptr<PtyPort> pty_;
    std::unique_ptr<LinkDriver> serial_;
    std::unique_ptr<TcpService> tcp_;
    std::unique_ptr<UdpService> udp_;
};

} // namespace zentrel::sim
