#pragma once
// The simulated matrix on the virtual segment's UDP: the discovery probe on port 30600 and
// configuration records on 30601, answered by broadcast as the real unit does.
#include "FrameRecorder.h"
#include "platform/sim/VirtualNetwork.h"
#include "platform/sim/VirtualUdpPeer.h"
#include "sim/model/MatrixModel.h"

#include <functional>
#include <memory>
#include <string>

namespace zentrel::sim {

class UdpMatrixAdapter {
public:
    UdpMatrixAdapter(MatrixModel& model, VirtualNetwork& network, const std::string& ip,
                     FrameRecorder* recorder = nullptr);
    // Discovery answers are not sent while silent (a matrix that is switched off or absent).
    void setSilent(bool silent) { silent_ = silent; }
    // Called with the new dotted address when a configuration record moved the unit.
    void onAddressChanged(std::function<void(const std::string&)> fn) { moved_ = std::move(fn); }

private:
    void answer(VirtualUdpPeer& peer, const VirtualDatagram& d, bool discovery);

    MatrixModel& model_;
    VirtualNetwork& network_;
    FrameRecorder* recorder_;
    std::shared_ptr<VirtualUdpPeer> discovery_;
    std::shared_ptr<VirtualUdpPeer> config_;
    bool silent_ = false;
    std::function<void(const std::string&)> moved_;
};

} // namespace zentrel::sim
