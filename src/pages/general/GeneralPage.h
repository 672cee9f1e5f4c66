#pragma once
// The General page (dialog 145): the connection panel on the left, the device information and
// the maintenance commands on the right and below. The page owns its serial channel, its logs
// and its reply assembly on both links, and hands each reply to its parts in a fixed order: the
// status chain, then the maintenance commands, then the standby announcement.
#include "ConnectionPanel.h"
#include "MaintenancePanel.h"
#include "StatusPanel.h"
#include "app/PageShell.h"
#include "app/PanelProfiles.h"
#include "link/Discovery.h"
#include "operations/SizeQuery.h"
#include "pages/general/netconfig/TcpConfigDialog.h"
#include "platform/SerialLink.h"
#include "platform/Window.h"
#include "session/PageLink.h"

#include <memory>

namespace zentrel {

struct Platform;

class GeneralPage : public PageShell {
public:
    explicit GeneralPage(PageContext& ctx);
    ~GeneralPage() override;

    // --- Page ------------------------------------------------------------------------------
    const DialogTemplate& pageTemplate() const override;
    void activate() override { connection_.activate(); }
    void onAnyPageSwitch() override { connection_.endChecks(); }
    void onSelected() override;
    void search() override { connection_.search(); }
    void disconnectCom() override { connection_.disconnectCom(); }
    void keepState(PanelState& kept) override { connection_.keepState(kept); }
    void showNames(const PortNames&) override;

    // --- Window ----------------------------------------------------------------------------
    void onInitDialog() override;
    void onCommand(int id, int code) override;
    void onTimer(int id) override;
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override;

    // --- what the parts share ----------------------------------------------------------------
    ControlSocket& socket() { return ctx_.socket; }
    FrameSender& sender() { return link_.sender(); }
    PanelProfiles& profiles() { return ctx_.profiles; }
    Discovery& discovery() { return discovery_; }
    ConnectionPanel& connection() { return connection_; }
    StatusPanel& status() { return status_; }
    MaintenancePanel& maintenance() { return maintenance_; }
    SizeQuery& sizeQuery() { return sizeQuery_; }
    TcpConfigDialog& configDialog() { return configDialog_; }
    // A link was opened anew for the page: bytes of a reply cut short on the old one must not
    // be joined to the first reply on the new one.
    void serialLinkOpened() { link_.serialOpened(); }
    void tcpLinkOpened() { link_.tcpOpened(); }

    // Inspection, for tests.
    const ReceiveLog& receiveLog() const { return link_.receiveLog(); }

private:
    void dispatch(const LinkedFrame& reply);
    void onStandby();

    Discovery discovery_;
    ConnectionPanel connection_;
    StatusPanel status_;
    MaintenancePanel maintenance_;
    SizeQuery sizeQuery_;
    // Shares discovery's broadcast socket; a window of its own once "Config..." opens it.
    TcpConfigDialog configDialog_;
};

} // namespace zentrel
