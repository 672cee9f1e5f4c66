#pragma once
// What every page is built on: its window under the main window, its link (serial link, logs,
// sender, reply assembly) and the way it speaks through the shared pop-ups. A page adds only what
// is its own: its controls, its operations and what its replies mean. A page is not a dialog of
// its own, so Enter and Escape end nothing.
#include "Page.h"
#include "PageContext.h"
#include "PagePopups.h"
#include "operations/OperationHost.h"
#include "platform/Window.h"
#include "session/PageLink.h"

#include <optional>

namespace zentrel {

class PageShell : public Window, public Page {
public:
    PageShell(PageContext& ctx, int pageNumber, const PageLink::Options& link,
              const PagePopups::Options& popups);

    // --- Page ------------------------------------------------------------------------------
    Window& window() override { return *this; }
    const PageInfo& info() const override { return pageInfo(number_); }
    SerialLink* serialLink() override { return link_.serial(); }

    // --- Window ----------------------------------------------------------------------------
    void onOk() override {}
    void onCancel() override {}

    // --- what the page's parts share ---------------------------------------------------------
    SharedState& state() { return ctx_.state; }
    PageContext& context() { return ctx_; }
    SerialLink& link() { return *link_.serial(); }
    OperationHost host() { return {*this, link_, ctx_.state}; }
    PagePopups& popups() { return popups_; }
    SendLog& sendLog() { return link_.sendLog(); }
    const SendLog& sendLog() const { return link_.sendLog(); }

protected:
    // A whole reply out of the page's serial bytes or its own TCP notification (the bytes are
    // always read; see PageLink::onTcpNotification for `tcpAccept` and `tcpPageShown`); a TCP
    // reply counts only in TCP mode. Nothing for any other message or a reply not whole yet.
    std::optional<LinkedFrame> replyFrom(unsigned msg, WParam wp, LParam lp, LParam& result,
                                         bool tcpAccept = true, bool tcpPageShown = true);

    PageContext& ctx_;
    PageLink link_;
    PagePopups popups_;

private:
    int number_;
};

} // namespace zentrel
