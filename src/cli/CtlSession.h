#pragma once
// zentrel-ctl as a host of the operations: a plain window on the event loop that receives the
// serial bytes and the control socket's notifications, with the link, socket and shared state a
// page has. The link is made exactly as the panel makes it: the serial line at the pages' 115200
// 8N2, or the control socket to HOST:PORT with the connect check's patience. An operation is
// then run on it until the command's outcome is known; every wait it runs is its own, so the run
// ends within them.
#include "CtlRequest.h"
#include "ExitCode.h"

#include "link/ControlSocket.h"
#include "operations/OperationHost.h"
#include "platform/Network.h"
#include "platform/Window.h"
#include "session/PageLink.h"
#include "state/SharedState.h"

#include <functional>
#include <optional>
#include <string>

namespace zentrel::cli {

class CtlSession : public Window {
public:
    struct Outcome {
        ExitCode code = ExitCode::Done;
        std::string text;   // the page's own words, when the run failed
        std::string detail; // what the tool adds: which step, which port
    };
    // A reply or a timer expiry for the operation; true when it was its own.
    using ReplyHandler = std::function<bool(const LinkedFrame&)>;
    using TimerHandler = std::function<bool(int)>;

    CtlSession(EventLoop& loop, Network& network, const CtlTarget& target);
    ~CtlSession() override;

    // Opens the serial line or connects, then learns the unit's size (state().size()); a
    // failure is what the panel says, with the target.
    std::optional<Outcome> open();
    OperationHost host() { return {*this, link_, state_}; }
    SharedState& state() { return state_; }

    // Runs the loop, handing replies and timers to the operation, until finish() or standby.
    Outcome run(ReplyHandler replies, TimerHandler timers);
    void finish(Outcome outcome);

    LParam onMessage(unsigned msg, WParam wp, LParam lp) override;
    void onTimer(int id) override;

private:
    std::optional<Outcome> connectTcp();
    std::optional<Outcome> learnSize();
    void checkConnect();
    void dispatch(const LinkedFrame& reply);

    const CtlTarget& target_;
    SharedState state_;
    ControlSocket socket_;
    PageLink link_;
    ReplyHandler replies_;
    TimerHandler timers_;
    Outcome outcome_;
    std::int64_t connectStartedMs_ = 0;
};

} // namespace zentrel::cli
