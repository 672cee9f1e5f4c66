#pragma once
// The dialog templates of the program, by resource number.
#include "platform/DialogTemplate.h"

namespace zentrel {

// Throws std::out_of_range for a number that is not a dialog of this program.
const DialogTemplate& dialogTemplate(int id);

// Each template, for the window that is built from it.
const DialogTemplate& mainDialogTemplate();
const DialogTemplate& noticeDialogTemplate();
const DialogTemplate& progressDialogTemplate();
const DialogTemplate& configBoxDialogTemplate();
const DialogTemplate& aboutDialogTemplate();
// Stand-ins for the four pages until each page brings its own controls.
const DialogTemplate& pageStandInTemplate(int id);

} // namespace zentrel
