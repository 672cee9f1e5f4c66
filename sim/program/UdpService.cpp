#include "UdpService.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>

#include <vector>

namespace zentrel::sim {

UdpService::UdpService(MatrixModel& model, FrameLog& log, const SimClock& clock, QObject* parent)
    : QObject(parent), model_(model), log_(log), clock_(clock) {
    connect(&discovery_, &QUdpSocket::readyRead, this, [this] { readPending(discovery_, true); });
    connect(&config_, &QUdpSocket::readyRead, this, [this] { readPending(config_, false); });
}

std::string UdpService::outsideInterface() {
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        const auto f = i.flags();
        if (f.testFlag(QNetworkInterface::IsUp) && !f.testFlag(QNetworkInterface::IsLoopBack) &&
            f.testFlag(QNetworkInterface::CanBroadcast)) {
            return i.name().toStdString();
        }
    }
    return {};
}

bool UdpService::start(std::string& error) {
    const auto mode = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;
    for (auto [socket, port] : {std::pair{&discovery_, NetworkResponder::kDiscoveryPort},
                                std::pair{&config_, NetworkResponder::kConfigPort}}) {
        if (!socket->bind(QHostAddress::AnyIPv4, port, mode)) {
            error = "cannot bind UDP port " + std::to_string(port) + ": " +
                    socket->errorString().toStdString();
            return false;
        }
    }
    return true;
}

void UdpService::readPending(QUdpSocket& socket, bool discovery) {
    const std::string link = discovery ? "UDP0" : "UDP1";
    while (socket.hasPendingDatagrams()) {
        const QNetworkDatagram d = socket.receiveDatagram();
        const QByteArray data = d.data();
        const std::vector<std::uint8_t> bytes(data.begin(), data.end());
        NetworkResponder& net = model_.network();
        const auto answer = discovery ? net.onDiscovery(bytes) : net.onConfig(bytes);
        if (!answer) {
            continue; // our own broadcasts, other units' records, noise
        }
        const std::int64_t now = clock_.nowUs();
        log_.frame(now, "in", link, bytes, discovery ? "discovery probe" : "configuration record");
        const qint64 sent = socket.writeDatagram(
            reinterpret_cast<const char*>(answer->data()), static_cast<qint64>(answer->size()),
            QHostAddress::Broadcast,
            discovery ? NetworkResponder::kDiscoveryPort : NetworkResponder::kConfigPort);
        std::string name = discovery ? "discovery record"
                                     : ((*answer)[74] == NetworkResponder::kStatusAccepted
                                            ? "configuration accepted"
                                            : "configuration refused");
        if (sent < 0) {
            name += " (not sent: " + socket.errorString().toStdString() + ")";
        }
        log_.frame(now, "out", link, *answer, name);
    }
}

} // namespace zentrel::sim
