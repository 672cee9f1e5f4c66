#include "MatrixPage.h"

#include "MatrixIds.h"
#include "MatrixPageTemplate.h"
#include "link/ControlSocket.h"
#include "platform/Platform.h"
#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "session/TabLock.h"

#include <array>

namespace zentrel {

namespace {

constexpr int kBoxPixels = 40;
constexpr int kNamePixels = 11;

} // namespace

MatrixPage::MatrixPage(PageContext& ctx)
    : PageShell(ctx, kPageMatrix,
                {mtx::kSendLog,
                 mtx::kReceiveLog,
                 false,
                 {&ctx.traffic, kPageMatrix},
                 {},
                 TcpReplyBuffer::LogStyle::PerByte},
                {mtx::kNoticeTimer, mtx::kAnimationTimer}),
      grid_(*this), layout_(*this), routing_(*this), engine_(host(), routing_),
      refresh_(host(), routing_), panel_(*this), settings_(*this), editDialog_(*this) {}

MatrixPage::~MatrixPage() = default;

const DialogTemplate& MatrixPage::pageTemplate() const {
    return matrixPageTemplate();
}

std::optional<FontSpec> MatrixPage::fontFor(int id) const {
    for (int k = 1; k <= ops::kOutputs; ++k) {
        if (id == mtx::numberBox(k)) {
            return FontSpec{"", kBoxPixels, 700};
        }
        if (id == mtx::nameLabel(k)) {
            return FontSpec{"", kNamePixels, 400};
        }
    }
    return std::nullopt;
}

void MatrixPage::onInitDialog() {
    for (int id :
         {mtx::kReceiveFrame, mtx::kSendFrame, mtx::kReceiveLog, mtx::kSendLog, mtx::kLogClear}) {
        showControl(id, false);
    }
    grid_.open();
    layOut();
    panel_.open();
    settings_.open();
    if (state().ControlMode == kModeCom && state().SharedPort != 0) {
        openSerial();
    }
}

void MatrixPage::layOut() {
    if (!hasControl(mtx::kSettingsList)) {
        return; // not made yet: its opening lays it out
    }
    layout_.apply(state().size());
    grid_.setInputs(state().size().inputs);
    showNames(ctx_.profiles.names());
}

void MatrixPage::profileReplaced() {
    if (created()) {
        settings_.load();
    }
}

void MatrixPage::showNames(const PortNames& names) {
    if (!hasControl(mtx::kSettingsList)) {
        return; // not made yet: its opening shows them
    }
    // Shown again at every tab switch: only what differs is written, so the view redraws
    // nothing when the names stayed the same.
    const int outputs = state().size().outputs;
    for (int k = 1; k <= ops::kOutputs; ++k) {
        const int label = mtx::nameLabel(k);
        const bool shown = k <= outputs && !names.output(k).empty();
        if (text(label) != names.output(k) || isShown(label) != shown) {
            setText(label, names.output(k));
            showControl(label, shown);
        }
        for (int i = 1; i <= mtx::kInputs; ++i) {
            const int button = mtx::inputButton(k, i);
            if (control(button).accessibleSuffix != names.input(i)) {
                setTooltip(button, names.input(i));
                setAccessibleSuffix(button, names.input(i));
            }
        }
    }
}

bool MatrixPage::openSerial() {
    return link_.openSerial(state().SharedPort, session::kLine);
}

void MatrixPage::startWaiting() {
    popups_.startAnimation(std::string(mtx::kPleaseWait) + ". . .");
    popups_.openProgress();
}

void MatrixPage::onCommand(int id, int /*code*/) {
    if (id >= mtx::panelButton(1) && id <= mtx::panelButton(mtx::kInputs)) {
        panel_.onButton(id - mtx::panelButton(1) + 1);
        return;
    }
    switch (id) {
    case mtx::kSelectOutput:
        panel_.onChoice();
        return;
    case mtx::kSettingsList:
        settings_.onListClick();
        return;
    case mtx::kEdit:
        settings_.onEdit();
        return;
    case mtx::kSet:
        settings_.onSet();
        return;
    default:
        onGridClick(id);
        return;
    }
}

void MatrixPage::onGridClick(int id) {
    std::optional<OutputGrid::Target> target = grid_.arrowAt(id);
    if (const auto button = grid_.inputButtonAt(id)) {
        // The button toggled itself; it shows only what the matrix confirmed.
        setChecked(id, !isChecked(id));
        target = button;
    }
    if (!target || state().MatrixBusy || engine_.switching() || !gridLinkReady()) {
        return;
    }
    state().MatrixBusy = true;
    engine_.setSingle(true);
    engine_.startSwitch(target->output, target->input, ops::kGridWaitMs);
}

bool MatrixPage::gridLinkReady() {
    const bool tcp = state().ControlMode == kModeTcp;
    if (tcp ? state().ShownConnected != 0 : link_.serialOpen()) {
        return true;
    }
    popups_.notice(tcp ? session::kNoLink : session::kNoCom, session::kNoticeMs,
                   PagePopups::When::IfClosed);
    return false;
}

bool MatrixPage::panelLinkReady() {
    if (state().ControlMode == kModeTcp) {
        if (state().ShownConnected != 0) {
            return true;
        }
        popups_.notice(session::kNoLink, session::kNoticeMs, PagePopups::When::IfClosed);
        return false;
    }
    if (link_.serialOpen()) {
        return true;
    }
    ctx_.platform.ui.messageBox(*this, mtx::kOpenPortFirst, "");
    return false;
}

void MatrixPage::onTimer(int id) {
    switch (id) {
    case mtx::kNoticeTimer:
        popups_.onNoticeTimer();
        return;
    case mtx::kAnimationTimer:
        popups_.tickProgress(mtx::kPleaseWait);
        return;
    default:
        break;
    }
    if (!engine_.onTimer(id) && !refresh_.onTimer(id)) {
        killTimer(id);
    }
}

LParam MatrixPage::onMessage(unsigned msg, WParam wp, LParam lp) {
    LParam result = 0;
    // TCP replies are read even while not armed, so that nothing stale waits for the next one.
    if (const auto reply = replyFrom(msg, wp, lp, result, tcpArmed_)) {
        dispatch(*reply);
    }
    return result;
}

void MatrixPage::dispatch(const LinkedFrame& linked) {
    const CommandFrame& f = linked.frame;
    const auto ack = reply::switchAck(f);
    if (ack && ack->ok) {
        engine_.onAcknowledgment(ack->output, linked.checksumPassed);
    } else if (ack) {
        engine_.onRefusal();
    } else if (const auto routing = reply::routing(f)) {
        refresh_.onReply(routing->output, routing->input, linked.serial);
    } else if (cmd::kStandby.matches(f)) {
        onStandby();
    }
}

void MatrixPage::onStandby() {
    killTimers(session::kFirstRequestTimer, session::kLastRequestTimer);
    engine_.abandon();
    refresh_.abandon();
    state().MatrixBusy = false;
    postTabLock(*this, false);
    popups_.stopAnimation();
    popups_.noticeInstead(session::kStandby, session::kStandbyNoticeMs);
}

} // namespace zentrel
