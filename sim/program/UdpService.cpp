#include "UdpService.h"

#include "platform/qt/OutsideInterface.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QProcess>
#include <QTimer>

#include <vector>

namespace zentrel::sim {

UdpService::UdpService(MatrixModel& model, FrameLog& log, const SimClock& clock, QObject* parent)
    : QObject(parent), model_(model), log_(log), clock_(clock) {
    connect(&discovery_, &QUdpSocket::readyRead, this, [this] { readPending(discovery_, true); });
    connect(&config_, &QUdpSocket::readyRead, this, [this] { readPending(config_, false); });
}

std::string UdpService::outsideInterface() {
    return zentrel::outsideInterface();
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
        const auto before = model_.state().ip;
        const auto answers = discovery ? net.answerDiscovery(bytes) : net.answerConfig(bytes);
        if (answers.empty()) {
            continue; // our own broadcasts, other units' records, noise
        }
        log_.frame(clock_.nowUs(), "in", link, bytes,
                   discovery ? "discovery probe" : "configuration record");
        if (model_.state().ip != before) {
            takeAddress(d.interfaceIndex());
        }
        for (const NetworkResponder::Datagram& a : answers) {
            if (a.delayMs == 0) {
                send(socket, discovery, a.bytes);
            } else {
                QTimer::singleShot(
                    static_cast<int>(a.delayMs), this,
                    [this, &socket, discovery, b = a.bytes] { send(socket, discovery, b); });
            }
        }
    }
}

void UdpService::send(QUdpSocket& socket, bool discovery, const std::vector<std::uint8_t>& bytes) {
    const qint64 sent = socket.writeDatagram(
        reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()),
        QHostAddress::Broadcast,
        discovery ? NetworkResponder::kDiscoveryPort : NetworkResponder::kConfigPort);
    std::string name = "discovery record";
    if (!discovery) {
        name = bytes.size() == NetworkResponder::kConfigSize
                   ? (bytes[74] == NetworkResponder::kStatusAccepted ? "configuration accepted"
                                                                     : "configuration refused")
                   : "part of a configuration answer";
    }
    if (sent < 0) {
        name += " (not sent: " + socket.errorString().toStdString() + ")";
    }
    log_.frame(clock_.nowUs(), "out", discovery ? "UDP0" : "UDP1", bytes, name);
}

void UdpService::takeAddress(int index) {
    QNetworkInterface i = QNetworkInterface::interfaceFromIndex(index);
    if (!i.isValid() && outsideInterface().empty()) {
        // The arrival interface is not known: with nothing but loopback up, it was loopback.
        for (const QNetworkInterface& any : QNetworkInterface::allInterfaces()) {
            if (any.flags().testFlag(QNetworkInterface::IsLoopBack)) {
                i = any;
            }
        }
    }
    const auto& ip = model_.state().ip;
    const QString address =
        QStringLiteral("%1.%2.%3.%4/32").arg(ip[0]).arg(ip[1]).arg(ip[2]).arg(ip[3]);
    // Only the loopback: a unit run beside a real network must not move the host's addresses.
    if (!i.isValid() || !i.flags().testFlag(QNetworkInterface::IsLoopBack)) {
        log_.note(clock_.nowUs(), "UDP1",
                  "new address " + address.toStdString() + " not put on any interface");
        return;
    }
    const int rc =
        QProcess::execute(QStringLiteral("ip"), {QStringLiteral("addr"), QStringLiteral("add"),
                                                 address, QStringLiteral("dev"), i.name()});
    log_.note(clock_.nowUs(), "UDP1",
              "new address " + address.toStdString() + " on " + i.name().toStdString() +
                  (rc == 0 ? "" : " failed (ip exited with " + std::to_string(rc) + ")"));
}

} // namespace zentrel::sim
