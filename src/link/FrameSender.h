#pragma once
// A page's way out to the matrix: it logs a frame in the page's send log and hands it, once, to
// the TCP control socket or the page's serial channel according to ControlMode. Whether the
// bytes arrive is not examined here; the page's reply timers notice silence.
#include "ControlSocket.h"
#include "LinkWatch.h"
#include "protocol/CommandFrame.h"
#include "state/SharedState.h"

#include <cstdint>
#include <functional>
#include <span>

namespace zentrel {

class SerialLink;

class FrameSender {
public:
    // One send on the control socket; its result is not looked at.
    using TcpSend = std::function<void(std::span<const std::uint8_t>)>;
    // The page's send log, given the bytes as they go out.
    using Log = std::function<void(std::span<const std::uint8_t>)>;

    // `serial` is the page's own channel and `log` its send log; either may be empty (no
    // channel yet, or a page that logs its own way).
    FrameSender(const SharedState& state, TcpSend tcp, SerialLink* serial, Log log);
    FrameSender(const SharedState& state, ControlSocket& socket, SerialLink* serial, Log log)
        : FrameSender(
              state, [&socket](std::span<const std::uint8_t> b) { socket.send(b); }, serial,
              std::move(log)) {}

    void setSerial(SerialLink* serial) { serial_ = serial; }
    // Hears every write that goes onto a link, whichever of the three calls made it.
    void setWatch(LinkWatch watch) { watch_ = std::move(watch); }

    // Log, then route: the order of the General page.
    void send(const CommandFrame& frame);
    // Route only, nothing logged: the FW Upgrade page writes its own lines instead of the bytes.
    void route(std::span<const std::uint8_t> bytes);
    // A data block (the 290-byte EDID block): routed as one write, then logged byte by byte.
    void sendBlock(std::span<const std::uint8_t> bytes);

private:
    const SharedState& state_;
    TcpSend tcp_;
    SerialLink* serial_;
    Log log_;
    LinkWatch watch_;
};

} // namespace zentrel
