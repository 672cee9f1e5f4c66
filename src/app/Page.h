#pragma once
// What the main window needs of each of its four pages: the page's window, its constants in a
// page switch, its activation, its serial channel, and the resets a switch makes. The General
// page also runs the discovery search and the serial disconnect for the main window.
#include "PortNames.h"
#include "platform/DialogTemplate.h"
#include "profile/PanelState.h"

namespace zentrel {

class SerialLink;
class Window;

// The fixed constants of one page in a page switch.
struct PageInfo {
    int number;          // the value of ActivePage
    int tabButton;       // hidden command button of the page
    int caption;         // tab caption in the caption bar
    int templateId;      // dialog template of the page's window
    int activationTimer; // main-window timer that activates the page
    unsigned tcpMessage; // control-socket notifications while the page is shown
};

// Page 1 General, 2 EDID, 3 Matrix, 4 FW Upgrade; throws std::out_of_range otherwise.
const PageInfo& pageInfo(int number);

class Page {
public:
    virtual ~Page() = default;

    // The page's window; created on first selection, then shown and hidden.
    virtual Window& window() = 0;
    virtual const PageInfo& info() const = 0;
    virtual const DialogTemplate& pageTemplate() const = 0;

    // 150 ms after the page is shown: open the page's link and send its first query.
    virtual void activate() = 0;
    // The page's serial channel, if it has one yet.
    virtual SerialLink* serialLink() = 0;

    // Run on every page at the start of every page switch (the Matrix page drops its TCP-reply
    // gate, the FW Upgrade page marks itself idle).
    virtual void onAnyPageSwitch() {}
    // Run on the page being shown, before it is shown (reply mutes and first-time flags).
    virtual void onSelected() {}

    // The port names changed (read anew at a connect or on the Matrix tab, set in "Port
    // names...", imported): a page that shows them writes its texts again.
    virtual void showNames(const PortNames& /*names*/) {}
    // The kept profile was replaced by an import: a page that shows more of it reads it again.
    virtual void profileReplaced() {}

    // General page only: the discovery search and the serial disconnect.
    virtual void search() {}
    virtual void disconnectCom() {}
    // General page only: the link chosen as the page shows it, kept for the next start.
    virtual void keepState(PanelState& /*state*/) {}
};

} // namespace zentrel
