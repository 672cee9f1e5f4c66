#include "AboutBox.h"

#include "resources/DialogTemplates.h"

namespace zentrel {

void AboutBox::open() {
    doModal(aboutDialogTemplate());
}

void AboutBox::onInitDialog() {
    // Centred over the window it was opened from.
    if (parent() != nullptr) {
        centreOn(parent()->geometry());
    }
}

void AboutBox::onCommand(int id, int code) {
    if (id == IDOK && code == BN_CLICKED) {
        onOk();
    }
}

} // namespace zentrel
