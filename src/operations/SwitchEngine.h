#pragma once
// The page's switching engine: one switch of one output at a time, or a sequence that switches
// outputs 1, 2, 3, 4 and 5 one after another from the working routing, each step started by the
// acknowledgment of the one before. Every switch waits for its acknowledgment (first wait, one
// repeat with "Please wait", then "Time out!"); an acknowledgment that fails the serial checksum
// test brings one re-send. The engine also holds the panels' in-progress guards and gives them
// back whenever the switch or the sequence that took them has ended. The listener shows what
// the matrix confirmed; the engine keeps MatrixBusy and the tab lock.
#include "OperationHost.h"
#include "SwitchTimers.h"
#include "session/PendingRequest.h"

#include <array>
#include <optional>

namespace zentrel {

class SwitchListener {
public:
    // A wait went into its second round (the repeat is out).
    virtual void onWaiting() = 0;
    // An awaited acknowledgment came, sound or not.
    virtual void onAcknowledged() = 0;
    // Output k shows input `input` (1-based), as the matrix confirmed.
    virtual void onRouted(int k, int input) = 0;
    // The switch of output k was refused; the engine waits on, as for silence.
    virtual void onRefused(int k) = 0;
    virtual void onSwitchTimedOut() = 0;

protected:
    virtual ~SwitchListener() = default;
};

class SwitchEngine {
public:
    SwitchEngine(OperationHost host, SwitchListener& listener);

    // Sends the switch of output k to input i and waits `waitMs` for its acknowledgment.
    void startSwitch(int k, int input, int waitMs);
    // A sequence from output 1 on, with the working routing as it stands.
    void startSequence();

    // The switch acknowledgment of output k (byte 4 = 0). `sound`: it passed the serial
    // checksum test, or came over TCP where none is made. False when no switch of output k is
    // waiting: an acknowledgment counts only for the switch that waits for it.
    bool onAcknowledgment(int k, bool sound);
    // A refusal names no output (it carries FF there): it is the waiting switch's, and told to
    // the listener while one waits.
    void onRefusal();
    bool onTimer(int id);
    // The matrix went to standby: the page has stopped every timer; nothing waits any more.
    void abandon();

    // Whether a switch or a sequence waits for the matrix.
    bool switching() const { return waiting_ != 0; }

    // --- the working routing and the modes -------------------------------------------------
    // 0-based input (0 = input 1) that a sequence applies to output k.
    int working(int k) const { return working_[static_cast<std::size_t>(k - 1)]; }
    void setWorking(int k, int inputIndex) {
        working_[static_cast<std::size_t>(k - 1)] = inputIndex;
    }
    void setSingle(bool single) { single_ = single; }
    bool single() const { return single_; }
    int pendingInput() const { return pendingInput_; }
    void setPendingInput(int input) { pendingInput_ = input; }

    // --- the panels' guards ----------------------------------------------------------------
    bool guardsFree() const;
    void takeButton(int n) { buttonReady_[static_cast<std::size_t>(n - 1)] = false; }
    void takeSequence() { sequenceReady_ = false; }
    void releaseGuards();

private:
    PendingRequest& request(int k) { return *requests_[static_cast<std::size_t>(k - 1)]; }
    void send(int k, int input, int waitMs);
    void continueSequence(int k);
    void finish(int k);
    void onChecksumFailure(int k);
    void armSecondWait(int k);
    void giveUp();

    OperationHost host_;
    SwitchListener& listener_;
    std::array<std::optional<PendingRequest>, ops::kOutputs> requests_;
    std::array<int, ops::kOutputs> working_{1, 1, 1, 1, 1, 1, 1, 1}; // WorkingRouting
    int pendingInput_ = 1;                                           // PendingInput
    bool single_ = true;                                             // SingleSwitch
    bool retried_ = false;                                           // SwitchRetried
    int waiting_ = 0; // the output whose acknowledgment is awaited, 0 for none
    std::array<bool, ops::kOutputs> buttonReady_{true, true, true, true, true, true, true, true};
    bool sequenceReady_ = true;
};

} // namespace zentrel
