#include "Window.h"

#include "WindowObserver.h"

#include <stdexcept>

namespace zentrel {

Window::Window(EventLoop& loop, Window* parent) : loop_(loop), parent_(parent) {
    loop_.adopt(*this);
}

Window::~Window() {
    loop_.forget(*this);
    if (created_ && loop_.observer() != nullptr) {
        loop_.observer()->windowDestroyed(*this);
    }
}

void Window::create(const DialogTemplate& t) {
    if (created_) {
        return;
    }
    templateId_ = t.id;
    if (title_.empty()) {
        title_ = t.title;
    }
    geometry_ = Rect{geometry_.left, geometry_.top, geometry_.left + t.width * kPixelsPerDialogUnit,
                     geometry_.top + t.height * kPixelsPerDialogUnit};
    for (const ControlTemplate& c : t.controls) {
        addControl(c);
    }
    created_ = true;
    if (loop_.observer() != nullptr) {
        loop_.observer()->windowCreated(*this);
    }
    onInitDialog();
}

int Window::doModal(const DialogTemplate& t) {
    if (inModal_) {
        // Opened again while an earlier opening still waits. An open dialog only takes the new
        // opening's initialisation; one closed earlier in this same turn (a handler closing a
        // notice to show the next) opens again, and the view learns of one closing and one
        // opening. Either way this opening, like every other, returns only once the dialog it
        // opened has closed: its loop runs on top of the waiting ones, which unwind after it.
        const bool reopened = modalEnded_;
        modalEnded_ = false;
        if (reopened && loop_.observer() != nullptr) {
            loop_.observer()->modalEnded(*this);
        }
        onInitDialog();
        show();
        if (reopened && loop_.observer() != nullptr) {
            loop_.observer()->modalStarted(*this);
        }
        if (!modalEnded_) {
            loop_.runModal(*this);
        }
        return modalResult_;
    }
    modalEnded_ = false;
    modalResult_ = 0;
    if (!created_) {
        create(t);
    } else {
        onInitDialog();
    }
    inModal_ = true;
    show();
    if (loop_.observer() != nullptr) {
        loop_.observer()->modalStarted(*this);
    }
    if (!modalEnded_) {
        loop_.runModal(*this);
    }
    inModal_ = false;
    hide();
    if (loop_.observer() != nullptr) {
        loop_.observer()->modalEnded(*this);
    }
    return modalResult_;
}

void Window::endDialog(int code) {
    modalResult_ = code;
    modalEnded_ = true;
    if (inModal_) {
        // Off the screen at once, even while a dialog opened after it keeps its loop from
        // unwinding.
        hide();
        loop_.modalEndRequested(*this);
    }
}

void Window::show(bool visible) {
    if (visible_ != visible) {
        visible_ = visible;
        windowChanged();
    }
}

void Window::setTitle(const std::string& t) {
    title_ = t;
    windowChanged();
}

void Window::setGeometry(const Rect& r) {
    geometry_ = r;
    windowChanged();
}

void Window::moveTo(int x, int y) {
    setGeometry(Rect{x, y, x + geometry_.width(), y + geometry_.height()});
}

void Window::centreOn(const Rect& area) {
    moveTo(area.left + (area.width() - geometry_.width()) / 2,
           area.top + (area.height() - geometry_.height()) / 2);
}

void Window::setOpacity(int alpha) {
    opacity_ = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
    windowChanged();
}

void Window::setCornerEllipse(int size) {
    corner_ = size;
    windowChanged();
}

void Window::setMinimized(bool m) {
    minimized_ = m;
    windowChanged();
}

const Control& Window::control(int id) const {
    auto it = controls_.find(id);
    if (it == controls_.end()) {
        throw std::out_of_range("window " + std::to_string(templateId_) + " has no control " +
                                std::to_string(id));
    }
    return it->second;
}

Control& Window::mutableControl(int id) {
    return const_cast<Control&>(control(id));
}

Control& Window::addControl(const ControlTemplate& t) {
    Control c;
    c.id = t.id;
    c.kind = t.kind;
    c.text = t.caption;
    c.visible = t.visible;
    c.enabled = t.enabled;
    c.rect = dialogUnitsToPixels(t.x, t.y, t.w, t.h);
    c.group = t.group;
    c.icon = t.icon;
    c.multiline = t.multiline;
    c.readOnly = t.readOnly;
    c.centred = t.centred;
    c.pushLike = t.pushLike;
    c.accessibleName = t.accessibleName.empty() ? t.caption : t.accessibleName;
    c.accessiblePrefix = t.accessiblePrefix;
    controls_[t.id] = c;
    return controls_[t.id];
}

void Window::changed(int id) {
    if (created_ && loop_.observer() != nullptr) {
        loop_.observer()->controlChanged(*this, id);
    }
}

void Window::windowChanged() {
    if (created_ && loop_.observer() != nullptr) {
        loop_.observer()->windowChanged(*this);
    }
}

void Window::setText(int id, const std::string& text) {
    Control& c = mutableControl(id);
    if (c.text != text) {
        c.text = text;
        ++c.textRevision;
        changed(id);
    }
}

void Window::appendText(int id, const std::string& text) {
    Control& c = mutableControl(id);
    c.text += text;
    if (c.text.size() > kTextLimit) {
        std::size_t cut = c.text.size() - kTextKept;
        // Start at a line where one starts within the next line's length, so the box does not
        // begin with half a frame.
        const std::size_t lineStart = c.text.find('\n', cut);
        if (lineStart != std::string::npos && lineStart - cut < 256) {
            cut = lineStart + 1;
        }
        c.text.erase(0, cut);
        ++c.textRevision;
    }
    if (created_ && loop_.observer() != nullptr) {
        loop_.observer()->textAppended(*this, id);
    }
}

void Window::setChecked(int id, bool checked) {
    Control& c = mutableControl(id);
    if (c.checked != (checked ? 1 : 0)) {
        c.checked = checked ? 1 : 0;
        changed(id);
    }
}

void Window::enable(int id, bool enabled) {
    Control& c = mutableControl(id);
    if (c.enabled != enabled) {
        c.enabled = enabled;
        changed(id);
    }
}

void Window::showControl(int id, bool visible) {
    Control& c = mutableControl(id);
    if (c.visible != visible) {
        c.visible = visible;
        changed(id);
    }
}

void Window::setRect(int id, const Rect& r) {
    mutableControl(id).rect = r;
    changed(id);
}

void Window::setIcon(int id, int icon) {
    Control& c = mutableControl(id);
    if (c.icon != icon) {
        c.icon = icon;
        changed(id);
    }
}

void Window::setAccessiblePrefix(int id, const std::string& prefix) {
    mutableControl(id).accessiblePrefix = prefix;
    changed(id);
}

void Window::setAccessibleSuffix(int id, const std::string& suffix) {
    mutableControl(id).accessibleSuffix = suffix;
    changed(id);
}

void Window::setTooltip(int id, const std::string& tip) {
    mutableControl(id).tooltip = tip;
    changed(id);
}

void Window::setColors(int id, std::optional<Color> text, std::optional<Color> back) {
    Control& c = mutableControl(id);
    c.textColor = text;
    c.backColor = back;
    changed(id);
}

void Window::clearItems(int id) {
    Control& c = mutableControl(id);
    c.items.clear();
    c.selection = -1;
    changed(id);
}

int Window::addItem(int id, const std::string& item) {
    Control& c = mutableControl(id);
    c.items.push_back(item);
    changed(id);
    return static_cast<int>(c.items.size()) - 1;
}

void Window::insertItem(int id, int index, const std::string& item) {
    Control& c = mutableControl(id);
    if (index < 0 || index > static_cast<int>(c.items.size())) {
        index = static_cast<int>(c.items.size());
    }
    c.items.insert(c.items.begin() + index, item);
    if (c.selection >= index) {
        ++c.selection;
    }
    changed(id);
}

void Window::deleteItem(int id, int index) {
    Control& c = mutableControl(id);
    if (index < 0 || index >= static_cast<int>(c.items.size())) {
        return;
    }
    c.items.erase(c.items.begin() + index);
    if (c.selection == index) {
        c.selection = -1;
    } else if (c.selection > index) {
        --c.selection;
    }
    changed(id);
}

void Window::setSelection(int id, int index) {
    Control& c = mutableControl(id);
    const int count = c.kind == ControlKind::ListView ? static_cast<int>(c.rows.size())
                                                      : static_cast<int>(c.items.size());
    c.selection = (index >= 0 && index < count) ? index : -1;
    changed(id);
}

std::string Window::shownText(int id) const {
    const Control& c = control(id);
    if (c.selection >= 0 && c.selection < static_cast<int>(c.items.size())) {
        return c.items[static_cast<size_t>(c.selection)];
    }
    return {};
}

void Window::setColumns(int id, std::vector<std::string> columns) {
    mutableControl(id).columns = std::move(columns);
    changed(id);
}

void Window::setRows(int id, std::vector<std::vector<std::string>> rows) {
    mutableControl(id).rows = std::move(rows);
    changed(id);
}

void Window::setRange(int id, int min, int max) {
    Control& c = mutableControl(id);
    c.rangeMin = min;
    c.rangeMax = max;
    changed(id);
}

void Window::setPosition(int id, int pos) {
    mutableControl(id).position = pos;
    changed(id);
}

void Window::click(int id) {
    Control& c = mutableControl(id);
    if (!c.enabled || !c.visible) {
        return;
    }
    if (c.kind == ControlKind::CheckBox) {
        setChecked(id, c.checked == 0);
    } else if (c.kind == ControlKind::Radio) {
        for (auto& [otherId, other] : controls_) {
            if (other.kind == ControlKind::Radio && other.group == c.group && otherId != id &&
                other.checked != 0) {
                other.checked = 0;
                changed(otherId);
            }
        }
        setChecked(id, true);
    }
    onCommand(id, BN_CLICKED);
}

void Window::choose(int id, int index) {
    const Control& c = control(id);
    if (!c.enabled || !c.visible) {
        return;
    }
    setSelection(id, index);
    onCommand(id, c.kind == ControlKind::ListView ? LVN_ITEMCHANGED : CBN_SELCHANGE);
}

void Window::type(int id, const std::string& text) {
    const Control& c = control(id);
    if (!c.enabled || !c.visible) {
        return;
    }
    setText(id, text);
    onCommand(id, EN_CHANGE);
}

} // namespace zentrel
