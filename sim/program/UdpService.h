#pragma once
// Discovery and network configuration on UDP: the probe on port 30600 and configuration records
// on 30601, each on a socket bound with address reuse so the panel can share the host, and
// every answer sent by broadcast as a matrix does. A unit given a new static address takes it
// on the loopback it was reached by (inside a private network namespace, where it may), so the
// panel finds it there and connects to it.
#include "FrameLog.h"
#include "SimClock.h"
#include "sim/model/MatrixModel.h"

#include <QObject>
#include <QUdpSocket>

#include <cstdint>
#include <string>
#include <vector>

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
    void send(QUdpSocket& socket, bool discovery, const std::vector<std::uint8_t>& bytes);
    // Puts the unit's address on interface `index` when that is a loopback.
    void takeAddress(int index);

    MatrixModel& model_;
    FrameLog& log_;
    const SimClock& clock_;
    QUdpSocket discovery_;
    QUdpSocket config_;
};

} // namespace zentrel::sim
