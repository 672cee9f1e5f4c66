#include "WindowWidget.h"

#include "ControlView.h"
#include "LogTextEdit.h"
#include "QtWindowHost.h"
#include "platform/Window.h"
#include "ui/SkinButton.h"
#include "ui/WindowSkin.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

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

void WindowWidget::build() {
    built_ = true;
    for (const auto& [id, control] : window_->controls()) {
        buildControl(id);
    }
    raiseFrames();
}

void WindowWidget::buildControl(int id) {
    QWidget* w = createControlWidget(*this, window_->control(id));
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
        build();
    }
    setWindowTitle(QString::fromStdString(window_->title()));
    // Announced by the title it shows now ("Zentrel Ver6.26"), not the one it started with.
    setAccessibleName(QString::fromStdString(window_->title()));
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
        setVisible(window_->isVisible());
        if (window_->isVisible() && !isWindow()) {
            if (auto* parent = qobject_cast<WindowWidget*>(parentWidget())) {
                parent->raiseFrames();
            }
        }
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
    SyncScope scope(syncing_);
    syncControlWidget(*this, *it->second, window_->control(id));
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
        QMenu menu(this);
        for (const MenuEntry& entry : s->windowMenu()) {
            if (entry.command == 0) {
                menu.addSeparator();
            } else {
                QAction* a = menu.addAction(QString::fromStdString(entry.text));
                a->setData(entry.command);
            }
        }
        QAction* chosen = menu.exec(e->globalPosition().toPoint());
        if (chosen != nullptr && self && skin() != nullptr) {
            skin()->onSystemCommand(chosen->data().toUInt());
        }
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
