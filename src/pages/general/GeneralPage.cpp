#include "GeneralPage.h"

#include "GeneralIds.h"
#include "GeneralPageTemplate.h"
#include "platform/Platform.h"
#include "protocol/Commands.h"

#include <array>

namespace zentrel {

GeneralPage::GeneralPage(PageContext& ctx)
    : PageShell(ctx, kPageGeneral,
                {gen::kSendLog, gen::kReceiveLog, true, {&ctx.traffic, kPageGeneral}},
                {gen::kNoticeTimer, 0, kPageGeneral}),
      discovery_(ctx.platform.network, ctx.state, *this,
                 [this](const std::string& text) { link_.receiveLog().appendText(text); }),
      connection_(*this), status_(*this), maintenance_(*this), sizeQuery_(host()),
      configDialog_(ctx.platform.loop, ctx.state, discovery_.broadcastSocket(), ctx.notice) {
    // The search and the configuration run share the socket, so both reach the traffic log.
    discovery_.broadcastSocket().setWatch(TrafficTap{&ctx.traffic, kPageGeneral}.watch());
}

GeneralPage::~GeneralPage() = default;

const DialogTemplate& GeneralPage::pageTemplate() const {
    return generalPageTemplate();
}

void GeneralPage::showNames(const PortNames&) {
    if (created()) {
        status_.showNames();
    }
}

void GeneralPage::onSelected() {
    // The main window connects anew for the page shown in TCP mode.
    tcpLinkOpened();
    status_.muteTcpReplies();
    connection_.markReturned();
}

void GeneralPage::onInitDialog() {
    for (int id :
         {gen::kReceiveFrame, gen::kSendFrame, gen::kReceiveLog, gen::kSendLog, gen::kLogClear}) {
        showControl(id, false);
    }
    status_.open();
    connection_.open();
}

void GeneralPage::onCommand(int id, int code) {
    if (connection_.onCommand(id, code) || maintenance_.onCommand(id)) {
        return;
    }
    switch (id) {
    case gen::kStatus:
    case gen::kStatusRadio:
        status_.start();
        break;
    case gen::kClear:
        status_.clear();
        break;
    default:
        break;
    }
}

void GeneralPage::onTimer(int id) {
    if (id == gen::kNoticeTimer) {
        popups_.onNoticeTimer();
        return;
    }
    if (connection_.onTimer(id) || status_.onTimer(id) || sizeQuery_.onTimer(id)) {
        return;
    }
    maintenance_.onTimer(id);
}

LParam GeneralPage::onMessage(unsigned msg, WParam wp, LParam lp) {
    LParam result = 0;
    if (msg == WM_DISCOVERY) {
        discovery_.handleNotification(wp, lp);
    } else if (const auto reply =
                   replyFrom(msg, wp, lp, result, true, state().ActivePage == kPageGeneral)) {
        dispatch(*reply);
    }
    return result;
}

void GeneralPage::dispatch(const LinkedFrame& reply) {
    const CommandFrame& frame = reply.frame;
    // The size query goes first: its model reply is no step of the status chain.
    if (sizeQuery_.onReply(reply) || status_.onReply(reply) || maintenance_.onReply(frame)) {
        return;
    }
    if (cmd::kStandby.matches(frame)) {
        onStandby();
    }
}

void GeneralPage::onStandby() {
    killTimers(session::kFirstRequestTimer, session::kLastRequestTimer);
    maintenance_.stopForStandby();
    // The connect check that Status was waiting on has just been stopped with the rest; were
    // Status still to wait for it, it would do nothing on a link that works. A chain that was
    // running has lost its waits too and would keep the tabs locked for ever.
    status_.stopForStandby();
    popups_.closeProgress();
    popups_.noticeInstead(session::kStandby, session::kStandbyNoticeMs);
}

} // namespace zentrel
