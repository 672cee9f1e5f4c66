#include "RouteRun.h"

#include "protocol/Replies.h"
#include "session/PageLink.h"
#include "session/SessionTexts.h"

#include <cstdio>

namespace zentrel::cli {

namespace {

std::string outputName(int k) {
    return std::string(1, static_cast<char>('A' + k - 1));
}

} // namespace

CtlSession::Outcome RouteRun::run() {
    return session_.run(
        [this](const LinkedFrame& r) {
            if (const auto ack = reply::switchAck(r.frame)) {
                if (ack->ok) {
                    engine_.onAcknowledgment(ack->output, r.checksumPassed);
                } else {
                    engine_.onRefusal();
                }
                return true;
            }
            if (const auto routing = reply::routing(r.frame)) {
                refresh_.onReply(routing->output, static_cast<std::uint8_t>(routing->input),
                                 r.serial);
                return true;
            }
            return false;
        },
        [this](int id) { return engine_.onTimer(id) || refresh_.onTimer(id); });
}

CtlSession::Outcome RouteRun::readRouting() {
    refresh_.start();
    return run();
}

CtlSession::Outcome RouteRun::route(int input, std::vector<int> outputs) {
    input_ = input;
    outputs_ = std::move(outputs);
    engine_.setSingle(true);
    next();
    return run();
}

CtlSession::Outcome RouteRun::apply(const std::array<int, ops::kOutputs>& inputs) {
    for (int k = 1; k <= ops::kOutputs; ++k) {
        if (const int in = inputs[static_cast<std::size_t>(k - 1)]; in != 0) {
            engine_.setWorking(k, in - 1);
        }
    }
    sequence_ = true;
    engine_.startSequence();
    return run();
}

void RouteRun::next() {
    if (done_ == outputs_.size()) {
        session_.finish({});
        return;
    }
    awaited_ = outputs_[done_];
    engine_.startSwitch(awaited_, input_, ops::kWaitMs);
}

void RouteRun::onRouted(int k, int input) {
    if (sequence_) {
        // The sequence also switches the output after a smaller unit's last, unchecked.
        if (k <= session_.state().size().outputs) {
            routing_[static_cast<std::size_t>(k - 1)] = input;
        }
        if (!engine_.switching()) {
            session_.finish({});
        }
        return;
    }
    routing_[static_cast<std::size_t>(k - 1)] = input;
    ++done_;
    next();
}

void RouteRun::onRefused(int k) {
    session_.finish({ExitCode::Refused,
                     "route " + std::to_string(sequence_ ? engine_.working(k) + 1 : input_) + " " +
                         outputName(k) + ": refused by the matrix",
                     ""});
}

void RouteRun::onSwitchTimedOut() {
    session_.finish(
        {ExitCode::NoAnswer, session::kTimeOut, "(switch of output " + outputName(awaited_) + ")"});
}

void RouteRun::onRoutingRead(int k, std::uint8_t input, bool /*serial*/) {
    if (input >= 1 && input <= ops::kOutputs) {
        routing_[static_cast<std::size_t>(k - 1)] = input;
    }
    awaited_ = k + 1;
}

void RouteRun::onRefreshTimedOut() {
    session_.finish({ExitCode::NoAnswer, session::kTimeOut,
                     "(routing of output " + outputName(awaited_) + ")"});
}

nlohmann::json RouteRun::json() const {
    nlohmann::json map = nlohmann::json::object();
    for (int k = 1; k <= ops::kOutputs; ++k) {
        if (const auto& in = routing_[static_cast<std::size_t>(k - 1)]) {
            map[outputName(k)] = *in;
        }
    }
    return {{"routing", map}};
}

std::string RouteRun::lines() const {
    std::string s;
    for (int k = 1; k <= ops::kOutputs; ++k) {
        if (const auto& in = routing_[static_cast<std::size_t>(k - 1)]) {
            char buf[48];
            std::snprintf(buf, sizeof buf, "output %s  input %d\n", outputName(k).c_str(), *in);
            s += buf;
        }
    }
    return s;
}

} // namespace zentrel::cli
