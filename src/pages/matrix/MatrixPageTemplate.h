#pragma once
// The Matrix page's dialog template (144): eight output groups with their number boxes, input
// buttons and arrows, the output-configuration panel, the settings list and the hidden logs.
#include "platform/DialogTemplate.h"

namespace zentrel {

const DialogTemplate& matrixPageTemplate();

} // namespace zentrel
