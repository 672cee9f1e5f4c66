#include "SkinButton.h"

#include "SystemColors.h"
#include "platform/UiServices.h"
#include "platform/Window.h"
#include "resources/IconCatalog.h"

#include <algorithm>

namespace zentrel {

namespace {

bool validIndex(int index) {
    return index >= 0 && index < SkinButton::kSlots;
}

} // namespace

SkinButton::SkinButton() {
    resetColors(false);
}

void SkinButton::attach(Window& w, int id) {
    window_ = &w;
    id_ = id;
    if (w.hasControl(id) && w.control(id).kind == ControlKind::CheckBox) {
        checkMode_ = true;
        checked_ = w.isChecked(id);
    }
}

int SkinButton::setColor(int index, Color c, bool repaintNow) {
    if (!validIndex(index)) {
        return kBadIndex;
    }
    colors_[static_cast<std::size_t>(index)] = c;
    if (repaintNow) {
        repaint();
    }
    return kOk;
}

int SkinButton::shiftColor(int index, int offset, bool repaintNow) {
    if (!validIndex(index)) {
        return kBadIndex;
    }
    if (offset < -255 || offset > 255) {
        return kBadOffset;
    }
    Color& c = colors_[static_cast<std::size_t>(index)];
    // One offset for all three parts keeps the hue; it is cut where the first part would leave
    // the range, so the colour never wraps round.
    if (offset > 0) {
        offset = std::min(offset, 255 - std::max({c.r, c.g, c.b}));
    } else {
        offset = std::max(offset, -static_cast<int>(std::min({c.r, c.g, c.b})));
    }
    c = rgb(c.r + offset, c.g + offset, c.b + offset);
    if (repaintNow) {
        repaint();
    }
    return kOk;
}

void SkinButton::resetColors(bool repaintNow) {
    for (int i = 0; i < kSlots; i += 2) {
        colors_[static_cast<std::size_t>(i)] = SystemColors::ButtonFace;
        colors_[static_cast<std::size_t>(i + 1)] = SystemColors::ButtonText;
    }
    if (repaintNow) {
        repaint();
    }
}

int SkinButton::setIcons(int in, int out, bool repaintNow) {
    if (!iconSize(in) || (out != 0 && !iconSize(out))) {
        iconIn_ = 0;
        iconOut_ = 0;
        if (repaintNow) {
            repaint();
        }
        return kNoResource;
    }
    iconIn_ = in;
    iconOut_ = out;
    if (repaintNow) {
        repaint();
    }
    return kOk;
}

int SkinButton::setCursor(int cursorId) {
    if (!cursorExists(cursorId)) {
        cursor_ = 0;
        return kNoResource;
    }
    cursor_ = cursorId;
    return kOk;
}

void SkinButton::setTooltip(const std::string& text, bool activate) {
    tooltipCreated_ = true;
    tooltip_ = text;
    tooltipActive_ = activate;
    if (window_ != nullptr && window_->hasControl(id_)) {
        window_->setTooltip(id_, activate ? text : std::string());
    }
}

void SkinButton::setAddress(const std::string& address) {
    address_ = address.substr(0, std::min(address.size(), kMaxAddress));
}

void SkinButton::setMenu(std::vector<MenuEntry> entries, Window* receiver) {
    menu_ = std::move(entries);
    menuReceiver_ = receiver;
}

void SkinButton::setFlat(bool flat, bool repaintNow) {
    flat_ = flat;
    if (repaintNow) {
        repaint();
    }
}

void SkinButton::setDrawBorder(bool border, bool repaintNow) {
    drawBorder_ = border;
    if (repaintNow) {
        repaint();
    }
}

void SkinButton::setFlatFocus(bool focus, bool repaintNow) {
    flatFocus_ = focus;
    if (repaintNow) {
        repaint();
    }
}

void SkinButton::setTransparent(bool transparent, bool repaintNow) {
    transparent_ = transparent;
    if (repaintNow) {
        repaint();
    }
}

void SkinButton::setChecked(bool on, bool repaintNow) {
    checked_ = on;
    if (repaintNow) {
        repaint();
    }
}

void SkinButton::mouseMove(bool leftHeld, bool overThis, bool appActive) {
    // A drag that started elsewhere must not light the button up, and a raised button has no
    // hover look at all.
    if ((leftHeld && !pointerOver_) || !flat_) {
        return;
    }
    const bool over = overThis && appActive;
    if (over != pointerOver_) {
        pointerOver_ = over;
        repaint();
    }
}

void SkinButton::mouseLeave() {
    if (pointerOver_) {
        pointerOver_ = false;
        repaint();
    }
}

void SkinButton::disabled() {
    pointerOver_ = false;
}

SkinButton::ClickResult SkinButton::click(UiServices* services) {
    if (checkMode_) {
        checked_ = !checked_;
        repaint();
        return ClickResult::Toggled;
    }
    if (!menu_.empty()) {
        return ClickResult::ShowMenu;
    }
    if (!address_.empty()) {
        if (services != nullptr) {
            services->openAddress(address_);
        }
        return ClickResult::OpenedAddress;
    }
    return ClickResult::None;
}

void SkinButton::menuChosen(unsigned command) {
    if (menuReceiver_ != nullptr && command != 0) {
        menuReceiver_->onCommand(static_cast<int>(command), BN_CLICKED);
    }
}

SkinButton::Look SkinButton::look(const DrawState& s) const {
    Look l;
    const bool pressed = checkMode_ ? (checked_ || s.pressed) : s.pressed;
    l.hot = pointerOver_ || pressed;
    l.blackFrame = !flat_ && (s.focused || defaultButton_);
    l.transparent = transparent_;
    // The focus slot only colours the background: text keeps the normal colour.
    l.back = l.hot ? colors_[BackIn] : (s.focused ? colors_[BackFocus] : colors_[BackOut]);
    l.text = l.hot ? colors_[ForeIn] : colors_[ForeOut];
    if (!flat_) {
        l.edge = pressed ? Edge::ShadowFrame : Edge::ThreeD;
    } else if (drawBorder_) {
        l.edge = pressed ? Edge::SunkenThin : (pointerOver_ ? Edge::RaisedThin : Edge::None);
    }
    l.icon = (l.hot || iconOut_ == 0) ? iconIn_ : iconOut_;
    l.iconDisabled = s.disabled;
    l.textOffset = pressed && !checkMode_;
    l.embossedText = s.disabled;
    l.focusRect = s.focused && (!flat_ || flatFocus_);
    return l;
}

void SkinButton::repaint() {
    ++repaints_;
    if (repaintHandler_) {
        repaintHandler_();
    }
}

} // namespace zentrel
