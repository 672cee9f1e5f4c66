#pragma once
// The routing read back from the matrix, output 1 to 4, one query after each reply. The listener
// shows each answer; MatrixBusy holds until the last reply, and silence after a query's repeat
// ends the refresh.
#include "OperationHost.h"
#include "SwitchTimers.h"
#include "session/PendingRequest.h"

#include <array>
#include <cstdint>
#include <memory>

namespace zentrel {

class RefreshListener {
public:
    // A wait went into its second round (the repeat is out).
    virtual void onWaiting() = 0;
    // Output k's reply: `input` as the reply carries it (1-based, or kNoSource); `serial` says
    // which link it came on.
    virtual void onRoutingRead(int k, std::uint8_t input, bool serial) = 0;
    // The last output has answered.
    virtual void onRefreshDone() = 0;
    virtual void onRefreshTimedOut() = 0;

protected:
    virtual ~RefreshListener() = default;
};

class StatusRefresh {
public:
    StatusRefresh(OperationHost host, RefreshListener& listener);

    // Marks the matrix busy and asks for output 1; the link is the caller's to check.
    void start();
    // The status reply of output k, with its input. False when no query of output k waits: a
    // reply counts only for the query that waits for it.
    bool onReply(int k, std::uint8_t input, bool serial);
    bool onTimer(int id);
    // The matrix went to standby: the page has stopped every timer.
    void abandon() { waiting_ = 0; }
    bool running() const { return waiting_ != 0; }

private:
    PendingRequest& request(int k) { return *requests_[static_cast<std::size_t>(k - 1)]; }
    void query(int k);
    void end();

    OperationHost host_;
    RefreshListener& listener_;
    std::array<std::unique_ptr<PendingRequest>, ops::kOutputs> requests_;
    int waiting_ = 0; // the output whose reply is awaited, 0 for none
};

} // namespace zentrel
