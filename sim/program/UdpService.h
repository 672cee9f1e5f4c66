#pragma once
// Discovery and network configuration on UDP: the probe on port 30600 and configuration records
// on 30601, each on a socket bound with address reuse so the panel can share the host, and
// every answer sent by broadcast as a matrix does.
#include "FrameLog.h"
#include "SimClock.h"
#include "sim/model/MatrixModel.h"

#include <QObject>
#include <QUdpSocket>

#include <string>

namespace zentrel::sim {

class UdpService : public QObject {
public:
    UdpService(MatrixModel& model, FrameLog& log, const SimClock& clock, QObject* parent = nullptr);

    bool start(std::string& error);
    // The name of an interface a broadcast could leave the host by, or "" when there is none
    // (loopback only, as inside a private network namespace).
    static std::string outsideInterface();

private:
    void readPending(QUdpSocket& socket, bool discovery);

    MatrixModel& model_;
    FrameLog& log_;
    const SimClock& clock_;
    QUdpSocket discovery_;
    QUdpSocket config_;
};

} // namespace zentrel::sim
