#include "WindowWidget.h"

#include "ControlView.h"
#include "LogTextEdit.h"
#include "QtWindowHost.h"
#include "ReadingOrder.h"
#include "SkinButtonWidget.h"
#include "platform/Window.h"
#include "ui/SkinButton.h"
#include "ui/WindowSkin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace zentrel {

namespace {

QRect toQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

// Keeps the syncing count balanced on every way out.
class SyncScope {
public:
    explicit SyncScope(int& n) : n_(n) { ++n_; }
    ~SyncScope() { --n_; }
    SyncScope(const SyncScope&) = delete;
    SyncScope& operator=(const SyncScope&) = delete;

private:
    int& n_;
};

} // namespace

WindowWidget::WindowWidget(Window& w, QtWindowHost& host)
    : QWidget(nullptr), window_(&w), host_(host) {
    setMouseTracking(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    QFont f = font();
    f.setPixelSize(12);
    setFont(f);
}

WindowWidget::~WindowWidget() = default;

WindowSkin* WindowWidget::skin() const {
    return window_ == nullptr ? nullptr : dynamic_cast<WindowSkin*>(window_);
}

SkinButton* WindowWidget::skinButton(int id) const {
    WindowSkin* s = skin();
    return s == nullptr ? nullptr : s->skinButton(id);
}

void WindowWidget::forgetWindow() {
    window_ = nullptr;
    for (auto& [id, widget] : controls_) {
        if (widget) {
            widget->setEnabled(false);
        }
    }
}

void WindowWidget::place() {
    // Decided once, when the window is first shown: a window with a parent that is not run
    // modally is a page inside its parent; everything else is a window of its own. Skinned
    // windows draw their own chrome; plain dialogs get the desktop's title bar.
    placed_ = true;
    WindowWidget* parentWidget =
        window_->parent() != nullptr ? host_.widgetFor(*window_->parent()) : nullptr;
    const Qt::WindowFlags chrome =
        skin() != nullptr ? Qt::FramelessWindowHint : Qt::WindowFlags(Qt::WindowTitleHint);
    if (parentWidget != nullptr && !window_->inModal()) {
        setParent(parentWidget, Qt::Widget);
    } else if (parentWidget != nullptr) {
        setParent(parentWidget, Qt::Dialog | chrome);
    } else {
        setParent(nullptr, Qt::Window | chrome);
    }
    if (window_->inModal()) {
        setWindowModality(Qt::ApplicationModal);
    }
}

void WindowWidget::showBeforeBuilding() {
    // Qt connects to the session's accessibility bus at the first accessibility event of the
    // program (any control shown or named); a window shown with no controls yet asks for its map
    // first, so that wait runs while the window server maps it, as for any window. Its controls
    // are built in this same turn of the loop, so the first frame painted holds them all.
    setGeometry(toQRect(window_->geometry()));
    applyMask();
    setVisible(true);
}

void WindowWidget::build() {
    built_ = true;
    for (const auto& [id, control] : window_->controls()) {
        buildControl(id);
    }
    raiseFrames();
}

void WindowWidget::buildControl(int id) {
    QWidget* w = createControlWidget(*this, window_->control(id));
    w->installEventFilter(this);
    controls_[id] = w;
    syncControl(id);
}

void WindowWidget::raiseFrames() {
    // A window's frame lies over its controls and pages, as the frame is drawn last.
    for (auto& [id, widget] : controls_) {
        if (widget && window_->hasControl(id) && window_->control(id).kind == ControlKind::Frame) {
            widget->raise();
        }
    }
}

void WindowWidget::syncWindow() {
    if (window_ == nullptr) {
        return;
    }
    SyncScope scope(syncing_);
    if (window_->isVisible() && !placed_) {
        place();
    }
    if (window_->isVisible() && !built_) {
        if (isWindow() && !isVisible()) {
            showBeforeBuilding();
        }
        build();
    }
    setWindowTitle(QString::fromStdString(window_->title()));
    const QRect g = toQRect(window_->geometry());
    if (geometry() != g) {
        const bool resized = geometry().size() != g.size();
        setGeometry(g);
        if (resized && built_) {
            // Which controls lie inside the window's area may have changed.
            for (const auto& [id, control] : window_->controls()) {
                syncControl(id);
            }
        }
    }
    if (isWindow()) {
        setWindowOpacity(window_->opacity() / 255.0);
    }
    applyMask();
    if (window_->isVisible() != isVisible()) {
        // A pop-up or dialog that closes while it has the keyboard hands it back to the window
        // it belongs to (or another one still shown), so the keyboard is not left with none
        // where no window manager picks the next window.
        const bool handBack = !window_->isVisible() && isWindow() && isActiveWindow();
        setVisible(window_->isVisible());
        if (handBack) {
            handKeyboardBack();
        }
        if (window_->isVisible() && !isWindow()) {
            if (auto* parent = qobject_cast<WindowWidget*>(parentWidget())) {
                parent->raiseFrames();
                parent->focusShownPage(*this);
            }
        }
    }
    if (placed_) {
        // Announced by the title it shows now ("Zentrel Ver6.26"), not the one it started with;
        // named once it is shown, so naming it is not the program's first accessibility event.
        setAccessibleName(spokenName());
    }
    if (isWindow() && window_->isVisible()) {
        if (window_->minimized() && !isMinimized()) {
            showMinimized();
        } else if (!window_->minimized() && isMinimized()) {
            showNormal();
        }
    }
    update();
}

void WindowWidget::handKeyboardBack() {
    QWidget* next = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    if (next == nullptr || !next->isVisible()) {
        next = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != this && w->isVisible() && qobject_cast<WindowWidget*>(w) != nullptr) {
                next = w;
                break;
            }
        }
    }
    if (next != nullptr) {
        next->activateWindow();
    }
}

void WindowWidget::syncControl(int id) {
    if (window_ == nullptr || !built_ || !window_->hasControl(id)) {
        return;
    }
    auto it = controls_.find(id);
    if (it == controls_.end() || !it->second) {
        buildControl(id); // added after the window was built
        raiseFrames();
        return;
    }
    if (qobject_cast<QProgressBar*>(it->second.data()) != nullptr) {
        deferredBars_.insert(id);
        if (!barsScheduled_) {
            barsScheduled_ = true;
            QTimer::singleShot(0, this, &WindowWidget::syncDeferredBars);
        }
        return;
    }
    SyncScope scope(syncing_);
    syncControlWidget(*this, *it->second, window_->control(id));
    if (placed_ && window_->title().empty() && window_->control(id).kind == ControlKind::Static) {
        setAccessibleName(spokenName());
    }
}

QString WindowWidget::spokenName() const {
    if (!window_->title().empty()) {
        return QString::fromStdString(window_->title());
    }
    // A pop-up without a title ("Time out!", "Setting . . .") is announced, when it takes the
    // keyboard, by the text it shows.
    const Rect g = window_->geometry();
    const QRect area(0, 0, g.width(), g.height());
    QStringList shown;
    for (const auto& [id, c] : window_->controls()) {
        const QRect r(c.rect.left, c.rect.top, c.rect.width(), c.rect.height());
        if (c.kind == ControlKind::Static && c.visible && !c.text.empty() && area.intersects(r)) {
            shown << QString::fromStdString(c.text);
        }
    }
    return shown.join(QLatin1Char(' '));
}

void WindowWidget::syncDeferredBars() {
    barsScheduled_ = false;
    const std::set<int> ids = std::exchange(deferredBars_, {});
    if (window_ == nullptr) {
        return;
    }
    SyncScope scope(syncing_);
    for (int id : ids) {
        auto it = controls_.find(id);
        if (it != controls_.end() && it->second && window_->hasControl(id)) {
            syncControlWidget(*this, *it->second, window_->control(id));
        }
    }
}

void WindowWidget::syncAppended(int id) {
    if (window_ == nullptr || !built_ || !window_->hasControl(id)) {
        return;
    }
    auto it = controls_.find(id);
    auto* log = it == controls_.end() ? nullptr : qobject_cast<LogTextEdit*>(it->second.data());
    if (log == nullptr) {
        syncControl(id);
        return;
    }
    SyncScope scope(syncing_);
    log->follow(window_->control(id));
}

void WindowWidget::applyMask() {
    const int corner = window_ != nullptr ? window_->cornerEllipse() : 0;
    if (corner <= 0 || width() <= 0 || height() <= 0) {
        clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width(), height()), corner / 2.0, corner / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void WindowWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (WindowSkin* s = skin()) {
        if (auto back = s->backgroundColor()) {
            p.fillRect(rect(), QColor(back->r, back->g, back->b));
            return;
        }
    }
    p.fillRect(rect(), palette().color(QPalette::Window));
}

void WindowWidget::mousePressEvent(QMouseEvent* e) {
    if (window_ == nullptr) {
        return;
    }
    const Point p{e->position().toPoint().x(), e->position().toPoint().y()};
    QPointer<WindowWidget> self(this);
    if (e->button() == Qt::LeftButton) {
        window_->onLButtonDown(p);
        if (!self || window_ == nullptr) {
            return;
        }
        WindowSkin* s = skin();
        if (s != nullptr && s->dragsWindowAt(p) && isWindow()) {
            const bool desktopMoves =
                windowHandle() != nullptr && windowHandle()->startSystemMove();
            if (!desktopMoves) {
                dragging_ = true;
                dragOffset_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
            }
        }
        return;
    }
    if (e->button() == Qt::RightButton) {
        WindowSkin* s = skin();
        if (s == nullptr || !s->windowMenuAt(p)) {
            return;
        }
        runWindowMenu(e->globalPosition().toPoint());
    }
}

void WindowWidget::showWindowMenu() {
    // Below the left end of the caption bar, where the window's icon sits.
    runWindowMenu(mapToGlobal(QPoint(0, 24)));
}

void WindowWidget::runWindowMenu(const QPoint& at) {
    WindowSkin* s = skin();
    if (s == nullptr) {
        return;
    }
    QPointer<WindowWidget> self(this);
    QMenu menu(this);
    for (const MenuEntry& entry : s->windowMenu()) {
        if (entry.command == 0) {
            menu.addSeparator();
        } else {
            QAction* a = menu.addAction(QString::fromStdString(entry.text));
            a->setData(entry.command);
        }
    }
    if (menu.isEmpty()) {
        return;
    }
    QAction* chosen = menu.exec(at);
    if (chosen != nullptr && self && skin() != nullptr) {
        skin()->onSystemCommand(chosen->data().toUInt());
    }
}

void WindowWidget::mouseMoveEvent(QMouseEvent* e) {
    if (window_ == nullptr) {
        return;
    }
    if (dragging_ && (e->buttons() & Qt::LeftButton) != 0) {
        move(e->globalPosition().toPoint() - dragOffset_);
        return;
    }
    dragging_ = false;
    const Point p{e->position().toPoint().x(), e->position().toPoint().y()};
    window_->onMouseMove(p);
    WindowSkin* s = skin();
    setCursor(s != nullptr && s->handCursorAt(p) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* e) {
    dragging_ = false;
    QWidget::mouseReleaseEvent(e);
}

void WindowWidget::keyPressEvent(QKeyEvent* e) {
    if (window_ == nullptr || !isWindow()) {
        QWidget::keyPressEvent(e); // a page passes its keys on to the window it sits in
        return;
    }
    if (windowKey(e)) {
        return;
    }
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        window_->onOk();
        break;
    case Qt::Key_Escape:
        window_->onCancel();
        break;
    default:
        QWidget::keyPressEvent(e);
        break;
    }
}

bool WindowWidget::windowKey(QKeyEvent* e) {
    auto* top = qobject_cast<WindowWidget*>(QWidget::window());
    if (top != this) {
        return top != nullptr && top->windowKey(e);
    }
    WindowSkin* s = skin();
    if (s == nullptr) {
        return false;
    }
    const Qt::KeyboardModifiers mods =
        e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool tabKey = e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab;
    if (tabKey && (mods & ~Qt::ShiftModifier) == Qt::ControlModifier) {
        const bool back = e->key() == Qt::Key_Backtab || (mods & Qt::ShiftModifier) != 0;
        return s->onSwitchTab(back ? -1 : 1);
    }
    if (e->key() == Qt::Key_Space && mods == Qt::AltModifier && !s->windowMenu().empty()) {
        showWindowMenu();
        return true;
    }
    return false;
}

bool WindowWidget::eventFilter(QObject* watched, QEvent* e) {
    auto* control = qobject_cast<QWidget*>(watched);
    if (e->type() != QEvent::KeyPress || control == nullptr || window_ == nullptr) {
        return QWidget::eventFilter(watched, e);
    }
    auto* key = static_cast<QKeyEvent*>(e);
    if (windowKey(key)) {
        return true;
    }
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (mods != Qt::NoModifier) {
        return false;
    }
    auto* button = qobject_cast<QAbstractButton*>(control);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && button != nullptr) {
        // A focused button takes Enter as a click, as on Space; check boxes and radio buttons
        // leave it to the window (its OK).
        if (qobject_cast<SkinButtonWidget*>(button) != nullptr || !button->isCheckable()) {
            button->click();
            return true;
        }
        return false;
    }
    if (qobject_cast<QRadioButton*>(control) != nullptr) {
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            return moveInRadioGroup(*control, -1);
        case Qt::Key_Down:
        case Qt::Key_Right:
            return moveInRadioGroup(*control, 1);
        default:
            break;
        }
    }
    return false;
}

bool WindowWidget::moveInRadioGroup(QWidget& radio, int step) {
    int ownId = 0;
    for (const auto& [id, widget] : controls_) {
        if (widget == &radio) {
            ownId = id;
        }
    }
    if (ownId == 0 || !window_->hasControl(ownId)) {
        return false;
    }
    // The group's radio buttons that can be chosen, in reading order.
    const int group = window_->control(ownId).group;
    std::vector<QWidget*> members;
    for (const auto& [id, widget] : controls_) {
        const Control& c = window_->control(id);
        if (widget && c.kind == ControlKind::Radio && c.group == group && !widget->isHidden() &&
            widget->isEnabled()) {
            members.push_back(widget);
        }
    }
    std::stable_sort(members.begin(), members.end(), [](QWidget* a, QWidget* b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    const auto it = std::find(members.begin(), members.end(), &radio);
    if (it == members.end() || members.size() < 2) {
        return true;
    }
    const int n = static_cast<int>(members.size());
    const int next = (static_cast<int>(it - members.begin()) + step + n) % n;
    auto* target = qobject_cast<QAbstractButton*>(members[static_cast<std::size_t>(next)]);
    target->setFocus(Qt::TabFocusReason);
    if (!target->isChecked()) {
        target->click(); // chosen as a click on it chooses it
    }
    return true;
}

bool WindowWidget::focusNextPrevChild(bool next) {
    if (!isWindow()) {
        return QWidget::focusNextPrevChild(next); // the window decides
    }
    std::vector<QWidget*> order = readingOrder(*this);
    std::erase_if(order, [](QWidget* w) { return !w->isEnabled() || !w->isVisible(); });
    if (order.empty()) {
        return false;
    }
    const auto it = std::find(order.begin(), order.end(), focusWidget());
    const int n = static_cast<int>(order.size());
    int index = next ? 0 : n - 1;
    if (it != order.end()) {
        index = (static_cast<int>(it - order.begin()) + (next ? 1 : -1) + n) % n;
    }
    order[static_cast<std::size_t>(index)]->setFocus(next ? Qt::TabFocusReason
                                                          : Qt::BacktabFocusReason);
    return true;
}

void WindowWidget::focusShownPage(WindowWidget& page) {
    QWidget* focused = focusWidget();
    // A control of this window (the caption bar) keeps the focus; one on a page now hidden,
    // or none, gives it to the page the user now sees.
    if (focused != nullptr && focused->parentWidget() == this && focused->isVisible()) {
        return;
    }
    std::vector<QWidget*> order = readingOrder(page);
    const auto first =
        std::find_if(order.begin(), order.end(), [](QWidget* w) { return w->isEnabled(); });
    if (first != order.end()) {
        (*first)->setFocus(Qt::OtherFocusReason);
    }
}

void WindowWidget::closeEvent(QCloseEvent* e) {
    // Only the window decides whether it closes.
    e->ignore();
    if (window_ == nullptr) {
        return;
    }
    WindowSkin* s = skin();
    if (s == nullptr || !s->onCloseRequest()) {
        window_->onCancel();
    }
}

void WindowWidget::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    if (window_ == nullptr || syncing() || !isWindow() || !window_->isVisible()) {
        return;
    }
    const QRect g = geometry();
    const Rect r{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    if (r != window_->geometry()) {
        window_->setGeometry(r);
        window_->onMoved();
    }
}

void WindowWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    applyMask();
}

void WindowWidget::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && window_ != nullptr && !syncing() &&
        window_->minimized() != isMinimized()) {
        window_->setMinimized(isMinimized());
    }
}

} // namespace zentrel
