#include "StatusChain.h"

#include "GeneralIds.h"
#include "GeneralPage.h"
#include "protocol/Commands.h"

#include <optional>

namespace zentrel {

namespace {

constexpr Color kPortBack = rgb(30, 144, 225);
constexpr Color kConnectedText = rgb(0, 255, 0);
constexpr Color kDisconnectedText = rgb(255, 0, 0);
constexpr Color kPanelText = rgb(255, 255, 255);
constexpr int kTcpStartMs = 200;
constexpr int kComStartMs = 200;
constexpr int kGiveUpNoticeMs = 1000;

// The query whose reply timer `timer` waits for, to send it again.
std::optional<CommandFrame> queryOf(int timer) {
    if (timer == gen::kModelTimer) {
        return cmd::queryModel();
    }
    if (timer == gen::kVersionTimer) {
        return cmd::queryVersion();
    }
    for (int k = 1; k <= gen::kMaxPorts; ++k) {
        if (timer == gen::inputTimer(k)) {
            return cmd::queryInput(k);
        }
        if (timer == gen::outputTimer(k)) {
            return cmd::queryOutput(k);
        }
    }
    return std::nullopt;
}

std::string portText(bool input, int k, bool connected) {
    const std::string name = input ? "HDMI IN" + std::to_string(k)
                                   : std::string("HDMI OUT") + static_cast<char>('A' + k - 1);
    return name + (connected ? ": Connect" : ": Disconnect");
}

} // namespace

StatusChain::StatusChain(GeneralPage& page) : page_(page) {}

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
    page_.sender().send(cmd::queryInput(k));
    page_.setTimer(gen::inputTimer(k), gen::kReplyWaitMs);
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
    if (id < gen::kDeviceTypeTimer || id > gen::kLastChainTimer) {
        return false;
    }
    if (id == gen::kDeviceTypeTimer || id == gen::kDeviceTypeTimer + 1) {
        page_.killTimer(id); // the page never asks for the device type itself
    } else if (id % 2 == 1) {
        repeat(id);
    } else if (id == gen::kModelTimer + 1 || id == gen::kVersionTimer + 1) {
        giveUpDeviceInfo(id);
    } else {
        giveUpPorts(id);
    }
    return true;
}

void StatusChain::repeat(int timer) {
    page_.killTimer(timer);
    if (const auto query = queryOf(timer)) {
        page_.sender().send(*query);
    }
    page_.setTimer(timer + 1, gen::kReplyWaitMs);
}

void StatusChain::giveUpPorts(int timer) {
    page_.killTimer(timer);
    page_.killTimer(gen::kStatusAnimation);
    page_.setTimer(gen::kNoticeTimer, kGiveUpNoticeMs);
    page_.popups().closeProgress();
    if (page_.popups().noticeShows(gen::kPleaseWait)) {
        busy_ = 0;
        page_.postTabLock(busy_);
        page_.popups().closeNotice();
        return;
    }
    page_.popups().notice(gen::kTimeOut, kGiveUpNoticeMs, PagePopups::When::IfClosed);
    unlock(); // once "Time out!" has closed: the tabs stay locked while it shows
}

void StatusChain::giveUpDeviceInfo(int timer) {
    page_.killTimer(timer);
    page_.killTimer(gen::kStatusAnimation);
    page_.popups().closeProgress();
    page_.popups().notice(gen::kTimeOut, kGiveUpNoticeMs, PagePopups::When::IfClosed);
}

void StatusChain::unlock() {
    busy_ = 0;
    page_.postTabLock(busy_);
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
    if (f.group() != 0x01 || f.command() < 0x01 || f.command() > 0x05) {
        return false;
    }
    // A reply that fails the checksum on the serial line counts as silence; over TCP there is
    // no such test, and the device information is only taken from the serial line.
    if (serial && !checksumPassed) {
        return true;
    }
    if (f.command() <= 0x03) {
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
    switch (f.command()) {
    case 0x01:
        page_.killTimer(gen::kDeviceTypeTimer);
        page_.killTimer(gen::kDeviceTypeTimer + 1);
        switch (f[4]) {
        case 1:
            deviceText_ = "HDMI MATRIX";
            break;
        case 2:
            deviceText_ = "HDBT MATRIX";
            break;
        case 3:
            deviceText_ = "HDMI+HDBT etc MATRIX";
            break;
        default:
            break;
        }
        page_.setText(gen::kDeviceLine, deviceText_);
        page_.sender().send(cmd::queryModel());
        page_.setTimer(gen::kModelTimer, gen::kReplyWaitMs);
        break;
    case 0x02:
        page_.killTimer(gen::kModelTimer);
        page_.killTimer(gen::kModelTimer + 1);
        page_.setText(gen::kDeviceLine,
                      deviceText_ + " " + std::to_string(f[4]) + "X" + std::to_string(f[6]));
        page_.sender().send(cmd::queryVersion());
        page_.setTimer(gen::kVersionTimer, gen::kReplyWaitMs);
        break;
    default:
        page_.killTimer(gen::kVersionTimer);
        page_.killTimer(gen::kVersionTimer + 1);
        page_.setText(gen::kVersionLine, std::to_string(f[4]) + "." + std::to_string(f[6]));
        sendInputQuery(1);
        break;
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
    const int k = f[4];
    if (k < 1 || k > gen::kMaxPorts) {
        return;
    }
    const bool connected = f[6] != cmd::kAbsent;
    if (f.command() == 0x04) {
        page_.killTimer(gen::inputTimer(k));
        page_.killTimer(gen::inputTimer(k) + 1);
        showPort(Side::Input, k, connected);
        page_.sender().send(cmd::queryOutput(k));
        page_.setTimer(gen::outputTimer(k), gen::kReplyWaitMs);
        if (!serial) {
            page_.popups().setProgressText("Getting Out" + std::to_string(k) + "...");
        }
        return;
    }
    page_.killTimer(gen::outputTimer(k));
    page_.killTimer(gen::outputTimer(k) + 1);
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
