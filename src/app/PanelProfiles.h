#pragma once
// The kept profiles as the panel uses them: the profile of the matrix the panel is linked to (or
// was linked to last), and the panel's own state. Without a store (a test that keeps nothing)
// every read gives the defaults and every change is dropped. What the store had to report (a
// file set aside, a file not written) is told to the user in a message box. The port names of
// the current profile are held as last read, so the pages show them without a read per text:
// every read and every change of that profile here takes them in, and a listener hears when
// they changed.
#include "PortNames.h"
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
    // False when there is nothing to write to: no store, or no matrix chosen yet. A write the
    // store could not make is told to the user; the change then holds for this run.
    bool changeMatrix(Window& owner, const std::function<void(MatrixProfile&)>& change);
    PanelState panel(Window& owner);
    void changePanel(Window& owner, const std::function<void(PanelState&)>& change);

    // The names as last read; reads the current profile again for them (as at a connect).
    const PortNames& names() const { return names_; }
    void readNames(Window& owner) { matrix(owner); }
    void setNamesListener(std::function<void()> listener) { namesListener_ = std::move(listener); }

private:
    void tell(Window& owner);
    void take(const MatrixProfile& profile);

    ProfileStore* store_;
    SharedState& state_;
    UiServices& ui_;
    PortNames names_;
    std::function<void()> namesListener_;
};

} // namespace zentrel
