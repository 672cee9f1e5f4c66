#include "SimApp.h"

#include <QTimer>

#include <cstdio>
#include <fstream>

namespace zentrel::sim {

namespace {

MatrixState initialState(const SimOptions& o) {
    MatrixState s = MatrixState::factory(o.ports, o.ports);
    if (o.mac) {
        s.mac = *o.mac;
    }
    if (o.ip) {
        s.ip = *o.ip;
    } else if (o.tcp && o.tcpAddress != "0.0.0.0") {
        // Report the address the control connection can be reached at.
        s.ip = SimOptions::parseIpv4(o.tcpAddress);
    }
    s.gateway = {s.ip[0], s.ip[1], s.ip[2], 1};
    return s;
}

ModelTiming initialTiming(const SimOptions& o) {
    ModelTiming t;
    t.latencyMs = o.latencyMs;
    t.rebootMs = o.rebootMs;
    t.upgradeRebootMs = o.upgradeRebootMs;
    return t;
}

std::string dotted(const std::array<std::uint8_t, 4>& ip) {
    return std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) + "." +
           std::to_string(ip[3]);
}

} // namespace

SimApp::SimApp(const SimOptions& options, QObject* parent)
    : QObject(parent), options_(options), model_(initialState(options), initialTiming(options)) {}

bool SimApp::start(std::string& error) {
    applyFaults();
    if (!options_.firmwareOut.empty()) {
        model_.onPartComplete([this](const FirmwareSession& fw) { writeFirmware(fw); });
    }
    if (options_.com) {
        pty_ = std::make_unique<PtyPort>(*options_.com);
        const std::string name = "COM" + std::to_string(*options_.com);
        serial_ = std::make_unique<LinkDriver>(
            model_, log_, clock_, name, true,
            [this](const std::vector<std::uint8_t>& bytes) { return pty_->write(bytes); });
        pty_->onData = [this](const std::vector<std::uint8_t>& bytes) { serial_->deliver(bytes); };
        pty_->onHeldChanged = [this, name](bool held) {
            if (!held) {
                serial_->discardPending();
            }
            log_.note(clock_.nowUs(), name, held ? "port opened" : "port closed");
        };
        if (!pty_->open(error)) {
            return false;
        }
        log_.note(clock_.nowUs(), name,
                  "serial port " + pty_->slavePath() + " published as " +
                      pty_->linkPath().string());
    }
    if (options_.tcp) {
        tcp_ = std::make_unique<TcpService>(model_, log_, clock_);
        if (!tcp_->listen(options_.tcpAddress, options_.tcpPort, error)) {
            return false;
        }
        log_.note(clock_.nowUs(), "TCP",
                  "listening on TCP " + options_.tcpAddress + ":" + std::to_string(tcp_->port()));
    }
    if (options_.udp) {
        udp_ = std::make_unique<UdpService>(model_, log_, clock_);
        if (!udp_->start(error)) {
            return false;
        }
        log_.note(clock_.nowUs(), "UDP",
                  "answering discovery on UDP 30600 and configuration on 30601 as " +
                      dotted(model_.state().ip));
    }
    return true;
}

void SimApp::stop() {
    if (pty_) {
        pty_->close();
    }
    log_.note(clock_.nowUs(), "--", "stopped");
}

void SimApp::applyFaults() {
    for (const ParsedFault& f : options_.faults) {
        switch (f.type) {
        case ParsedFault::Type::Rule:
            model_.faults().add(f.rule);
            break;
        case ParsedFault::Type::UnplugInput:
            model_.state().inputConnected[static_cast<std::size_t>(f.port)] = false;
            break;
        case ParsedFault::Type::UnplugOutput:
            model_.state().outputConnected[static_cast<std::size_t>(f.port)] = false;
            break;
        case ParsedFault::Type::RefuseConfig:
            model_.network().setRefuseConfig(true);
            break;
        case ParsedFault::Type::ConfigAnswer:
            model_.network().setAnswerShape(f.answer);
            break;
        case ParsedFault::Type::SecondUnit:
            model_.network().setSecondUnit(true);
            break;
        case ParsedFault::Type::Standby:
            QTimer::singleShot(static_cast<int>(f.afterMs), this,
                               [this] { sendToAll(model_.enterStandby()); });
            break;
        case ParsedFault::Type::EdidReport:
            QTimer::singleShot(static_cast<int>(f.afterMs), this,
                               [this, code = f.code] { sendToAll(model_.edidSwitchReport(code)); });
            break;
        }
    }
}

void SimApp::sendToAll(const Reply& reply) {
    if (serial_) {
        serial_->sendUnprompted(reply);
    }
    if (tcp_) {
        tcp_->sendToAll(reply);
    }
}

void SimApp::writeFirmware(const FirmwareSession& fw) {
    std::ofstream out(options_.firmwareOut, std::ios::binary | std::ios::trunc);
    for (int part = 1; part <= FirmwareSession::kParts; ++part) {
        const std::vector<std::uint8_t>& image = fw.image(part);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
    }
    out.close();
    log_.note(clock_.nowUs(), "--",
              (out ? "firmware image written to " : "could not write the firmware image to ") +
                  options_.firmwareOut);
}

} // namespace zentrel::sim
