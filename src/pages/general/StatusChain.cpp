#include "StatusChain.h"

#include "GeneralIds.h"
#include "GeneralPage.h"
#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "session/TabLock.h"

#include <utility>

namespace zentrel {

namespace {

constexpr Color kPortBack = rgb(30, 144, 225);
constexpr Color kConnectedText = rgb(0, 255, 0);
constexpr Color kDisconnectedText = rgb(255, 0, 0);
constexpr Color kPanelText = rgb(255, 255, 255);
constexpr int kTcpStartMs = 200;
constexpr int kComStartMs = 200;
constexpr int kGiveUpNoticeMs = 1000;

PendingRequest request(GeneralPage& page, RequestTimers timers, PendingRequest::Action giveUp) {
    return PendingRequest(
        page, timers, [&page](const CommandFrame& f) { page.sender().send(f); }, std::move(giveUp));
}

std::string portText(bool input, int k, bool connected) {
    const std::string name = input ? "HDMI IN" + std::to_string(k)
                                   : std::string("HDMI OUT") + static_cast<char>('A' + k - 1);
    return name + (connected ? ": Connect" : ": Disconnect");
}

} // namespace

StatusChain::StatusChain(GeneralPage& page)
    : page_(page), model_(request(page, gen::kModelWait, [this] { giveUpDeviceInfo(); })),
      version_(request(page, gen::kVersionWait, [this] { giveUpDeviceInfo(); })) {
    for (int k = 1; k <= gen::kMaxPorts; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        inputs_.push_back(request(page, gen::kInputWaits[i], [this] { giveUpPorts(); }));
        outputs_.push_back(request(page, gen::kOutputWaits[i], [this] { giveUpPorts(); }));
    }
}

void StatusChain::open() {
    for (int k = 1; k <= gen::kMaxPorts; ++k) {
        page_.setColors(gen::inputLine(k), kDisconnectedText, kPortBack);
        page_.setColors(gen::outputLine(k), kDisconnectedText, kPortBack);
    }
    page_.setColors(gen::kPortPanel, kPanelText, kPortBack);
}

void StatusChain::clear() {
    for (int k = 1; k <= gen::kMaxPorts; ++k) {
        page_.setText(gen::inputLine(k), "");
        page_.setText(gen::outputLine(k), "");
    }
}

bool StatusChain::lineConnected(int line) const {
    for (int k = 1; k <= gen::kMaxPorts; ++k) {
        if (line == gen::inputLine(k)) {
            return inputConnected_[static_cast<std::size_t>(k - 1)];
        }
        if (line == gen::outputLine(k)) {
            return outputConnected_[static_cast<std::size_t>(k - 1)];
        }
    }
    return false;
}

void StatusChain::start() {
    clear();
    SharedState& s = page_.state();
    ConnectionPanel& connection = page_.connection();
    if (s.ControlMode == kModeTcp) {
        if (s.TcpConnected == 0) {
            // The chain goes on from the connect check.
            connectPending_ = true;
            tcpMuted_ = true;
            connection.startTcpConnect(gen::kStatusConnectCheck);
            return;
        }
        if (connectPending_) {
            return;
        }
        tcpMuted_ = false;
        page_.popups().setProgressText("Getting status . . .");
        page_.setTimer(gen::kStatusAnimation, gen::kAnimationMs);
        sendInputQuery(1);
    } else {
        const bool returned = connection.takeReturned();
        if (s.ComPortOpen == 0 || returned) {
            if (returned) {
                connection.forgetComConnection();
            }
            connection.comConnect();
        }
        if (!connection.comConnected()) {
            return; // Connect has said "Open COM failed!"
        }
        page_.popups().setProgressText("Getting status . . .");
        page_.setTimer(gen::kStatusAnimation, gen::kAnimationMs);
        page_.setTimer(gen::kStatusComStart, kComStartMs);
    }
    busy_ = 1;
    page_.setText(gen::kHiddenEdit, "");
    page_.popups().openProgress();
}

void StatusChain::afterStatusConnect() {
    switch (page_.connection().checkConnect(gen::kStatusConnectCheck)) {
    case ConnectionPanel::Check::Waiting:
        return;
    case ConnectionPanel::Check::Failed:
        // Without this, a later Status on a link made by Connect would wait for ever for a
        // connect that is long over.
        connectPending_ = false;
        page_.connection().reportConnectFailed();
        return;
    case ConnectionPanel::Check::Confirmed:
        break;
    }
    connectPending_ = false;
    tcpMuted_ = false;
    page_.sender().send(cmd::queryIrState()); // IR control state, then the beeper's
    page_.setTimer(gen::kStatusTcpStart, kTcpStartMs);
    page_.popups().setProgressText("Getting status . . .");
    page_.setTimer(gen::kStatusAnimation, gen::kAnimationMs);
    busy_ = 1;
    page_.setText(gen::kHiddenEdit, "");
    page_.popups().openProgress();
}

void StatusChain::startTcpChain() {
    page_.killTimer(gen::kStatusTcpStart);
    if (page_.state().TcpConnected != 0) {
        sendInputQuery(1);
        return;
    }
    // The link went down between the connect check and the first query. The progress box was
    // opened for a chain that will never run; left open it would stay for ever.
    connectPending_ = false;
    page_.killTimer(gen::kStatusAnimation);
    page_.popups().closeProgress();
    unlock();
    page_.connection().reportConnectFailed();
}

void StatusChain::sendInputQuery(int k) {
    inputRequest(k).start(cmd::queryInput(k));
}

bool StatusChain::onTimer(int id) {
    switch (id) {
    case gen::kStatusConnectCheck:
        afterStatusConnect();
        return true;
    case gen::kStatusTcpStart:
        startTcpChain();
        return true;
    case gen::kStatusAnimation:
        page_.popups().tickProgress(gen::kGettingStatus);
        return true;
    case gen::kStatusComStart:
        page_.killTimer(id);
        sendInputQuery(1);
        return true;
    default:
        break;
    }
    if (id == gen::kDeviceTypeTimer || id == gen::kDeviceTypeGiveUp) {
        page_.killTimer(id); // the page never asks for the device type itself
        return true;
    }
    if (model_.onTimer(id) || version_.onTimer(id)) {
        return true;
    }
    for (int k = 1; k <= gen::kMaxPorts; ++k) {
        if (inputRequest(k).onTimer(id) || outputRequest(k).onTimer(id)) {
            return true;
        }
    }
    return false;
}

void StatusChain::giveUpPorts() {
    page_.killTimer(gen::kStatusAnimation);
    page_.setTimer(gen::kNoticeTimer, kGiveUpNoticeMs);
    page_.popups().closeProgress();
    if (page_.popups().noticeShows(gen::kPleaseWait)) {
        busy_ = 0;
        postTabLock(page_, busy_ != 0);
        page_.popups().closeNotice();
        return;
    }
    page_.popups().notice(gen::kTimeOut, kGiveUpNoticeMs, PagePopups::When::IfClosed);
    unlock(); // once "Time out!" has closed: the tabs stay locked while it shows
}

void StatusChain::giveUpDeviceInfo() {
    page_.killTimer(gen::kStatusAnimation);
    page_.popups().closeProgress();
    page_.popups().notice(gen::kTimeOut, kGiveUpNoticeMs, PagePopups::When::IfClosed);
}

void StatusChain::stopForStandby() {
    connectPending_ = false;
    if (busy_ != 0) {
        unlock();
    }
}

void StatusChain::unlock() {
    busy_ = 0;
    postTabLock(page_, busy_ != 0);
    page_.setChecked(gen::kStatusRadio, false);
}

void StatusChain::end() {
    unlock();
    if (page_.popups().noticeShows(gen::kPleaseWait)) {
        page_.popups().closeNotice();
    }
    page_.killTimer(gen::kStatusAnimation);
    page_.popups().closeProgress();
}

bool StatusChain::onReply(const CommandFrame& f, bool serial, bool checksumPassed) {
    const bool deviceInfo =
        cmd::kDeviceType.matches(f) || cmd::kModel.matches(f) || cmd::kVersion.matches(f);
    if (!deviceInfo && !cmd::kInputStatus.matches(f) && !cmd::kOutputStatus.matches(f)) {
        return false;
    }
    // A reply that fails the checksum on the serial line counts as silence; over TCP there is
    // no such test, and the device information is only taken from the serial line.
    if (serial && !checksumPassed) {
        return true;
    }
    if (deviceInfo) {
        if (serial) {
            onDeviceInfo(f);
        }
        return true;
    }
    if (!serial && tcpMuted_) {
        return true;
    }
    onPort(f, serial);
    return true;
}

void StatusChain::onDeviceInfo(const CommandFrame& f) {
    if (cmd::kDeviceType.matches(f)) {
        page_.killTimer(gen::kDeviceTypeTimer);
        page_.killTimer(gen::kDeviceTypeGiveUp);
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
        page_.setText(gen::kDeviceLine, deviceText_);
        model_.start(cmd::queryModel());
    } else if (const auto size = reply::modelSize(f)) {
        model_.stop();
        page_.setText(gen::kDeviceLine, deviceText_ + " " + std::to_string(size->inputs) + "X" +
                                            std::to_string(size->outputs));
        version_.start(cmd::queryVersion());
    } else if (const auto v = reply::version(f)) {
        version_.stop();
        page_.setText(gen::kVersionLine, std::to_string(v->major) + "." + std::to_string(v->minor));
        sendInputQuery(1);
    }
}

void StatusChain::showPort(Side side, int k, bool connected) {
    const bool input = side == Side::Input;
    auto& flags = input ? inputConnected_ : outputConnected_;
    flags[static_cast<std::size_t>(k - 1)] = connected;
    const int line = input ? gen::inputLine(k) : gen::outputLine(k);
    page_.setText(line, portText(input, k, connected));
    page_.setColors(line, connected ? kConnectedText : kDisconnectedText, kPortBack);
}

void StatusChain::onPort(const CommandFrame& f, bool serial) {
    const reply::PortState state = *reply::portState(f);
    const int k = state.port;
    if (k < 1 || k > gen::kMaxPorts) {
        return;
    }
    const bool connected = state.connected;
    // Only the answer to the query in flight moves the chain on; a second copy of it would
    // send the next query again.
    const bool input = state.input;
    if (!(input ? inputRequest(k) : outputRequest(k)).waiting()) {
        return;
    }
    if (input) {
        inputRequest(k).stop();
        showPort(Side::Input, k, connected);
        outputRequest(k).start(cmd::queryOutput(k));
        if (!serial) {
            page_.popups().setProgressText("Getting Out" + std::to_string(k) + "...");
        }
        return;
    }
    outputRequest(k).stop();
    showPort(Side::Output, k, connected);
    if (k == gen::kChainPorts || k == gen::kMaxPorts) {
        end();
        return;
    }
    sendInputQuery(k + 1);
    if (!serial) {
        page_.popups().setProgressText("Getting In" + std::to_string(k + 1) + "...");
    }
}

} // namespace zentrel
