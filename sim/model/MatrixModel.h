#pragma once
// The simulated matrix itself: its state and its answer to everything the panel can send. It
// knows nothing of clocks or sockets: an adapter hands it the bytes that arrived on a link and
// the time they arrived, and gets back the replies with the delays after which each piece goes
// out, so the same model serves the virtual clock in tests and the real program.
#include "EdidSession.h"
#include "Exchange.h"
#include "FirmwareSession.h"
#include "MatrixState.h"
#include "ModelTiming.h"
#include "NetworkResponder.h"
#include "WireIntake.h"
#include "sim/faults/FaultPlan.h"

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <vector>

namespace zentrel::sim {

class MatrixModel {
public:
    explicit MatrixModel(MatrixState state = MatrixState::factory(), ModelTiming timing = {});
    MatrixModel(const MatrixModel&) = delete;
    MatrixModel& operator=(const MatrixModel&) = delete;

    // A receive state for one more link (the serial port, or a new TCP connection).
    WireIntake newLink() const { return WireIntake(timing_.idleLimitMs); }

    // Bytes that arrived on `link` at `nowMs`: what they were, and what the matrix answers.
    Exchange receive(WireIntake& link, std::span<const std::uint8_t> bytes, std::int64_t nowMs);

    // Unprompted frames. Standby switches the unit off: from then on it answers every command
    // but the power commands with the standby announcement, until it is powered on.
    Reply enterStandby();
    Reply edidSwitchReport(std::uint8_t code);

    bool rebootingAt(std::int64_t nowMs) const { return nowMs < silentUntil_; }

    MatrixState& state() { return state_; }
    const MatrixState& state() const { return state_; }
    FaultPlan& faults() { return faults_; }
    ModelTiming& timing() { return timing_; }
    NetworkResponder& network() { return network_; }
    const FirmwareSession& firmware() const { return firmware_; }
    // Called after each firmware part's completion reply (the program writes the image out).
    void onPartComplete(std::function<void(const FirmwareSession&)> hook) {
        partComplete_ = std::move(hook);
    }
    // The EDID last downloaded to an input (empty when none was).
    const std::vector<std::uint8_t>& userEdid(int input) const { return edid_.userEdid(input); }

private:
    struct Answer {
        std::optional<CommandFrame> reply;
        std::int64_t rebootMs = 0; // silence that follows the reply
    };

    void handleFrame(const CommandFrame& f, WireIntake& link, std::int64_t now, Exchange& ex);
    void handleBlock(const WireIntake::Unit& unit, std::int64_t now, Exchange& ex);
    void handleFirmwareBlock(const WireIntake::Unit& unit, std::int64_t now, Exchange& ex);
    Answer answer(const CommandFrame& f, WireIntake& link);
    std::optional<CommandFrame> deviceInfo(const CommandFrame& f) const;
    std::optional<CommandFrame> routing(const CommandFrame& f);
    std::optional<CommandFrame> settings(const CommandFrame& f, Answer& a);
    // Sends `reply` to `request` through the fault rules; returns when its last piece leaves.
    std::int64_t sendReply(const CommandFrame& request, CommandFrame reply, Exchange& ex);

    MatrixState state_;
    ModelTiming timing_;
    FaultPlan faults_;
    FirmwareSession firmware_;
    std::function<void(const FirmwareSession&)> partComplete_;
    NetworkResponder network_{state_};
    std::int64_t silentUntil_ = std::numeric_limits<std::int64_t>::min();
    EdidSession edid_{state_};
};

} // namespace zentrel::sim
