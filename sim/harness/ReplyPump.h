#pragma once
// Puts the model's replies on a virtual link: each piece at its delay on the virtual clock,
// and the whole reply into the recorder once its last piece has left. Pieces still scheduled
// when the pump's owner goes away are dropped.
#include "FrameRecorder.h"
#include "platform/sim/VirtualEventLoop.h"
#include "sim/model/Exchange.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace zentrel::sim {

class ReplyPump {
public:
    using Sink = std::function<void(std::span<const std::uint8_t>)>;

    ReplyPump(VirtualEventLoop& loop, FrameRecorder* recorder) : loop_(loop), recorder_(recorder) {}
    ~ReplyPump() { *alive_ = false; }
    ReplyPump(const ReplyPump&) = delete;
    ReplyPump& operator=(const ReplyPump&) = delete;

    void send(const Reply& reply, const std::string& link, Sink sink);
    // Records what arrived from the panel.
    void recordInbound(const Exchange& ex, const std::string& link);

private:
    VirtualEventLoop& loop_;
    FrameRecorder* recorder_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace zentrel::sim
