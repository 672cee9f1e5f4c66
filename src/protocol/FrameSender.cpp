#include "FrameSender.h"

#include "CommandBuilders.h"
#include "SendLog.h"
#include "platform/SerialLink.h"

#include <utility>

namespace zentrel {

FrameSender::FrameSender(const SharedState& state, TcpSend tcp, SerialLink* serial, SendLog* log)
    : state_(state), tcp_(std::move(tcp)), serial_(serial), log_(log) {}

void FrameSender::send(const CommandFrame& frame) {
    if (log_ != nullptr) {
        log_->append(frame.bytes);
    }
    route(frame.bytes);
}

void FrameSender::route(std::span<const std::uint8_t> bytes) {
    if (state_.ControlMode == kModeTcp) {
        if (tcp_) {
            tcp_(bytes);
        }
    } else if (serial_ != nullptr) {
        serial_->write(bytes);
    }
}

void FrameSender::sendBlock(std::span<const std::uint8_t> bytes) {
    route(bytes);
    if (log_ != nullptr) {
        log_->append(bytes);
    }
}

void FrameSender::sendCommand(std::uint8_t g, std::uint8_t c, std::uint8_t a) {
    send(commandFrame(g, c, a));
}

void FrameSender::sendCommandB5(std::uint8_t g, std::uint8_t c, std::uint8_t a, std::uint8_t b5) {
    send(commandFrameB5(g, c, a, b5));
}

void FrameSender::sendCommandB6(std::uint8_t g, std::uint8_t c, std::uint8_t a, std::uint8_t b6) {
    send(commandFrameB6(g, c, a, b6));
}

} // namespace zentrel
