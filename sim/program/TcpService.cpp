#include "TcpService.h"

#include <QTcpSocket>

namespace zentrel::sim {

TcpService::TcpService(MatrixModel& model, FrameLog& log, const SimClock& clock, QObject* parent)
    : QObject(parent), model_(model), log_(log), clock_(clock) {
    connect(&server_, &QTcpServer::newConnection, this, [this] { accept(); });
}

bool TcpService::listen(const std::string& address, std::uint16_t port, std::string& error) {
    if (!server_.listen(QHostAddress(QString::fromStdString(address)), port)) {
        error = "cannot listen on TCP " + address + ":" + std::to_string(port) + ": " +
                server_.errorString().toStdString();
        return false;
    }
    return true;
}

void TcpService::accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        const std::string name = "TCP" + std::to_string(nextId_++);
        auto* link = new LinkDriver(
            model_, log_, clock_, name, false,
            [socket](const std::vector<std::uint8_t>& bytes) {
                if (socket->state() != QAbstractSocket::ConnectedState) {
                    return false;
                }
                socket->write(reinterpret_cast<const char*>(bytes.data()),
                              static_cast<qint64>(bytes.size()));
                return true;
            },
            socket);
        link->setCloser([socket] { socket->disconnectFromHost(); });
        links_[socket] = link;
        log_.note(clock_.nowUs(), name,
                  "connection from " + socket->peerAddress().toString().toStdString() + ":" +
                      std::to_string(socket->peerPort()));
        connect(socket, &QTcpSocket::readyRead, link, [socket, link] {
            const QByteArray data = socket->readAll();
            link->deliver(std::vector<std::uint8_t>(data.begin(), data.end()));
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket, name] {
            log_.note(clock_.nowUs(), name, "connection closed");
            links_.erase(socket);
            socket->deleteLater(); // takes its link with it
        });
    }
}

void TcpService::sendToAll(const Reply& reply) {
    for (auto& [socket, link] : links_) {
        link->sendUnprompted(reply);
    }
}

} // namespace zentrel::sim
