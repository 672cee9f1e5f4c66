#include "PageShell.h"

#include "platform/Platform.h"

namespace zentrel {

PageShell::PageShell(PageContext& ctx, int pageNumber, const PageLink::Options& link,
                     const PagePopups::Options& popups)
    : Window(ctx.platform.loop, &ctx.mainWindow), ctx_(ctx),
      link_(*this, ctx.state, ctx.socket, ctx.platform.serial.createLink(), link),
      popups_(*this, ctx.state, ctx.notice, ctx.progress, popups), number_(pageNumber) {}

} // namespace zentrel
