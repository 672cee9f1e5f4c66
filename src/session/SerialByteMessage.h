#pragma once
// The WM_SERIAL_BYTE entry every page shares: wParam is the byte, lParam the port number. A byte
// that still trickles in after the switch to TCP belongs to no request and is ignored (result
// 0); a port number outside 1..255 is ignored (result -1). Otherwise the byte is fed to the
// page's assembler (result 0), which may complete a frame.
#include "platform/Messages.h"
#include "protocol/AssembledFrame.h"

#include <optional>

namespace zentrel {

class ReplyAssembler;

struct SerialByteOutcome {
    LParam result = 0;
    std::optional<AssembledFrame> frame;
};

SerialByteOutcome onSerialByteMessage(ReplyAssembler& assembler, int controlMode, WParam wp,
                                      LParam lp);

} // namespace zentrel
