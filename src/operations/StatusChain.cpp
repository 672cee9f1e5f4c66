#include "StatusChain.h"

#include "platform/Window.h"
#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "session/PageLink.h"
#include "state/SharedState.h"

#include <utility>

namespace zentrel {

namespace {

PendingRequest request(OperationHost host, RequestTimers timers, PendingRequest::Action giveUp) {
    return PendingRequest(
        host.window, timers, [&link = host.link](const CommandFrame& f) { link.sender().send(f); },
        std::move(giveUp));
}

} // namespace

StatusChain::StatusChain(OperationHost host, StatusChainListener& listener)
    : host_(host), listener_(listener),
      deviceType_(
          request(host, ops::kDeviceTypeWait, [this] { listener_.onDeviceInfoTimedOut(); })),
      model_(request(host, ops::kModelWait, [this] { listener_.onDeviceInfoTimedOut(); })),
      version_(request(host, ops::kVersionWait, [this] { listener_.onDeviceInfoTimedOut(); })) {
    for (int k = 1; k <= ops::kMaxPorts; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        inputs_.push_back(
            request(host, ops::kInputWaits[i], [this] { listener_.onPortsTimedOut(); }));
        outputs_.push_back(
            request(host, ops::kOutputWaits[i], [this] { listener_.onPortsTimedOut(); }));
    }
}

void StatusChain::askDeviceType() {
    deviceType_.start(cmd::queryDeviceType());
}

void StatusChain::queryPorts() {
    sendInputQuery(1);
}

void StatusChain::sendInputQuery(int k) {
    inputRequest(k).start(cmd::queryInput(k));
}

bool StatusChain::onTimer(int id) {
    if (deviceType_.owns(id) && !deviceType_.waiting()) {
        host_.window.killTimer(id); // not asked: a stray expiry only ends
        return true;
    }
    if (deviceType_.onTimer(id) || model_.onTimer(id) || version_.onTimer(id)) {
        return true;
    }
    for (int k = 1; k <= ops::kMaxPorts; ++k) {
        if (inputRequest(k).onTimer(id) || outputRequest(k).onTimer(id)) {
            return true;
        }
    }
    return false;
}

bool StatusChain::onReply(const LinkedFrame& reply) {
    const CommandFrame& f = reply.frame;
    const bool deviceInfo =
        cmd::kDeviceType.matches(f) || cmd::kModel.matches(f) || cmd::kVersion.matches(f);
    if (!deviceInfo && !cmd::kInputStatus.matches(f) && !cmd::kOutputStatus.matches(f)) {
        return false;
    }
    // A reply that fails the checksum on the serial line counts as silence; over TCP there is
    // no such test, and the device information is only taken from the serial line.
    if (reply.serial && !reply.checksumPassed) {
        return true;
    }
    if (deviceInfo) {
        if (reply.serial) {
            onDeviceInfo(f);
        }
        return true;
    }
    if (!reply.serial && tcpMuted_) {
        return true;
    }
    onPort(f, reply.serial);
    return true;
}

void StatusChain::onDeviceInfo(const CommandFrame& f) {
    if (cmd::kDeviceType.matches(f)) {
        deviceType_.stop();
        switch (reply::deviceType(f)->type) {
        case reply::kTypeHdmi:
            deviceText_ = "HDMI MATRIX";
            break;
        case reply::kTypeHdbt:
            deviceText_ = "HDBT MATRIX";
            break;
        case reply::kTypeHdmiHdbt:
            deviceText_ = "HDMI+HDBT etc MATRIX";
            break;
        default:
            break;
        }
        listener_.onDeviceLine(deviceText_);
        model_.start(cmd::queryModel());
    } else if (const auto size = reply::modelSize(f)) {
        model_.stop();
        // The unit has just told its size on the serial line: the COM link's size follows.
        host_.state.MatrixSizes[kModeCom] =
            MatrixSize{MatrixSize::countOf(size->inputs), MatrixSize::countOf(size->outputs)};
        listener_.onDeviceLine(deviceText_ + " " + std::to_string(size->inputs) + "X" +
                               std::to_string(size->outputs));
        version_.start(cmd::queryVersion());
    } else if (const auto v = reply::version(f)) {
        version_.stop();
        listener_.onVersionLine(std::to_string(v->major) + "." + std::to_string(v->minor));
        sendInputQuery(1);
    }
}

void StatusChain::onPort(const CommandFrame& f, bool serial) {
    const reply::PortState state = *reply::portState(f);
    const int k = state.port;
    if (k < 1 || k > ops::kMaxPorts) {
        return;
    }
    // Only the answer to the query in flight moves the chain on; a second copy of it would
    // send the next query again.
    const bool input = state.input;
    if (!(input ? inputRequest(k) : outputRequest(k)).waiting()) {
        return;
    }
    if (input) {
        inputRequest(k).stop();
        listener_.onPortState(true, k, state.connected);
        outputRequest(k).start(cmd::queryOutput(k));
        if (!serial) {
            listener_.onProgressLine("Getting Out" + std::to_string(k) + "...");
        }
        return;
    }
    outputRequest(k).stop();
    listener_.onPortState(false, k, state.connected);
    if (k >= host_.state.size().ports()) {
        listener_.onChainDone();
        return;
    }
    sendInputQuery(k + 1);
    if (!serial) {
        listener_.onProgressLine("Getting In" + std::to_string(k + 1) + "...");
    }
}

} // namespace zentrel
