#pragma once
// The simulated matrix as a TCP listener on the virtual network. Every connection the panel
// opens (one per tab change) gets a receive state of its own; replies go back on the
// connection that asked, and the matrix closes its end when the panel closes its own.
#include "ReplyPump.h"
#include "platform/sim/VirtualNetwork.h"
#include "platform/sim/VirtualTcpConnection.h"
#include "sim/model/MatrixModel.h"

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>

namespace zentrel::sim {

class TcpMatrixAdapter {
public:
    TcpMatrixAdapter(MatrixModel& model, VirtualNetwork& network, std::string ip,
                     std::uint16_t port, FrameRecorder* recorder = nullptr);
    ~TcpMatrixAdapter();
    TcpMatrixAdapter(const TcpMatrixAdapter&) = delete;
    TcpMatrixAdapter& operator=(const TcpMatrixAdapter&) = delete;

    // Sends a frame on every open connection.
    void sendUnprompted(const Reply& reply);
    // Puts raw bytes on every open connection, as one send each: noise on the link, or a test's
    // own reply.
    void sendRaw(std::span<const std::uint8_t> bytes);
    // Drops every open connection at once, as a unit that restarts its network stack does:
    // the panel sees each one closed, and what was still on its way to the panel is lost.
    // New connections are accepted as before.
    void resetConnections();
    int connectionsAccepted() const { return nextId_ - 1; }
    int connectionsOpen() const { return static_cast<int>(sessions_.size()); }

private:
    struct Session {
        std::shared_ptr<VirtualTcpConnection> connection;
        std::string name;
        WireIntake intake;
    };
    void accept(std::shared_ptr<VirtualTcpConnection> connection);
    void send(Session& s, const Reply& reply);

    MatrixModel& model_;
    VirtualNetwork& network_;
    std::string ip_;
    std::uint16_t port_;
    ReplyPump pump_;
    int nextId_ = 1;
    std::map<int, Session> sessions_;
};

} // namespace zentrel::sim
