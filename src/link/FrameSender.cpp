#include "FrameSender.h"

#include "platform/SerialLink.h"

#include <utility>

namespace zentrel {

FrameSender::FrameSender(const SharedState& state, TcpSend tcp, SerialLink* serial, Log log)
    : state_(state), tcp_(std::move(tcp)), serial_(serial), log_(std::move(log)) {}

void FrameSender::send(const CommandFrame& frame) {
    if (log_) {
        log_(frame.bytes);
    }
    route(frame.bytes);
}

void FrameSender::route(std::span<const std::uint8_t> bytes) {
    bool out = false;
    if (state_.ControlMode == kModeTcp) {
        if (tcp_) {
            tcp_(bytes);
            out = true;
        }
    } else if (serial_ != nullptr) {
        serial_->write(bytes);
        out = true;
    }
    if (out && watch_) {
        watch_(TrafficDirection::Sent, bytes);
    }
}

void FrameSender::sendBlock(std::span<const std::uint8_t> bytes) {
    route(bytes);
    if (log_) {
        log_(bytes);
    }
}

} // namespace zentrel
