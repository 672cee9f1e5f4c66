#pragma once
// Dialog template 145: the General page's controls, laid out in dialog units to fill the main
// window below its caption bar.
#include "platform/DialogTemplate.h"

namespace zentrel {

const DialogTemplate& generalPageTemplate();

} // namespace zentrel
