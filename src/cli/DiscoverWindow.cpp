#include "DiscoverWindow.h"

namespace zentrel::cli {

namespace {

constexpr int kListenTimer = 1;

DialogTemplate listTemplate() {
    return DialogTemplate{0, "discover", 0, 0, {{Discovery::kIpList, ControlKind::ComboBox}}};
}

} // namespace

DiscoverWindow::DiscoverWindow(EventLoop& loop, Network& network)
    : Window(loop), discovery_(network, state_, *this) {
    create(listTemplate());
}

bool DiscoverWindow::run(int listenMs) {
    if (discovery_.search() != Discovery::Start::Started) {
        return false;
    }
    setTimer(kListenTimer, listenMs);
    doModal(listTemplate());
    return true;
}

std::vector<DiscoverWindow::Found> DiscoverWindow::found() const {
    std::vector<Found> all;
    const int n = itemCount(Discovery::kIpList);
    for (int i = 0; i < n; ++i) {
        // The list and the MAC slots fill in the same order; the slots wrap after 256.
        all.push_back({control(Discovery::kIpList).items[static_cast<std::size_t>(i)],
                       state_.DiscoveredMacs[static_cast<std::size_t>(i) % 256]});
    }
    return all;
}

LParam DiscoverWindow::onMessage(unsigned msg, WParam wp, LParam lp) {
    return msg == WM_DISCOVERY ? discovery_.handleNotification(wp, lp) : 0;
}

void DiscoverWindow::onTimer(int id) {
    if (id == kListenTimer) {
        killTimer(kListenTimer);
        endDialog(IDOK);
    }
}

} // namespace zentrel::cli
