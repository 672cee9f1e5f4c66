#pragma once
// Dialog template 143: the FW Upgrade page's controls and where they sit.
#include "platform/DialogTemplate.h"

namespace zentrel {

const DialogTemplate& firmwarePageTemplate();

} // namespace zentrel
