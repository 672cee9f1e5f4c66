#include "ConnectionPanel.h"

#include "GeneralIds.h"
#include "GeneralPage.h"
#include "link/ControlSocket.h"
#include "pages/general/netconfig/TcpConfigIds.h"
#include "protocol/Commands.h"

#include <algorithm>

namespace zentrel {

namespace {

constexpr int kMaxComboTries = 20;
constexpr int kTcpPort = ControlSocket::kPort;

std::string portName(int n) {
    return "COM" + std::to_string(n);
}

// The port number in a combo entry: the text after "COM", if it is one of 1..19.
int portNumberOf(const std::string& shown) {
    if (shown.size() <= 3) {
        return 0;
    }
    const std::string rest = shown.substr(3);
    for (int n = ConnectionPanel::kFirstPort; n <= ConnectionPanel::kLastPort; ++n) {
        if (rest == std::to_string(n)) {
            return n;
        }
    }
    return 0;
}

} // namespace

ConnectionPanel::ConnectionPanel(GeneralPage& page) : page_(page) {}

void ConnectionPanel::open() {
    settings_ = SerialSettings{115200, 'N', 8, 1, 3, 512};
    for (const std::string& name : probe()) {
        page_.addItem(gen::kPortCombo, name);
    }
    if (page_.state().SharedPort != 0) {
        selectSharedPort();
    } else {
        page_.setSelection(gen::kPortCombo, 0);
    }
    page_.setChecked(gen::kComRadio, true);
    for (int id : {gen::kTcpGroup, gen::kIpCombo, gen::kSearch, gen::kConfig, gen::kTcpConnect,
                   gen::kIpLabel}) {
        page_.enable(id, false);
    }
    page_.setTimer(gen::kPortRescan, gen::kRescanMs);
    restore();
}

void ConnectionPanel::restore() {
    if (!page_.profiles().keeps() || page_.state().SharedPort != 0) {
        return;
    }
    const PanelState kept = page_.profiles().panel(page_);
    const std::vector<std::string>& ports = page_.control(gen::kPortCombo).items;
    const auto at = std::find(ports.begin(), ports.end(), portName(kept.comPort));
    if (kept.comPort != 0 && at != ports.end()) {
        page_.setSelection(gen::kPortCombo, static_cast<int>(at - ports.begin()));
    }
    if (kept.controlMode == kModeTcp) {
        if (!kept.ip.empty()) {
            page_.addItem(gen::kIpCombo, kept.ip);
            page_.setSelection(gen::kIpCombo, 0);
        }
        page_.setChecked(gen::kComRadio, false);
        page_.setChecked(gen::kTcpRadio, true);
        chooseTcpMode();
    }
}

void ConnectionPanel::keepState(PanelState& kept) {
    kept.controlMode = page_.state().ControlMode;
    if (const int n = portNumberOf(page_.shownText(gen::kPortCombo)); n != 0) {
        kept.comPort = n;
    }
    if (const std::string ip = page_.shownText(gen::kIpCombo); !ip.empty()) {
        kept.ip = ip;
        kept.tcpPort = kTcpPort;
    }
}

void ConnectionPanel::selectSharedPort() {
    const std::vector<std::string>& items = page_.control(gen::kPortCombo).items;
    for (int i = 0; i < static_cast<int>(items.size()) && i < kMaxComboTries; ++i) {
        if (portNumberOf(items[static_cast<std::size_t>(i)]) == page_.state().SharedPort) {
            page_.setSelection(gen::kPortCombo, i);
            return;
        }
    }
    // The last try stands: no selection when the list is shorter than that.
    page_.setSelection(gen::kPortCombo, kMaxComboTries - 1);
}

std::vector<std::string> ConnectionPanel::probe() {
    std::vector<std::string> found;
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        portNumber_ = n;
        if (page_.link().open(page_, n, settings_)) {
            found.push_back(portName(n));
        }
    }
    return found;
}

void ConnectionPanel::rescan() {
    page_.killTimer(gen::kPortRescan);
    settings_.eventMask = 3;
    const std::vector<std::string> found = probe();
    const Control& combo = page_.control(gen::kPortCombo);
    if (found.empty()) {
        if (!combo.items.empty()) {
            page_.clearItems(gen::kPortCombo);
        }
    } else {
        // The list becomes the ports found, keeping the shown port selected while it exists.
        // Nothing is touched while nothing changed, so an open drop-down stays open.
        const std::string shown = page_.shownText(gen::kPortCombo);
        const auto kept = std::find(found.begin(), found.end(), shown);
        const int selection =
            shown.empty() || kept == found.end() ? 0 : static_cast<int>(kept - found.begin());
        if (combo.items != found) {
            page_.clearItems(gen::kPortCombo);
            for (const std::string& name : found) {
                page_.addItem(gen::kPortCombo, name);
            }
        }
        if (page_.selection(gen::kPortCombo) != selection) {
            page_.setSelection(gen::kPortCombo, selection);
        }
    }
    page_.setTimer(gen::kPortRescan, gen::kRescanMs);
}

bool ConnectionPanel::onCommand(int id, int code) {
    switch (id) {
    case gen::kComRadio:
        chooseComMode();
        return true;
    case gen::kTcpRadio:
        chooseTcpMode();
        return true;
    case gen::kComConnect:
        comConnect();
        return true;
    case gen::kPortCombo:
        if (code == CBN_SELCHANGE && comConnected_) {
            closeCom(false, false);
        }
        return true;
    case gen::kTcpConnect:
        page_.status().muteTcpReplies();
        if (page_.state().TcpConnected == 1) {
            dropTcp();
        } else {
            startTcpConnect(gen::kConnectCheck);
        }
        return true;
    case gen::kSearch:
        search();
        return true;
    case gen::kIpCombo:
        if (code == CBN_SELCHANGE) {
            page_.discovery().select(page_.selection(gen::kIpCombo));
            dropTcp();
        }
        return true;
    case gen::kConfig:
        if (!page_.configDialog().open()) {
            page_.popups().notice(nc::kFindFirstText, session::kNoticeMs, PagePopups::When::Always);
        }
        return true;
    case gen::kClosePage:
        page_.link().stop();
        page_.state().ComPortOpen = 0;
        comConnected_ = false;
        page_.hide();
        return true;
    default:
        return false;
    }
}

bool ConnectionPanel::onTimer(int id) {
    switch (id) {
    case gen::kPortRescan:
        rescan();
        return true;
    case gen::kConnectCheck:
        switch (checkConnect(id)) {
        case Check::Confirmed:
            page_.sender().send(cmd::queryBeepState()); // the beeper's state
            page_.sizeQuery().start();
            break;
        case Check::Failed:
            reportConnectFailed();
            break;
        case Check::Waiting:
            break;
        }
        return true;
    case gen::kActivationLinkCheck:
        waitForActivationLink();
        return true;
    default:
        return false;
    }
}

void ConnectionPanel::chooseComMode() {
    SharedState& s = page_.state();
    if (s.ComPortOpen == 0) {
        page_.setTimer(gen::kPortRescan, gen::kRescanMs);
    }
    s.ControlMode = kModeCom;
    for (int id : {gen::kComGroup, gen::kPortLabel, gen::kComConnect}) {
        page_.enable(id, true);
    }
    if (s.ComPortOpen == 0) {
        page_.enable(gen::kPortCombo, true);
    }
    for (int id : {gen::kTcpGroup, gen::kIpCombo, gen::kSearch, gen::kConfig, gen::kTcpConnect,
                   gen::kIpLabel}) {
        page_.enable(id, false);
    }
}

void ConnectionPanel::chooseTcpMode() {
    // The serial channel stays as it is: the two modes' links are independent.
    page_.state().ControlMode = kModeTcp;
    for (int id : {gen::kComGroup, gen::kPortLabel, gen::kPortCombo, gen::kComConnect}) {
        page_.enable(id, false);
    }
    for (int id : {gen::kTcpGroup, gen::kIpCombo, gen::kSearch, gen::kConfig, gen::kTcpConnect,
                   gen::kIpLabel}) {
        page_.enable(id, true);
    }
}

void ConnectionPanel::comConnect() {
    settings_ = SerialSettings{115200, 'N', 8, 2, 3, 512};
    if (const int n = portNumberOf(page_.shownText(gen::kPortCombo)); n != 0) {
        portNumber_ = n;
    }
    SharedState& s = page_.state();
    s.SharedPort = portNumber_;
    if (comConnected_) {
        closeCom(true, true);
        return;
    }
    if (!page_.link().open(page_, portNumber_, settings_)) {
        page_.popups().notice(session::kNoCom, session::kNoticeMs, PagePopups::When::Always);
        return;
    }
    page_.serialLinkOpened();
    page_.link().start();
    page_.killTimer(gen::kPortRescan);
    page_.enable(gen::kPortCombo, false);
    page_.setText(gen::kComConnect, gen::kDisconnect);
    page_.setIcon(gen::kComIcon, gen::kIconConnected);
    comConnected_ = true;
    s.ComPortOpen = 1;
    // A new unit may be another size: four by four until it says otherwise. It is asked once
    // its power state is in, as a unit in standby would answer nothing but that.
    s.size() = MatrixSize{};
    // The last target, shared with zentrel-ctl: the port is kept as soon as it works.
    page_.profiles().changePanel(page_, [n = portNumber_](PanelState& kept) {
        kept.controlMode = kModeCom;
        kept.comPort = n;
    });
    page_.sender().send(cmd::queryPowerState()); // the power state
    // The names of this matrix's ports as they are now: zentrel-ctl may have set some since.
    page_.profiles().readNames(page_);
}

void ConnectionPanel::closeCom(bool restartRescan, bool enableCombo) {
    page_.state().ComPortOpen = 0;
    comConnected_ = false;
    page_.setText(gen::kComConnect, gen::kConnect);
    page_.setIcon(gen::kComIcon, gen::kIconDisconnected);
    page_.link().stop();
    if (restartRescan) {
        page_.setTimer(gen::kPortRescan, gen::kRescanMs);
    }
    if (enableCombo) {
        page_.enable(gen::kPortCombo, true);
    }
}

void ConnectionPanel::disconnectCom() {
    if (comConnected_) {
        // In TCP mode the COM group stays disabled; choosing COM mode enables it again.
        closeCom(true, page_.state().ControlMode == kModeCom);
    }
}

bool ConnectionPanel::takeReturned() {
    const bool r = returned_;
    returned_ = false;
    return r;
}

void ConnectionPanel::activate() {
    SharedState& s = page_.state();
    if (s.ControlMode == kModeTcp) {
        if (s.TcpConnected == 0) {
            // The main window has just reconnected for this page; on a slow network the
            // connect may still be under way, and then it is waited for as Connect does.
            activationStartedMs_ = page_.loop().nowMs();
            waitForActivationLink();
        }
        return;
    }
    if (s.ComPortOpen == 0) {
        page_.setTimer(gen::kPortRescan, gen::kRescanMs);
        page_.popups().notice(session::kNoCom, session::kNoticeMs, PagePopups::When::Always);
        return;
    }
    if (page_.link().open(page_, portNumber_, settings_)) {
        page_.serialLinkOpened();
        page_.link().start();
        return;
    }
    // The port is gone: shown closed, so that the next Status or Connect opens it again, and
    // commands say "Open COM failed!" instead of writing to nothing.
    closeCom(true, s.ControlMode == kModeCom);
    page_.popups().notice(session::kNoCom, session::kNoticeMs, PagePopups::When::Always);
}

void ConnectionPanel::endChecks() {
    // The main window has made the socket over for the page being shown: these checks would
    // poll it, and report on it over another page.
    page_.killTimer(gen::kConnectCheck);
    page_.killTimer(gen::kStatusConnectCheck);
    page_.killTimer(gen::kActivationLinkCheck);
    page_.status().abandonConnect();
}

void ConnectionPanel::waitForActivationLink() {
    page_.killTimer(gen::kActivationLinkCheck);
    if (page_.state().TcpConnected != 0) {
        return;
    }
    if (page_.socket().connecting() &&
        page_.loop().nowMs() - activationStartedMs_ < session::kConnectPatienceMs) {
        page_.setTimer(gen::kActivationLinkCheck, session::kConnectCheckMs);
        return;
    }
    page_.popups().notice(session::kNoLink, session::kNoticeMs, PagePopups::When::Always);
}

void ConnectionPanel::search() {
    dropTcp();
    if (page_.discovery().search() == Discovery::Start::BindFailed) {
        page_.popups().notice(Discovery::kSearchFailedText, Discovery::kSearchFailedMs,
                              PagePopups::When::Always);
    }
}

void ConnectionPanel::startTcpConnect(int checkTimer) {
    page_.state().MatrixIp = page_.shownText(gen::kIpCombo);
    page_.socket().connectFor(page_, WM_TCP_GENERAL);
    page_.tcpLinkOpened();
    connectStartedMs_ = page_.loop().nowMs();
    page_.setTimer(checkTimer, session::kConnectCheckMs);
}

ConnectionPanel::Check ConnectionPanel::checkConnect(int checkTimer) {
    page_.killTimer(checkTimer);
    if (page_.state().TcpConnected == 0) {
        // A connect that is neither complete nor failed yet gets more time: on a slow network
        // it completes after the first check, and the link then works.
        if (page_.socket().connecting() &&
            page_.loop().nowMs() - connectStartedMs_ < session::kConnectPatienceMs) {
            page_.setTimer(checkTimer, session::kConnectCheckMs);
            return Check::Waiting;
        }
        showTcp(false);
        return Check::Failed;
    }
    showTcp(true);
    page_.profiles().changePanel(page_, [ip = page_.state().MatrixIp](PanelState& kept) {
        kept.controlMode = kModeTcp;
        kept.ip = ip;
        kept.tcpPort = kTcpPort;
    });
    page_.profiles().readNames(page_);
    return Check::Confirmed;
}

void ConnectionPanel::reportConnectFailed() {
    // Never "Disconnect" and the connected icon beside a notice that says the link failed.
    showTcp(false);
    page_.popups().notice(session::kNoLink, 1000, PagePopups::When::Always);
}

void ConnectionPanel::showTcp(bool connected) {
    page_.setText(gen::kTcpConnect, connected ? gen::kDisconnect : gen::kConnect);
    page_.setIcon(gen::kTcpIcon, connected ? gen::kIconConnected : gen::kIconDisconnected);
    page_.state().ShownConnected = connected ? 1 : 0;
}

void ConnectionPanel::dropTcp() {
    page_.socket().disconnect();
    showTcp(false);
    // A check still waiting would report the link that was just dropped on purpose.
    page_.killTimer(gen::kConnectCheck);
    page_.killTimer(gen::kStatusConnectCheck);
    page_.status().abandonConnect();
}

bool ConnectionPanel::ready() const {
    const SharedState& s = page_.state();
    return (s.ControlMode == kModeTcp && s.TcpConnected == 1) ||
           (s.ControlMode == kModeCom && s.ComPortOpen == 1);
}

bool ConnectionPanel::refuseUnlessReady() {
    if (ready()) {
        return false;
    }
    const bool tcp = page_.state().ControlMode == kModeTcp;
    page_.popups().notice(tcp ? session::kNoLink : session::kNoCom, session::kNoticeMs,
                          PagePopups::When::Always);
    return true;
}

} // namespace zentrel
