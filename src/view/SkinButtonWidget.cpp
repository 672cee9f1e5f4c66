#include "SkinButtonWidget.h"

#include "QtWindowHost.h"
#include "WindowWidget.h"
#include "platform/Window.h"
#include "resources/ResourceIds.h"
#include "ui/SkinButton.h"
#include "view/SkinButtonPainter.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSignalBlocker>

namespace zentrel {

SkinButtonWidget::SkinButtonWidget(WindowWidget& owner, int id)
    : QAbstractButton(&owner), owner_(owner), id_(id) {
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    if (SkinButton* s = skin()) {
        QPointer<SkinButtonWidget> self(this);
        s->setRepaintHandler([self] {
            if (self) {
                self->followSkin();
                self->update();
            }
        });
        if (s->cursor() == res::kHandCursor) {
            setCursor(Qt::PointingHandCursor);
        }
    }
    // A checkable button hears the user through its toggle, which an assistive tool's toggle
    // action sets off without any click; a plain button through its click.
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (!isCheckable()) {
            clickedByUser();
        }
    });
    connect(this, &QAbstractButton::toggled, this, [this] {
        if (isCheckable()) {
            clickedByUser();
        }
    });
    followSkin();
}

void SkinButtonWidget::followSkin() {
    SkinButton* s = skin();
    const QSignalBlocker quiet(this); // the skin's state is not the user's doing
    setCheckable(s != nullptr && s->checkMode());
    setChecked(s != nullptr && s->checkMode() && s->checked());
}

SkinButton* SkinButtonWidget::skin() const {
    return owner_.skinButton(id_);
}

void SkinButtonWidget::paintEvent(QPaintEvent*) {
    SkinButton* s = skin();
    if (s == nullptr) {
        return;
    }
    QPainter p(this);
    const SkinButton::DrawState state{isDown(), hasFocus(), !isEnabled()};
    paintSkinButton(p, rect(), *s, state, text());
    const SkinButton::Look look = s->look(state);
    if (state.focused && !look.focusRect) {
        // Flat skins draw no focus of their own, and only the keyboard gives these buttons the
        // focus: a dotted frame in the colour that stands out from the face shows where it is.
        const QColor back(look.back.r, look.back.g, look.back.b);
        QPen pen(back.lightness() > 128 ? Qt::black : Qt::white);
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void SkinButtonWidget::enterEvent(QEnterEvent* e) {
    QAbstractButton::enterEvent(e);
    if (SkinButton* s = skin()) {
        s->mouseMove((e->buttons() & Qt::LeftButton) != 0, true, isActiveWindow());
    }
}

void SkinButtonWidget::leaveEvent(QEvent* e) {
    QAbstractButton::leaveEvent(e);
    if (SkinButton* s = skin()) {
        s->mouseLeave();
    }
}

void SkinButtonWidget::mouseMoveEvent(QMouseEvent* e) {
    if (SkinButton* s = skin()) {
        s->mouseMove((e->buttons() & Qt::LeftButton) != 0, rect().contains(e->position().toPoint()),
                     isActiveWindow());
    }
    QAbstractButton::mouseMoveEvent(e);
}

void SkinButtonWidget::focusOutEvent(QFocusEvent* e) {
    QAbstractButton::focusOutEvent(e);
    if (SkinButton* s = skin()) {
        s->mouseLeave();
    }
}

void SkinButtonWidget::changeEvent(QEvent* e) {
    QAbstractButton::changeEvent(e);
    if (e->type() == QEvent::EnabledChange && !isEnabled()) {
        if (SkinButton* s = skin()) {
            s->disabled();
        }
    }
}

void SkinButtonWidget::clickedByUser() {
    if (owner_.syncing()) {
        return;
    }
    QPointer<SkinButtonWidget> self(this);
    if (SkinButton* s = skin()) {
        if (s->click(&owner_.host().ui()) == SkinButton::ClickResult::ShowMenu) {
            QMenu menu(this);
            for (const MenuEntry& entry : s->menu()) {
                if (entry.command == 0) {
                    menu.addSeparator();
                } else {
                    menu.addAction(QString::fromStdString(entry.text))->setData(entry.command);
                }
            }
            QAction* chosen = menu.exec(mapToGlobal(rect().bottomLeft()));
            if (!self) {
                return;
            }
            if (chosen != nullptr && skin() != nullptr) {
                skin()->menuChosen(chosen->data().toUInt());
            }
        }
    }
    if (self && owner_.window() != nullptr) {
        owner_.window()->click(id_);
    }
    if (self) {
        followSkin();
    }
}

} // namespace zentrel
