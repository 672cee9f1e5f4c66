#include "TcpMatrixAdapter.h"

namespace zentrel::sim {

TcpMatrixAdapter::TcpMatrixAdapter(MatrixModel& model, VirtualNetwork& network, std::string ip,
                                   std::uint16_t port, FrameRecorder* recorder)
    : model_(model), network_(network), ip_(std::move(ip)), port_(port),
      pump_(network.loop(), recorder) {
    network_.listen(ip_, port_,
                    [this](std::shared_ptr<VirtualTcpConnection> c) { accept(std::move(c)); });
}

TcpMatrixAdapter::~TcpMatrixAdapter() {
    network_.stopListening(ip_, port_);
    for (auto& [id, s] : sessions_) {
        s.connection->onData(nullptr);
        s.connection->onClose(nullptr);
    }
}

void TcpMatrixAdapter::accept(std::shared_ptr<VirtualTcpConnection> connection) {
    const int id = nextId_++;
    sessions_.emplace(id, Session{connection, "TCP" + std::to_string(id), model_.newLink()});
    connection->onData([this, id](std::span<const std::uint8_t> bytes) {
        auto it = sessions_.find(id);
        if (it == sessions_.end()) {
            return;
        }
        Session& session = it->second;
        const Exchange ex = model_.receive(session.intake, bytes, network_.loop().nowMs());
        pump_.recordInbound(ex, session.name);
        for (const Reply& r : ex.out) {
            send(session, r);
        }
        if (ex.closeLink) {
            session.connection->close();
            sessions_.erase(it);
        }
    });
    connection->onClose([this, id] {
        auto it = sessions_.find(id);
        if (it != sessions_.end()) {
            it->second.connection->close();
            sessions_.erase(it);
        }
    });
}

void TcpMatrixAdapter::send(Session& s, const Reply& reply) {
    pump_.send(reply, s.name, [connection = s.connection](std::span<const std::uint8_t> bytes) {
        connection->send(bytes); // -1 once either side closed: the reply is lost, as on a wire
    });
}

void TcpMatrixAdapter::sendRaw(std::span<const std::uint8_t> bytes) {
    for (auto& [id, s] : sessions_) {
        s.connection->send(bytes);
    }
}

void TcpMatrixAdapter::resetConnections() {
    for (auto& [id, s] : sessions_) {
        s.connection->onData(nullptr);
        s.connection->onClose(nullptr);
        s.connection->close();
    }
    sessions_.clear();
}

void TcpMatrixAdapter::sendUnprompted(const Reply& reply) {
    for (auto& [id, s] : sessions_) {
        send(s, reply);
    }
}

} // namespace zentrel::sim
