#pragma once
// The setting edit dialog's template: dialog 146 in the role that edits one stored routing,
// laid out so that every control lies inside the dialog.
#include "platform/DialogTemplate.h"

namespace zentrel {

const DialogTemplate& settingEditTemplate();

} // namespace zentrel
