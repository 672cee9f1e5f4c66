#pragma once
// The EDID page's dialog template (149), laid out for eight inputs; the page lays it out for the
// unit.
#include "platform/DialogTemplate.h"

namespace zentrel {

const DialogTemplate& edidPageTemplate();

} // namespace zentrel
