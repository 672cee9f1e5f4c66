#include "AboutBox.h"

#include "resources/DialogTemplates.h"

namespace zentrel {

void AboutBox::open() {
    doModal(aboutDialogTemplate());
}

void AboutBox::onInitDialog() {
    // Centred over the window it was opened from.
    if (parent() != nullptr) {
        const Rect owner = parent()->geometry();
        const Rect g = geometry();
        const int x = owner.left + (owner.width() - g.width()) / 2;
        const int y = owner.top + (owner.height() - g.height()) / 2;
        setGeometry(Rect{x, y, x + g.width(), y + g.height()});
    }
}

void AboutBox::onCommand(int id, int code) {
    if (id == IDOK && code == BN_CLICKED) {
        onOk();
    }
}

} // namespace zentrel
