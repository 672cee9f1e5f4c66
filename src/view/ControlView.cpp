#include "ControlView.h"

#include "LogTextEdit.h"
#include "SkinButtonWidget.h"
#include "WindowWidget.h"
#include "platform/Control.h"
#include "platform/Window.h"
#include "resources/IconCatalog.h"
#include "ui/WindowSkin.h"
#include "view/IconPainter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace zentrel {

namespace {

constexpr int kComboShownHeight = 24; // the template's height includes the dropped-down list
constexpr const char* kNameFollowsText = "zentrelNameFollowsText";
constexpr const char* kOwnFocusPolicy = "zentrelFocusPolicy";

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QColor qc(Color c) {
    return QColor(c.r, c.g, c.b);
}

// Runs fn with the window when the user, not the view, changed a widget.
template <typename Fn> auto userAction(WindowWidget& owner, Fn fn) {
    QPointer<WindowWidget> guard(&owner);
    return [guard, fn](auto&&... args) {
        if (guard && !guard->syncing() && guard->window() != nullptr) {
            fn(*guard->window(), args...);
        }
    };
}

// Whether a control's rectangle lies at least partly inside its window's area.
bool onScreen(const WindowWidget& owner, const QRect& r) {
    if (owner.window() == nullptr) {
        return true;
    }
    const Rect g = owner.window()->geometry();
    return QRect(0, 0, g.width(), g.height()).intersects(r);
}

QWidget* createButtonLike(WindowWidget& owner, const Control& c) {
    const int id = c.id;
    QAbstractButton* b = nullptr;
    switch (c.kind) {
    case ControlKind::CheckBox:
        if (c.pushLike) {
            b = new QPushButton(&owner); // made checkable when it follows the window
        } else {
            b = new QCheckBox(&owner);
        }
        break;
    case ControlKind::Radio: {
        auto* r = new QRadioButton(&owner);
        // The window unchecks the group itself. A radio that is not auto-exclusive is offered
        // to assistive tools as a check box, so it stays auto-exclusive, in a group of its own
        // that excludes nothing.
        r->setAutoExclusive(true);
        auto* alone = new QButtonGroup(r);
        alone->setExclusive(false);
        alone->addButton(r);
        b = r;
        break;
    }
    default:
        if (owner.skinButton(id) != nullptr) {
            return new SkinButtonWidget(owner, id);
        }
        b = new QPushButton(&owner);
        break;
    }
    // A check box or radio button hears the user through its toggle, which a mouse click, the
    // keyboard and an assistive tool's toggle action all go through (the last one without any
    // click); other buttons through their click.
    const auto byUser = userAction(owner, [id, &owner](Window& w, bool) {
        w.click(id);
        owner.syncControl(id); // the window's checked state is the truth
    });
    if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::Radio) {
        QObject::connect(b, &QAbstractButton::toggled, &owner, byUser);
    } else {
        QObject::connect(b, &QAbstractButton::clicked, &owner, byUser);
    }
    return b;
}

} // namespace

QWidget* createControlWidget(WindowWidget& owner, const Control& c) {
    const int id = c.id;
    QWidget* w = nullptr;
    switch (c.kind) {
    case ControlKind::Static:
    case ControlKind::Icon: {
        auto* label = new QLabel(&owner);
        label->setTextFormat(Qt::PlainText);
        w = label;
        break;
    }
    case ControlKind::Frame: {
        auto* frame = new QFrame(&owner);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
        QPalette pal = frame->palette();
        pal.setColor(QPalette::WindowText, QColor(160, 160, 160));
        frame->setPalette(pal);
        w = frame;
        break;
    }
    case ControlKind::GroupBox:
        w = new QGroupBox(&owner);
        break;
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::Radio:
        w = createButtonLike(owner, c);
        break;
    case ControlKind::Edit:
        if (c.multiline) {
            auto* edit = new LogTextEdit(owner, id);
            QObject::connect(edit, &QPlainTextEdit::textChanged, &owner,
                             userAction(owner, [id, edit](Window& win) {
                                 win.type(id, edit->toPlainText().toStdString());
                             }));
            w = edit;
        } else {
            auto* edit = new QLineEdit(&owner);
            QObject::connect(edit, &QLineEdit::textEdited, &owner,
                             userAction(owner, [id](Window& win, const QString& text) {
                                 win.type(id, text.toStdString());
                             }));
            w = edit;
        }
        break;
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(&owner);
        QObject::connect(
            combo, &QComboBox::activated, &owner,
            userAction(owner, [id](Window& win, int index) { win.choose(id, index); }));
        w = combo;
        break;
    }
    case ControlKind::ListView: {
        auto* list = new QTreeWidget(&owner);
        list->setRootIsDecorated(false);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        QObject::connect(list, &QTreeWidget::itemSelectionChanged, &owner,
                         userAction(owner, [id, list, &owner](Window& win) {
                             const QModelIndex current = list->currentIndex();
                             win.choose(id, current.isValid() ? current.row() : -1);
                             owner.syncControl(id); // the window may keep another row
                         }));
        // A click on the row already highlighted changes no selection, yet takes the row.
        QObject::connect(
            list, &QTreeWidget::itemClicked, &owner,
            userAction(owner, [id, list, &owner](Window& win, QTreeWidgetItem* item, int) {
                win.choose(id, list->indexOfTopLevelItem(item));
                owner.syncControl(id);
            }));
        w = list;
        break;
    }
    case ControlKind::Progress:
        w = new QProgressBar(&owner);
        break;
    }
    // Statics let the pointer through to the window, as the window handles presses on them
    // (tab captions, window drags).
    if (c.kind == ControlKind::Static || c.kind == ControlKind::Icon ||
        c.kind == ControlKind::Frame || c.kind == ControlKind::GroupBox) {
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    w->setObjectName(QStringLiteral("control%1").arg(id));
    // A control named by its own caption keeps being named by what it shows, so a button that
    // turns from "Connect" into "Disconnect" is announced as the action it now offers. A control
    // named by the label beside it keeps that label.
    // A static text is always named by what it shows now ("HDMI IN3: Disconnect", a version),
    // so a screen reader reads the state the screen shows; its own name stands in only while
    // it shows nothing.
    const bool showsCaption = c.kind == ControlKind::Button || c.kind == ControlKind::CheckBox ||
                              c.kind == ControlKind::Radio || c.kind == ControlKind::GroupBox;
    w->setProperty(kNameFollowsText,
                   c.kind == ControlKind::Static ||
                       (showsCaption && (c.accessibleName.empty() || c.accessibleName == c.text)));
    w->setProperty(kOwnFocusPolicy, static_cast<int>(w->focusPolicy()));
    return w;
}

void syncControlWidget(WindowWidget& owner, QWidget& widget, const Control& c) {
    QRect r(c.rect.left, c.rect.top, c.rect.width(), c.rect.height());
    if (c.kind == ControlKind::ComboBox) {
        r.setHeight(std::min(r.height(), kComboShownHeight));
    }
    widget.setGeometry(r);
    // A control outside the window's area (the preset controls of the notice role) is as
    // hidden as one the window hides: not drawn, not reached by Tab, and not offered to
    // assistive tools as something to use.
    const bool present = c.visible && onScreen(owner, r);
    widget.setVisible(present);
    widget.setFocusPolicy(
        present ? static_cast<Qt::FocusPolicy>(widget.property(kOwnFocusPolicy).toInt())
                : Qt::NoFocus);
    widget.setEnabled(c.enabled);
    widget.setToolTip(qs(c.tooltip));
    const bool followsText = widget.property(kNameFollowsText).toBool() && !c.text.empty();
    const std::string& shown = followsText ? c.text : c.accessibleName;
    const std::string named = c.accessiblePrefix.empty()
                                  ? shown
                                  : c.accessiblePrefix + " " + (c.text.empty() ? shown : c.text);
    widget.setAccessibleName(
        qs(c.accessibleSuffix.empty() ? named : named + " " + c.accessibleSuffix));

    QPalette pal = widget.palette();
    if (c.textColor) {
        pal.setColor(QPalette::WindowText, qc(*c.textColor));
        pal.setColor(QPalette::ButtonText, qc(*c.textColor));
        pal.setColor(QPalette::Text, qc(*c.textColor));
    }
    if (c.backColor) {
        pal.setColor(QPalette::Window, qc(*c.backColor));
    }
    if (c.kind != ControlKind::Frame) {
        widget.setPalette(pal);
    }
    if (WindowSkin* skin = owner.skin()) {
        if (auto font = skin->fontFor(c.id)) {
            QFont f = widget.font();
            if (!font->family.empty()) {
                f.setFamily(qs(font->family));
            }
            f.setPixelSize(font->pixelHeight);
            f.setWeight(static_cast<QFont::Weight>(font->weight / 10 * 10 == 700 ? QFont::Bold
                                                                                 : QFont::Normal));
            widget.setFont(f);
        }
    }

    if (auto* label = qobject_cast<QLabel*>(&widget)) {
        label->setAutoFillBackground(c.backColor.has_value());
        if (c.kind == ControlKind::Icon) {
            label->setAlignment(Qt::AlignCenter);
            label->setPixmap(iconPixmap(c.icon));
        } else {
            label->setText(qs(c.text));
            label->setAlignment(c.centred ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
        }
    } else if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
        group->setTitle(qs(c.text));
    } else if (auto* skinned = qobject_cast<SkinButtonWidget*>(&widget)) {
        skinned->setText(qs(c.text));
        skinned->followSkin();
        skinned->update();
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        // A button's caption stands in for its icon; where the icon is drawn, it alone shows
        // (such buttons carry an accessible name for what the icon says).
        const bool drawsIcon = c.icon != 0 && iconSize(c.icon).has_value();
        button->setText(drawsIcon ? QString() : qs(c.text));
        if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::Radio) {
            button->setCheckable(true);
            button->setChecked(c.checked != 0);
        }
        if (drawsIcon) {
            button->setIcon(QIcon(iconPixmap(c.icon)));
        }
    } else if (auto* line = qobject_cast<QLineEdit*>(&widget)) {
        if (line->text() != qs(c.text)) {
            line->setText(qs(c.text));
        }
        line->setReadOnly(c.readOnly);
    } else if (auto* text = qobject_cast<LogTextEdit*>(&widget)) {
        text->follow(c);
        text->setReadOnly(c.readOnly);
    } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
        QStringList items;
        for (const std::string& item : c.items) {
            items << qs(item);
        }
        QStringList current;
        for (int i = 0; i < combo->count(); ++i) {
            current << combo->itemText(i);
        }
        if (current != items) {
            combo->clear();
            combo->addItems(items);
        }
        combo->setCurrentIndex(c.selection);
    } else if (auto* list = qobject_cast<QTreeWidget*>(&widget)) {
        QStringList headers;
        for (const std::string& col : c.columns) {
            headers << qs(col);
        }
        list->setColumnCount(std::max<int>(1, static_cast<int>(headers.size())));
        list->setHeaderLabels(headers);
        list->clear();
        for (const auto& row : c.rows) {
            QStringList cells;
            for (const std::string& cell : row) {
                cells << qs(cell);
            }
            list->addTopLevelItem(new QTreeWidgetItem(cells));
        }
        if (c.selection >= 0 && c.selection < list->topLevelItemCount()) {
            list->setCurrentItem(list->topLevelItem(c.selection));
        }
    } else if (auto* bar = qobject_cast<QProgressBar*>(&widget)) {
        bar->setRange(c.rangeMin, c.rangeMax);
        bar->setValue(c.position);
    }
}

} // namespace zentrel
