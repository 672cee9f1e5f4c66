#include "PageShell.h"

#include "platform/Messages.h"
#include "platform/Platform.h"
#include "state/SharedState.h"

namespace zentrel {

PageShell::PageShell(PageContext& ctx, int pageNumber, const PageLink::Options& link,
                     const PagePopups::Options& popups)
    : Window(ctx.platform.loop, &ctx.mainWindow), ctx_(ctx),
      link_(*this, ctx.state, ctx.socket, ctx.platform.serial.createLink(), link),
      popups_(*this, ctx.state, ctx.notice, ctx.progress, popups), number_(pageNumber) {}

std::optional<LinkedFrame> PageShell::replyFrom(unsigned msg, WParam wp, LParam lp, LParam& result,
                                                bool tcpAccept, bool tcpPageShown) {
    if (msg == WM_SERIAL_BYTE) {
        return link_.onSerialByte(wp, lp, result);
    }
    if (msg == info().tcpMessage) {
        auto reply = link_.onTcpNotification(wp, lp, tcpAccept, tcpPageShown);
        if (reply && ctx_.state.ControlMode == kModeTcp) {
            return reply;
        }
    }
    return std::nullopt;
}

} // namespace zentrel
