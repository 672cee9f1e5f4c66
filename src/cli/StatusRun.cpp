#include "StatusRun.h"

#include "session/SessionTexts.h"

#include <cstdio>

namespace zentrel::cli {

namespace {

std::string outputName(int k) {
    return std::string(1, static_cast<char>('A' + k - 1));
}

nlohmann::json orNull(const std::optional<std::string>& s) {
    return s ? nlohmann::json(*s) : nlohmann::json();
}

} // namespace

CtlSession::Outcome StatusRun::run() {
    if (session_.state().ControlMode == kModeCom) {
        chain_.askDeviceType();
    } else {
        chain_.unmuteTcpReplies();
        chain_.queryPorts();
    }
    return session_.run([this](const LinkedFrame& r) { return chain_.onReply(r); },
                        [this](int id) { return chain_.onTimer(id); });
}

void StatusRun::onDeviceLine(const std::string& text) {
    // The type first ("HDMI MATRIX"), then the type with the model ("HDMI MATRIX 4X4").
    if (!device_) {
        device_ = text;
    } else if (text.size() > device_->size()) {
        model_ = text.substr(device_->size() + 1);
    }
}

void StatusRun::onPortState(bool input, int k, bool connected) {
    if (k > ops::kMaxPorts) {
        return;
    }
    (input ? inputs_ : outputs_)[static_cast<std::size_t>(k - 1)] = connected;
    awaited_ = input ? "output " + outputName(k) : "input " + std::to_string(k + 1);
}

void StatusRun::onPortsTimedOut() {
    session_.finish({ExitCode::NoAnswer, session::kTimeOut, "(status of " + awaited_ + ")"});
}

void StatusRun::onDeviceInfoTimedOut() {
    const char* step = !device_ ? "device type" : !model_ ? "model" : "firmware version";
    session_.finish({ExitCode::NoAnswer, session::kTimeOut, std::string("(") + step + ")"});
}

nlohmann::json StatusRun::json() const {
    const MatrixSize& unit = session_.state().size();
    nlohmann::json in = nlohmann::json::array(), out = nlohmann::json::array();
    for (int k = 1; k <= unit.inputs; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        in.push_back({{"port", k}, {"connected", inputs_[i].value_or(false)}});
    }
    for (int k = 1; k <= unit.outputs; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        out.push_back({{"port", outputName(k)}, {"connected", outputs_[i].value_or(false)}});
    }
    return {{"device", orNull(device_)},
            {"model", orNull(model_)},
            {"version", orNull(version_)},
            {"inputs", in},
            {"outputs", out}};
}

std::string StatusRun::lines() const {
    std::string s;
    auto line = [&s](const std::string& name, const std::string& value) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "%-10s %s\n", (name + ":").c_str(), value.c_str());
        s += buf;
    };
    line("device", device_.value_or("-"));
    line("model", model_.value_or("-"));
    line("version", version_.value_or("-"));
    const MatrixSize& size = session_.state().size();
    for (int k = 1; k <= size.inputs; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        line("input " + std::to_string(k),
             inputs_[i].value_or(false) ? "connected" : "disconnected");
    }
    for (int k = 1; k <= size.outputs; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        line("output " + outputName(k), outputs_[i].value_or(false) ? "connected" : "disconnected");
    }
    return s;
}

} // namespace zentrel::cli
