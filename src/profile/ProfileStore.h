#pragma once
// The kept profiles in one folder: one file per matrix, named by how the matrix is reached, and
// the panel's own state. Every change is made under the file's lock on what is on the disk at that
// moment, so two programs changing the same profile keep each other's changes. A file that
// cannot be taken is set aside as NAME.bad and the defaults are used; what went wrong is left as a
// notice in words. Nothing here throws.
#include "MatrixProfile.h"
#include "PanelState.h"
#include "ProfileFiles.h"

#include <functional>
#include <string>

namespace zentrel {

class ProfileStore {
public:
    ProfileStore(std::string folder, ProfileFiles& files);

    // $XDG_CONFIG_HOME/zentrel, or ~/.config/zentrel.
    static std::string defaultFolder();
    // The profile names of a matrix on COM port `port`, or at `ip`:`port` over TCP.
    static std::string comProfile(int port);
    static std::string tcpProfile(const std::string& ip, int port);
    // The profile of the target a panel state holds last: its COM port or its address; empty
    // when it holds none.
    static std::string lastProfile(const PanelState& state);

    MatrixProfile matrix(const std::string& name);
    // Applies `change` to the profile as it is on the disk now and writes the result, unless it
    // changed nothing or would not read back.
    MatrixProfile changeMatrix(const std::string& name,
                               const std::function<void(MatrixProfile&)>& change);
    PanelState panel();
    PanelState changePanel(const std::function<void(PanelState&)>& change);

    // What the last call had to report (a file set aside, a file not written); empty if nothing.
    const std::string& notice() const { return notice_; }
    // Whether the last call could not read or write the file (the notice says why); a file set
    // aside is no failure, its defaults are what the call gives.
    bool failed() const { return failed_; }
    std::string pathOf(const std::string& name) const;

private:
    template <class T>
    T take(const std::string& name, T (*from)(const std::string&), std::string (*to)(const T&),
           T value, const std::function<void(T&)>* change);

    std::string folder_;
    ProfileFiles& files_;
    std::string notice_;
    bool failed_ = false;
};

} // namespace zentrel
