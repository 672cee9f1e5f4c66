#pragma once
// The EDID page's dialog template (149), laid out for eight inputs; the page cuts it to four.
#include "platform/DialogTemplate.h"

namespace zentrel {

const DialogTemplate& edidPageTemplate();

} // namespace zentrel
