#include "SizeQuery.h"

#include "platform/Window.h"
#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "session/PageLink.h"
#include "state/SharedState.h"

namespace zentrel {

void SizeQuery::start() {
    mode_ = host_.state.ControlMode;
    host_.state.size() = MatrixSize{};
    host_.link.sender().send(cmd::queryModel());
    host_.window.setTimer(kTimer, kWaitMs);
}

bool SizeQuery::onReply(const LinkedFrame& reply) {
    const auto size = reply::modelSize(reply.frame);
    if (!waiting() || !size) {
        return false;
    }
    // A spoiled answer counts as none; the wait goes on for a sound one.
    if (reply.serial && !reply.checksumPassed) {
        return true;
    }
    host_.window.killTimer(kTimer);
    host_.state.MatrixSizes[static_cast<std::size_t>(mode_ == kModeTcp)] =
        MatrixSize{MatrixSize::countOf(size->inputs), MatrixSize::countOf(size->outputs)};
    mode_ = -1;
    return true;
}

bool SizeQuery::onTimer(int id) {
    if (id != kTimer) {
        return false;
    }
    host_.window.killTimer(kTimer);
    mode_ = -1;
    return true;
}

} // namespace zentrel
