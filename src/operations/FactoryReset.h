#pragma once
// Factory reset: the routing put back port by port (input k on output k), then the EDID access,
// the default EDID on every input and the beeper on, one step after each reply. Each step is
// repeated once after 5 s of silence; the second silence gives up.
#include "OperationHost.h"
#include "session/PendingRequest.h"

#include <vector>

namespace zentrel {

namespace ops {

constexpr RequestTimers kResetRouteWaits[] = {
    {101, 5000, 102, 5000}, {103, 5000, 104, 5000}, {105, 5000, 106, 5000}, {107, 5000, 108, 5000},
    {109, 5000, 110, 5000}, {111, 5000, 112, 5000}, {113, 5000, 114, 5000}, {115, 5000, 116, 5000}};
constexpr RequestTimers kResetEdidAccessWait{117, 5000, 118, 5000};
constexpr RequestTimers kResetEdidWait{119, 5000, 120, 5000};
constexpr RequestTimers kResetBeepWait{121, 5000, 122, 5000};

} // namespace ops

class FactoryResetListener {
public:
    // The beeper's step was confirmed: the unit is back as it left the factory.
    virtual void onResetDone() = 0;
    virtual void onResetTimedOut() = 0;

protected:
    virtual ~FactoryResetListener() = default;
};

class FactoryReset {
public:
    FactoryReset(OperationHost host, FactoryResetListener& listener);

    void start();
    bool onTimer(int id);
    // Acts on a reply of a running reset; false when none runs or the frame is not one.
    bool onReply(const CommandFrame& f);
    // The matrix went to standby: the reset ends without a time-out.
    void stop();
    bool running() const { return running_; }

private:
    // Step 0..7 puts input k+1 back on output k+1; then the EDID access, the default EDID and
    // the beeper.
    void startStep(std::size_t step);
    // The answer to `step` came: the next one goes out, unless it is a repeat.
    void advance(std::size_t step, std::size_t next);

    SharedState& state_; // the link's size: how many outputs are routed back
    std::vector<PendingRequest> steps_;
    FactoryResetListener& listener_;
    bool running_ = false;
};

} // namespace zentrel
