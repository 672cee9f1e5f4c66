#include "MatrixRouting.h"

#include "MatrixPage.h"

namespace zentrel {

void MatrixRouting::startRefresh() {
    SharedState& s = page_.state();
    if (s.ControlMode == kModeTcp) {
        if (s.TcpConnected == 0) {
            page_.popups().notice(session::kNoLink, session::kNoticeMs, PagePopups::When::IfClosed);
            return;
        }
        page_.armTcp();
    } else {
        if (s.ComPortOpen == 0 || !page_.openSerial()) {
            page_.popups().notice(session::kNoCom, session::kNoticeMs, PagePopups::When::IfClosed);
            return;
        }
    }
    page_.engine().setSingle(true);
    page_.refresh().start();
}

void MatrixRouting::onWaiting() {
    page_.startWaiting();
}

void MatrixRouting::onAcknowledged() {
    page_.popups().stopAnimation();
}

void MatrixRouting::onRouted(int k, int input) {
    page_.grid().setSource(k, input);
    page_.grid().showBox(k, input);
    page_.grid().showInput(k, input);
}

void MatrixRouting::onRoutingRead(int k, std::uint8_t input, bool serial) {
    page_.popups().stopAnimation();
    // The serial line shows the byte as a signed number, TCP as it is: FF reads -1 and 255.
    page_.grid().showBox(k, serial ? static_cast<int>(static_cast<std::int8_t>(input))
                                   : static_cast<int>(input));
    if (input >= 1 && input <= page_.state().size().inputs) {
        page_.engine().setPendingInput(input);
        page_.grid().showInput(k, input);
        page_.grid().setSource(k, input);
    }
}

void MatrixRouting::timedOut() {
    page_.popups().stopAnimation();
    page_.popups().notice(session::kTimeOut, session::kNoticeMs, PagePopups::When::IfClosed);
}

} // namespace zentrel
