#include "SerialByteMessage.h"

#include "protocol/ReplyAssembler.h"
#include "state/SharedState.h"

namespace zentrel {

SerialByteOutcome onSerialByteMessage(ReplyAssembler& assembler, int controlMode, WParam wp,
                                      LParam lp) {
    if (controlMode == kModeTcp) {
        return {0, std::nullopt};
    }
    if (lp < 1 || lp > 255) {
        return {-1, std::nullopt};
    }
    return {0, assembler.feed(static_cast<std::uint8_t>(wp & 0xFF))};
}

} // namespace zentrel
