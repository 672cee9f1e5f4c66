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
    const auto before = model_.state().ip;
    const auto replies = discovery ? net.answerDiscovery(d.bytes) : net.answerConfig(d.bytes);
    if (const auto& ip = model_.state().ip; ip != before && moved_) {
        moved_(std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) +
               "." + std::to_string(ip[3]));
    }
    if (replies.empty()) {
        return; // its own broadcasts coming back, records for other units
    }
    if (recorder_ != nullptr) {
        recorder_->add({network_.loop().nowMs(), FrameRecord::Direction::ToMatrix, "UDP",
                        hexBytes(d.bytes), discovery ? "discovery probe" : "configuration record"});
    }
    for (const NetworkResponder::Datagram& reply : replies) {
        network_.loop().schedule(reply.delayMs, [this, &peer, bytes = reply.bytes, discovery] {
            if (recorder_ != nullptr) {
                recorder_->add({network_.loop().nowMs(), FrameRecord::Direction::FromMatrix, "UDP",
                                hexBytes(bytes),
                                discovery ? "discovery record" : "configuration answer"});
            }
            peer.sendTo(bytes, VirtualNetwork::kBroadcast, peer.port());
        });
    }
}

} // namespace zentrel::sim
