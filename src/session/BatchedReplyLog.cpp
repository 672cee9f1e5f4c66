#include "BatchedReplyLog.h"

#include "protocol/HexText.h"
#include "ReceiveLog.h"

namespace zentrel {

void BatchedReplyLog::serialByte(std::uint8_t b, bool endsLine) {
    pending_ += hexByte(b);
    if (endsLine) {
        pending_ += "\r\n";
    }
}

void BatchedReplyLog::hex(std::uint8_t b) {
    pending_ += hexByte(b);
}

void BatchedReplyLog::lineBreak() {
    pending_ += "\r\n";
}

void BatchedReplyLog::flush(bool always) {
    if (pending_.empty() || (!always && pending_.size() < kHoldLimit)) {
        return;
    }
    log_.appendText(pending_);
    pending_.clear();
}

} // namespace zentrel
