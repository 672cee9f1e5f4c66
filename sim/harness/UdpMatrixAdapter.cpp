#include "UdpMatrixAdapter.h"

#include "platform/sim/VirtualEventLoop.h"

namespace zentrel::sim {

UdpMatrixAdapter::UdpMatrixAdapter(MatrixModel& model, VirtualNetwork& network,
                                   const std::string& ip, FrameRecorder* recorder)
    : model_(model), network_(network), recorder_(recorder),
      discovery_(network.openUdpPeer(ip, NetworkResponder::kDiscoveryPort)),
      config_(network.openUdpPeer(ip, NetworkResponder::kConfigPort)) {
    discovery_->onDatagram([this](const VirtualDatagram& d) { answer(*discovery_, d, true); });
    config_->onDatagram([this](const VirtualDatagram& d) { answer(*config_, d, false); });
}

void UdpMatrixAdapter::answer(VirtualUdpPeer& peer, const VirtualDatagram& d, bool discovery) {
    if (silent_) {
        return;
    }
    NetworkResponder& net = model_.network();
    const auto reply = discovery ? net.onDiscovery(d.bytes) : net.onConfig(d.bytes);
    if (!reply) {
        return; // its own broadcasts coming back, records for other units
    }
    const std::int64_t now = network_.loop().nowMs();
    if (recorder_ != nullptr) {
        recorder_->add({now, FrameRecord::Direction::ToMatrix, "UDP", hexBytes(d.bytes),
                        discovery ? "discovery probe" : "configuration record"});
        recorder_->add({now, FrameRecord::Direction::FromMatrix, "UDP", hexBytes(*reply),
                        discovery ? "discovery record" : "configuration answer"});
    }
    peer.sendTo(*reply, VirtualNetwork::kBroadcast, peer.port());
}

} // namespace zentrel::sim
