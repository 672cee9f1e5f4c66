#include "ReplyPump.h"

namespace zentrel::sim {

void ReplyPump::send(const Reply& reply, const std::string& link, Sink sink) {
    auto shared = std::make_shared<const Reply>(reply);
    for (std::size_t i = 0; i < reply.pieces.size(); ++i) {
        const bool last = i + 1 == reply.pieces.size();
        loop_.schedule(
            reply.pieces[i].delayMs, [this, alive = alive_, shared, i, last, link, sink] {
                if (!*alive) {
                    return;
                }
                const Piece& p = shared->pieces[i];
                sink(std::span<const std::uint8_t>(shared->bytes).subspan(p.offset, p.length));
                if (last && recorder_ != nullptr) {
                    recorder_->add({loop_.nowMs(), FrameRecord::Direction::FromMatrix, link,
                                    hexBytes(shared->bytes), shared->name});
                }
            });
    }
}

void ReplyPump::recordInbound(const Exchange& ex, const std::string& link) {
    if (recorder_ == nullptr) {
        return;
    }
    for (const Inbound& in : ex.in) {
        recorder_->add(
            {loop_.nowMs(), FrameRecord::Direction::ToMatrix, link, hexBytes(in.bytes), in.name});
    }
}

} // namespace zentrel::sim
