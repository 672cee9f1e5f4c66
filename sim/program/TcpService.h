#pragma once
// The control connection on TCP. The panel opens a new connection on every tab change and
// may open it before the old one's close has arrived, so every connection gets a link of its
// own; replies go back on the connection that asked.
#include "LinkDriver.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

#include <cstdint>
#include <map>
#include <string>

class QTcpSocket;

namespace zentrel::sim {

class TcpService : public QObject {
public:
    TcpService(MatrixModel& model, FrameLog& log, const SimClock& clock, QObject* parent = nullptr);

    bool listen(const std::string& address, std::uint16_t port, std::string& error);
    std::uint16_t port() const { return server_.serverPort(); }
    // Sends an unprompted frame on every open connection.
    void sendToAll(const Reply& reply);

private:
    void accept();

    MatrixModel& model_;
    FrameLog& log_;
    const SimClock& clock_;
    QTcpServer server_;
    int nextId_ = 1;
    std::map<QTcpSocket*, LinkDriver*> links_;
};

} // namespace zentrel::sim
