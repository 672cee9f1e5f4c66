#include "PanelProfiles.h"

#include "link/ControlSocket.h"
#include "platform/UiServices.h"
#include "profile/ProfileStore.h"
#include "state/SharedState.h"

namespace zentrel {

std::string PanelProfiles::current(Window& owner) {
    if (state_.ControlMode == kModeCom && state_.SharedPort != 0) {
        return ProfileStore::comProfile(state_.SharedPort);
    }
    if (state_.ControlMode == kModeTcp && !state_.MatrixIp.empty()) {
        return ProfileStore::tcpProfile(state_.MatrixIp, ControlSocket::kPort);
    }
    return keeps() ? ProfileStore::lastProfile(panel(owner)) : std::string();
}

MatrixProfile PanelProfiles::matrix(Window& owner) {
    const std::string name = keeps() ? current(owner) : std::string();
    if (name.empty()) {
        return MatrixProfile::defaults();
    }
    MatrixProfile p = store_->matrix(name);
    tell(owner);
    take(p);
    return p;
}

bool PanelProfiles::changeMatrix(Window& owner, const std::function<void(MatrixProfile&)>& change) {
    const std::string name = keeps() ? current(owner) : std::string();
    if (name.empty()) {
        return false; // no store, or no matrix chosen yet: nothing to keep it for
    }
    const MatrixProfile p = store_->changeMatrix(name, change);
    tell(owner);
    take(p);
    return true;
}

void PanelProfiles::take(const MatrixProfile& profile) {
    PortNames names(profile);
    if (names == names_) {
        return;
    }
    names_ = std::move(names);
    if (namesListener_) {
        namesListener_();
    }
}

PanelState PanelProfiles::panel(Window& owner) {
    if (!keeps()) {
        return PanelState{};
    }
    PanelState s = store_->panel();
    tell(owner);
    return s;
}

void PanelProfiles::changePanel(Window& owner, const std::function<void(PanelState&)>& change) {
    if (keeps()) {
        store_->changePanel(change);
        tell(owner);
    }
}

void PanelProfiles::tell(Window& owner) {
    if (!store_->notice().empty()) {
        ui_.messageBox(owner, store_->notice(), "Zentrel");
    }
}

} // namespace zentrel
