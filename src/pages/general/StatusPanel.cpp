#include "StatusPanel.h"

#include "GeneralIds.h"
#include "GeneralPage.h"
#include "protocol/Commands.h"
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

std::string portText(bool input, int k, bool connected) {
    const std::string name = input ? "HDMI IN" + std::to_string(k)
                                   : std::string("HDMI OUT") + static_cast<char>('A' + k - 1);
    return name + (connected ? ": Connect" : ": Disconnect");
}

} // namespace

StatusPanel::StatusPanel(GeneralPage& page) : page_(page), chain_(page.host(), *this) {}

void StatusPanel::open() {
    for (int k = 1; k <= ops::kMaxPorts; ++k) {
        page_.setColors(gen::inputLine(k), kDisconnectedText, kPortBack);
        page_.setColors(gen::outputLine(k), kDisconnectedText, kPortBack);
    }
    page_.setColors(gen::kPortPanel, kPanelText, kPortBack);
}

void StatusPanel::clear() {
    for (int k = 1; k <= ops::kMaxPorts; ++k) {
        page_.setText(gen::inputLine(k), "");
        page_.setText(gen::outputLine(k), "");
    }
}

std::string StatusPanel::namedPortText(bool input, int k, bool connected) const {
    const PortNames& names = page_.profiles().names();
    return PortNames::after(portText(input, k, connected),
                            input ? names.input(k) : names.output(k));
}

void StatusPanel::showNames() {
    for (int k = 1; k <= ops::kMaxPorts; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        // Only a line that shows a port's state: a cleared line stays empty.
        if (!page_.text(gen::inputLine(k)).empty()) {
            page_.setText(gen::inputLine(k), namedPortText(true, k, inputConnected_[i]));
        }
        if (!page_.text(gen::outputLine(k)).empty()) {
            page_.setText(gen::outputLine(k), namedPortText(false, k, outputConnected_[i]));
        }
    }
}

bool StatusPanel::lineConnected(int line) const {
    for (int k = 1; k <= ops::kMaxPorts; ++k) {
        if (line == gen::inputLine(k)) {
            return inputConnected_[static_cast<std::size_t>(k - 1)];
        }
        if (line == gen::outputLine(k)) {
            return outputConnected_[static_cast<std::size_t>(k - 1)];
        }
    }
    return false;
}

void StatusPanel::start() {
    clear();
    SharedState& s = page_.state();
    ConnectionPanel& connection = page_.connection();
    if (s.ControlMode == kModeTcp) {
        if (s.TcpConnected == 0) {
            // The chain goes on from the connect check.
            connectPending_ = true;
            chain_.muteTcpReplies();
            connection.startTcpConnect(gen::kStatusConnectCheck);
            return;
        }
        if (connectPending_) {
            return;
        }
        chain_.unmuteTcpReplies();
        page_.popups().setProgressText("Getting status . . .");
        page_.setTimer(gen::kStatusAnimation, session::kAnimationMs);
        chain_.queryPorts();
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
        page_.setTimer(gen::kStatusAnimation, session::kAnimationMs);
        page_.setTimer(gen::kStatusComStart, kComStartMs);
    }
    busy_ = 1;
    page_.setText(gen::kHiddenEdit, "");
    page_.popups().openProgress();
}

void StatusPanel::afterStatusConnect() {
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
    chain_.unmuteTcpReplies();
    page_.sender().send(cmd::queryIrState()); // IR control state, then the beeper's
    page_.sizeQuery().start();
    page_.setTimer(gen::kStatusTcpStart, kTcpStartMs);
    page_.popups().setProgressText("Getting status . . .");
    page_.setTimer(gen::kStatusAnimation, session::kAnimationMs);
    busy_ = 1;
    page_.setText(gen::kHiddenEdit, "");
    page_.popups().openProgress();
}

void StatusPanel::startTcpChain() {
    page_.killTimer(gen::kStatusTcpStart);
    if (page_.state().TcpConnected != 0) {
        chain_.queryPorts();
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

bool StatusPanel::onTimer(int id) {
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
        chain_.queryPorts();
        return true;
    default:
        break;
    }
    return chain_.onTimer(id);
}

void StatusPanel::onPortsTimedOut() {
    page_.killTimer(gen::kStatusAnimation);
    page_.setTimer(gen::kNoticeTimer, kGiveUpNoticeMs);
    page_.popups().closeProgress();
    if (page_.popups().noticeShows(session::kPleaseWait)) {
        busy_ = 0;
        postTabLock(page_, busy_ != 0);
        page_.popups().closeNotice();
        return;
    }
    page_.popups().notice(session::kTimeOut, kGiveUpNoticeMs, PagePopups::When::IfClosed);
    unlock(); // once "Time out!" has closed: the tabs stay locked while it shows
}

void StatusPanel::onDeviceInfoTimedOut() {
    page_.killTimer(gen::kStatusAnimation);
    page_.popups().closeProgress();
    page_.popups().notice(session::kTimeOut, kGiveUpNoticeMs, PagePopups::When::IfClosed);
}

void StatusPanel::stopForStandby() {
    connectPending_ = false;
    if (busy_ != 0) {
        unlock();
    }
}

void StatusPanel::unlock() {
    busy_ = 0;
    postTabLock(page_, busy_ != 0);
    page_.setChecked(gen::kStatusRadio, false);
}

void StatusPanel::onChainDone() {
    unlock();
    if (page_.popups().noticeShows(session::kPleaseWait)) {
        page_.popups().closeNotice();
    }
    page_.killTimer(gen::kStatusAnimation);
    page_.popups().closeProgress();
}

void StatusPanel::onDeviceLine(const std::string& text) {
    page_.setText(gen::kDeviceLine, text);
}

void StatusPanel::onVersionLine(const std::string& text) {
    page_.setText(gen::kVersionLine, text);
}

void StatusPanel::onPortState(bool input, int k, bool connected) {
    auto& flags = input ? inputConnected_ : outputConnected_;
    flags[static_cast<std::size_t>(k - 1)] = connected;
    const int line = input ? gen::inputLine(k) : gen::outputLine(k);
    page_.setText(line, namedPortText(input, k, connected));
    page_.setColors(line, connected ? kConnectedText : kDisconnectedText, kPortBack);
}

void StatusPanel::onProgressLine(const std::string& text) {
    page_.popups().setProgressText(text);
}

} // namespace zentrel
