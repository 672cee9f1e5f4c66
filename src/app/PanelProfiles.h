#pragma once
// The kept profiles as the panel uses them: the profile of the matrix the panel is linked to (or
// was linked to last), and the panel's own state. Without a store (a test that keeps nothing)
// every read gives the defaults and every change is dropped. What the store had to report (a
// file set aside, a file not written) is told to the user in a message box.
#include "profile/MatrixProfile.h"
#include "profile/PanelState.h"

#include <functional>
#include <string>

namespace zentrel {

class ProfileStore;
class UiServices;
class Window;
struct SharedState;

class PanelProfiles {
public:
    PanelProfiles(ProfileStore* store, SharedState& state, UiServices& ui)
        : store_(store), state_(state), ui_(ui) {}

    bool keeps() const { return store_ != nullptr; }
    // The profile of the link of the current mode: the COM port last connected, or the address
    // of the TCP link; else the last target kept. Empty when there is none.
    std::string current(Window& owner);
    MatrixProfile matrix(Window& owner);
    void changeMatrix(Window& owner, const std::function<void(MatrixProfile&)>& change);
    PanelState panel(Window& owner);
    void changePanel(Window& owner, const std::function<void(PanelState&)>& change);

private:
    void tell(Window& owner);

    ProfileStore* store_;
    SharedState& state_;
    UiServices& ui_;
};

} // namespace zentrel
