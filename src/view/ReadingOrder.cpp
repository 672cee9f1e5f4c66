#include "ReadingOrder.h"

#include "WindowWidget.h"

#include <QGroupBox>

#include <algorithm>

namespace zentrel {

namespace {

// A control, or a block (a group box, a page) with the controls it holds in reading order.
struct Placed {
    QRect rect;
    std::vector<QWidget*> widgets;
};

// Splits `items` where a gap runs right across the window, rows first, then columns, and
// orders each part the same way. Items that overlap in both directions read by their top left.
std::vector<Placed> cut(std::vector<Placed> items, bool rows = true, bool triedOther = false) {
    if (items.size() <= 1) {
        return items;
    }
    const auto start = [rows](const Placed& p) { return rows ? p.rect.top() : p.rect.left(); };
    const auto end = [rows](const Placed& p) {
        return rows ? p.rect.bottom() + 1 : p.rect.right() + 1;
    };
    std::stable_sort(items.begin(), items.end(),
                     [&](const Placed& a, const Placed& b) { return start(a) < start(b); });
    std::vector<std::vector<Placed>> parts{{items.front()}};
    int reach = end(items.front());
    for (std::size_t i = 1; i < items.size(); ++i) {
        if (start(items[i]) >= reach) {
            parts.emplace_back();
        }
        reach = std::max(reach, end(items[i]));
        parts.back().push_back(items[i]);
    }
    if (parts.size() == 1) {
        if (!triedOther) {
            return cut(std::move(items), !rows, true);
        }
        std::stable_sort(items.begin(), items.end(), [](const Placed& a, const Placed& b) {
            return a.rect.top() != b.rect.top() ? a.rect.top() < b.rect.top()
                                                : a.rect.left() < b.rect.left();
        });
        return items;
    }
    std::vector<Placed> out;
    for (auto& part : parts) {
        for (Placed& p : cut(std::move(part), !rows)) {
            out.push_back(std::move(p));
        }
    }
    return out;
}

std::vector<QWidget*> flatten(std::vector<Placed> items) {
    std::vector<QWidget*> out;
    for (const Placed& p : cut(std::move(items))) {
        out.insert(out.end(), p.widgets.begin(), p.widgets.end());
    }
    return out;
}

bool takesTabFocus(const QWidget& w) {
    return (w.focusPolicy() & Qt::TabFocus) != 0;
}

} // namespace

std::vector<QWidget*> readingOrder(const QWidget& container) {
    std::vector<const QGroupBox*> groups;
    std::vector<Placed> loose;
    std::vector<std::pair<const QGroupBox*, Placed>> grouped;
    const auto children = container.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (auto* g = qobject_cast<QGroupBox*>(child); g != nullptr && !g->isHidden()) {
            groups.push_back(g);
        }
    }
    for (QWidget* child : children) {
        if (child->isWindow() || child->isHidden() || qobject_cast<QGroupBox*>(child) != nullptr) {
            continue;
        }
        Placed p{child->geometry(), {}};
        if (qobject_cast<WindowWidget*>(child) != nullptr) {
            p.widgets = readingOrder(*child); // a page inside the window
        } else if (takesTabFocus(*child)) {
            p.widgets = {child};
        }
        if (p.widgets.empty()) {
            continue;
        }
        // The smallest group box round the control's middle holds it.
        const QGroupBox* holder = nullptr;
        for (const QGroupBox* g : groups) {
            if (g->geometry().contains(p.rect.center()) &&
                (holder == nullptr ||
                 g->geometry().width() * g->geometry().height() <
                     holder->geometry().width() * holder->geometry().height())) {
                holder = g;
            }
        }
        if (holder != nullptr) {
            grouped.emplace_back(holder, std::move(p));
        } else {
            loose.push_back(std::move(p));
        }
    }
    for (const QGroupBox* g : groups) {
        std::vector<Placed> members;
        for (auto& [holder, p] : grouped) {
            if (holder == g) {
                members.push_back(p);
            }
        }
        if (!members.empty()) {
            loose.push_back(Placed{g->geometry(), flatten(std::move(members))});
        }
    }
    return flatten(std::move(loose));
}

} // namespace zentrel
