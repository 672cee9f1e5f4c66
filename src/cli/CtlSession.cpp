#include "CtlSession.h"

#include "link/SerialChannel.h"
#include "operations/SizeQuery.h"
#include "platform/posix/PortHolder.h"
#include "protocol/Commands.h"
#include "session/SessionTexts.h"

namespace zentrel::cli {

namespace {

// Above every timer id of the operations, which are the pages' own.
constexpr int kConnectCheckTimer = 9001;

DialogTemplate sessionTemplate() {
    return DialogTemplate{0, "zentrel-ctl", 0, 0, {}};
}

PageLink::Options linkOptions() {
    PageLink::Options o;
    o.sendsLogged = false; // the tool has no logs to show; its frames go out all the same
    return o;
}

} // namespace

CtlSession::CtlSession(EventLoop& loop, Network& network, const CtlTarget& target)
    : Window(loop), target_(target),
      socket_(network, state_, static_cast<std::uint16_t>(target.port)),
      link_(*this, state_, socket_, std::make_unique<SerialChannel>(loop, target.device),
            linkOptions()) {
    create(sessionTemplate());
}

CtlSession::~CtlSession() {
    if (link_.serial() != nullptr) {
        link_.serial()->stop();
    }
    socket_.disconnect();
}

std::optional<CtlSession::Outcome> CtlSession::open() {
    if (target_.kind == CtlTarget::Kind::Tcp) {
        state_.ControlMode = kModeTcp;
        if (auto failed = connectTcp()) {
            return failed;
        }
        return learnSize();
    }
    state_.ControlMode = kModeCom;
    if (link_.openSerial(target_.com, session::kLine)) {
        state_.ComPortOpen = 1;
        link_.serialOpened();
        return learnSize();
    }
    std::string detail = target_.kind == CtlTarget::Kind::Com
                             ? "(COM" + std::to_string(target_.com) + ", " + target_.device + ")"
                             : "(" + target_.device + ")";
    const std::string holder = portHolderName(target_.device);
    if (!holder.empty()) {
        detail += ": held by " + holder;
    }
    return Outcome{ExitCode::NoLink, session::kNoCom, detail};
}

std::optional<CtlSession::Outcome> CtlSession::connectTcp() {
    const std::string where = "(" + target_.host + ":" + std::to_string(target_.port) + ")";
    state_.MatrixIp = target_.host;
    if (!socket_.create()) {
        return Outcome{ExitCode::NoLink, session::kNoLink, where};
    }
    socket_.connectFor(*this, WM_TCP_GENERAL);
    link_.tcpOpened();
    connectStartedMs_ = loop().nowMs();
    setTimer(kConnectCheckTimer, session::kConnectCheckMs);
    doModal(sessionTemplate());
    if (state_.TcpConnected == 0) {
        return Outcome{ExitCode::NoLink, session::kNoLink, where};
    }
    return std::nullopt;
}

std::optional<CtlSession::Outcome> CtlSession::learnSize() {
    // As the panel does after its Connect, so the ports the tool takes are the unit's own.
    SizeQuery query(host());
    query.start();
    const Outcome o = run(
        [&](const LinkedFrame& r) {
            const bool own = query.onReply(r);
            if (own && !query.waiting()) {
                finish({});
            }
            return own;
        },
        [&](int id) {
            const bool own = query.onTimer(id);
            if (own) {
                finish({});
            }
            return own;
        });
    if (o.code != ExitCode::Done) {
        return o;
    }
    return std::nullopt;
}

void CtlSession::checkConnect() {
    killTimer(kConnectCheckTimer);
    if (state_.TcpConnected == 0 && socket_.connecting() &&
        loop().nowMs() - connectStartedMs_ < session::kConnectPatienceMs) {
        setTimer(kConnectCheckTimer, session::kConnectCheckMs);
        return;
    }
    endDialog(IDOK);
}

CtlSession::Outcome CtlSession::run(ReplyHandler replies, TimerHandler timers) {
    replies_ = std::move(replies);
    timers_ = std::move(timers);
    outcome_ = {};
    doModal(sessionTemplate());
    replies_ = {};
    timers_ = {};
    return outcome_;
}

void CtlSession::finish(Outcome outcome) {
    outcome_ = std::move(outcome);
    endDialog(IDOK);
}

void CtlSession::dispatch(const LinkedFrame& reply) {
    if (replies_ && replies_(reply)) {
        return;
    }
    // A sleeping matrix answers nothing more: every wait would only run out.
    if (replies_ && cmd::kStandby.matches(reply.frame)) {
        finish({ExitCode::NoAnswer, session::kStandby, ""});
    }
}

LParam CtlSession::onMessage(unsigned msg, WParam wp, LParam lp) {
    LParam result = 0;
    if (msg == WM_SERIAL_BYTE) {
        if (const auto reply = link_.onSerialByte(wp, lp, result)) {
            dispatch(*reply);
        }
    } else if (msg == WM_TCP_GENERAL) {
        if (const auto reply = link_.onTcpNotification(wp, lp)) {
            dispatch(*reply);
        }
    }
    return result;
}

void CtlSession::onTimer(int id) {
    if (id == kConnectCheckTimer) {
        checkConnect();
        return;
    }
    if (!timers_ || !timers_(id)) {
        killTimer(id); // nothing of the run's owns it any more
    }
}

} // namespace zentrel::cli
