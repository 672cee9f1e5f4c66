#include "SimulatedMatrixHarness.h"

#include <stdexcept>

namespace zentrel::sim {

namespace {

std::array<std::uint8_t, 4> dotted(const std::string& text) {
    std::array<std::uint8_t, 4> out{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t dot = text.find('.', start);
        const std::string part = text.substr(start, dot - start);
        const int v = part.empty() ? -1 : std::stoi(part);
        if (v < 0 || v > 255 || (i < 3) == (dot == std::string::npos)) {
            throw std::invalid_argument("not a dotted IPv4 address: " + text);
        }
        out[i] = static_cast<std::uint8_t>(v);
        start = dot + 1;
    }
    return out;
}

MatrixState withAddress(MatrixState s, const std::string& ip) {
    s.ip = dotted(ip);
    s.gateway = {s.ip[0], s.ip[1], s.ip[2], 1};
    s.mask = {255, 255, 255, 0};
    return s;
}

} // namespace

SimulatedMatrixHarness::SimulatedMatrixHarness() : SimulatedMatrixHarness(Options{}) {}

SimulatedMatrixHarness::SimulatedMatrixHarness(Options options)
    : options_(std::move(options)), network_(loop_, options_.panelIp),
      model_(withAddress(options_.state, options_.matrixIp), options_.timing) {
    if (options_.com) {
        serial_ =
            std::make_unique<SerialMatrixAdapter>(model_, loop_, ports_, *options_.com, &recorder_);
    }
    if (options_.tcp) {
        tcp_ = std::make_unique<TcpMatrixAdapter>(model_, network_, options_.matrixIp,
                                                  options_.tcpPort, &recorder_);
    }
    if (options_.udp) {
        udp_ = std::make_unique<UdpMatrixAdapter>(model_, network_, options_.matrixIp, &recorder_);
        // A unit given a new static address serves TCP there from then on.
        udp_->onAddressChanged([this](const std::string& ip) {
            if (tcp_) {
                tcp_ = std::make_unique<TcpMatrixAdapter>(model_, network_, ip, options_.tcpPort,
                                                          &recorder_);
            }
        });
    }
}

SimulatedMatrixHarness::~SimulatedMatrixHarness() = default;

void SimulatedMatrixHarness::broadcast(const Reply& reply) {
    if (serial_) {
        serial_->sendUnprompted(reply);
    }
    if (tcp_) {
        tcp_->sendUnprompted(reply);
    }
}

void SimulatedMatrixHarness::announceStandby() {
    broadcast(model_.enterStandby());
}

void SimulatedMatrixHarness::sendEdidSwitchReport(std::uint8_t code) {
    broadcast(model_.edidSwitchReport(code));
}

void SimulatedMatrixHarness::unplugSerial() {
    serial_.reset();
}

void SimulatedMatrixHarness::sendTcpBytes(std::span<const std::uint8_t> bytes) {
    if (tcp_) {
        tcp_->sendRaw(bytes);
    }
}

void SimulatedMatrixHarness::resetTcp() {
    if (tcp_) {
        tcp_->resetConnections();
    }
}

void SimulatedMatrixHarness::setUdpSilent(bool silent) {
    if (udp_) {
        udp_->setSilent(silent);
    }
}

std::string SimulatedMatrixHarness::frame(std::initializer_list<std::uint8_t> from2) {
    return CommandFrame::make(from2).hex();
}

} // namespace zentrel::sim
