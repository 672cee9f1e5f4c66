#include "EdidDetailsWindow.h"

#include "EdidIds.h"
#include "platform/UiServices.h"
#include "resources/TemplateParts.h"

namespace zentrel::edid {

namespace {

const DialogTemplate& detailsTemplate() {
    using K = ControlKind;
    using tpl::item;
    static const DialogTemplate t = [] {
        DialogTemplate d{kDetailsTemplate, kDetailsTitle, 320, 200, {}};
        d.controls.push_back(item(kDetailsHeading, K::Static, "", 6, 5, 308, 10));
        ControlTemplate text =
            tpl::named(item(kDetailsText, K::Edit, "", 6, 18, 308, 158), "EDID decode");
        text.multiline = true;
        text.readOnly = true;
        d.controls.push_back(text);
        d.controls.push_back(item(kDetailsCopyAll, K::Button, kCopyAll, 254, 181, 60, 14));
        return d;
    }();
    return t;
}

} // namespace

EdidDetailsWindow::EdidDetailsWindow(EventLoop& loop, UiServices& ui) : Window(loop), ui_(ui) {}

void EdidDetailsWindow::setContent(const std::string& heading, const std::string& text) {
    heading_ = heading;
    text_ = text;
    if (created()) {
        fill();
    }
}

void EdidDetailsWindow::open(const Rect& owner) {
    if (!created()) {
        create(detailsTemplate());
        centreOn(owner);
    }
    fill();
    setMinimized(false);
    if (isVisible()) {
        // A window the desktop maps anew comes to the front.
        hide();
    }
    show();
}

void EdidDetailsWindow::fill() {
    setText(kDetailsHeading, heading_);
    setText(kDetailsText, text_);
}

void EdidDetailsWindow::onCommand(int id, int code) {
    if (id == kDetailsCopyAll && code == BN_CLICKED) {
        ui_.copyText(text(kDetailsText));
    }
}

} // namespace zentrel::edid
