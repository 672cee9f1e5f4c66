#include "StatusRefresh.h"

#include "MatrixPage.h"
#include "protocol/Commands.h"
#include "session/TabLock.h"

namespace zentrel {

StatusRefresh::StatusRefresh(MatrixPage& page) : page_(page) {
    for (int k = 1; k <= mtx::kOutputs; ++k) {
        // Output 1 is asked only at the start of a refresh, where the first wait is shorter.
        const int firstMs = k == 1 ? mtx::kRefreshFirstWaitMs : mtx::kWaitMs;
        requests_[static_cast<std::size_t>(k - 1)] = std::make_unique<PendingRequest>(
            page_,
            RequestTimers{mtx::statusFirstTimer(k), firstMs, mtx::statusSecondTimer(k),
                          mtx::kWaitMs},
            [this](const CommandFrame& f) { page_.sender().send(f); }, [this] { giveUp(); },
            [this] { page_.startWaiting(); });
    }
}

void StatusRefresh::start() {
    SharedState& s = page_.state();
    if (s.ControlMode == kModeTcp) {
        if (s.TcpConnected == 0) {
            page_.popups().notice(mtx::kNoLink, mtx::kNoticeMs, PagePopups::When::IfClosed);
            return;
        }
        page_.armTcp();
    } else {
        if (s.ComPortOpen == 0 || !page_.openSerial()) {
            page_.popups().notice(mtx::kNoCom, mtx::kNoticeMs, PagePopups::When::IfClosed);
            return;
        }
    }
    page_.engine().setSingle(true);
    s.MatrixBusy = true;
    query(1);
}

void StatusRefresh::query(int k) {
    waiting_ = k;
    request(k).start(cmd::queryRouting(k));
}

bool StatusRefresh::onReply(int k, std::uint8_t input, bool serial) {
    if (k < 1 || k > mtx::kOutputs || k != waiting_) {
        return false;
    }
    page_.popups().stopAnimation();
    request(k).stop();
    // The serial line shows the byte as a signed number, TCP as it is: FF reads -1 and 255.
    page_.grid().showBox(k, serial ? static_cast<int>(static_cast<std::int8_t>(input))
                                   : static_cast<int>(input));
    if (input >= 1 && input <= mtx::kShown) {
        page_.engine().setPendingInput(input);
        page_.grid().showInput(k, input);
        page_.grid().setSource(k, input);
    }
    if (k == mtx::kShown || k == mtx::kOutputs) {
        end();
        return true;
    }
    if (!serial) {
        postTabLock(page_, true);
    }
    query(k + 1);
    return true;
}

void StatusRefresh::end() {
    waiting_ = 0;
    page_.state().MatrixBusy = false;
    postTabLock(page_, false);
}

bool StatusRefresh::onTimer(int id) {
    for (auto& r : requests_) {
        if (r->owns(id)) {
            return r->onTimer(id);
        }
    }
    return false;
}

void StatusRefresh::giveUp() {
    end();
    page_.popups().stopAnimation();
    page_.popups().notice(mtx::kTimeOut, mtx::kNoticeMs, PagePopups::When::IfClosed);
}

} // namespace zentrel
