#pragma once
#include "platform/DialogTemplate.h"

namespace zentrel {

// Dialog 187: the title strip, the address mode, the four octets and the six MAC bytes.
const DialogTemplate& tcpConfigDialogTemplate();

} // namespace zentrel
