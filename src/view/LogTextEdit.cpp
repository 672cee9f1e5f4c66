#include "LogTextEdit.h"

#include "WindowWidget.h"
#include "platform/Control.h"
#include "platform/Window.h"

#include <QSignalBlocker>
#include <QTextCursor>

namespace zentrel {

namespace {

// Line breaks are written "\r\n"; the box breaks lines on the "\n" alone.
QString shownText(const std::string& text, std::size_t from) {
    QString s = QString::fromUtf8(text.data() + from, static_cast<qsizetype>(text.size() - from));
    s.remove(QLatin1Char('\r'));
    return s;
}

} // namespace

LogTextEdit::LogTextEdit(WindowWidget& owner, int id)
    : QPlainTextEdit(&owner), owner_(&owner), id_(id) {}

bool LogTextEdit::current(const Control& c) const {
    return rendered_ && revision_ == c.textRevision && shownBytes_ == c.text.size();
}

void LogTextEdit::follow(const Control& c) {
    if (!isVisible() || current(c) || catchUpQueued_) {
        return;
    }
    // Bytes come one by one in bursts; the box takes what a burst added in one insertion on the
    // next turn of the loop, rather than one insertion (and one layout) per byte.
    catchUpQueued_ = true;
    QMetaObject::invokeMethod(this, &LogTextEdit::catchUp, Qt::QueuedConnection);
}

void LogTextEdit::catchUp() {
    catchUpQueued_ = false;
    if (isVisible() && owner_ && owner_->window() != nullptr && owner_->window()->hasControl(id_)) {
        const Control& c = owner_->window()->control(id_);
        if (!current(c)) {
            render(c);
        }
    }
}

void LogTextEdit::render(const Control& c) {
    // The view writing the box is not the user typing into it.
    const QSignalBlocker quiet(this);
    if (rendered_ && revision_ == c.textRevision && shownBytes_ < c.text.size()) {
        // Only added at the end: the caret goes to the end and the new text is inserted there.
        QTextCursor cursor(document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(shownText(c.text, shownBytes_));
        setTextCursor(cursor);
    } else if (toPlainText() != shownText(c.text, 0)) {
        setPlainText(shownText(c.text, 0));
        moveCursor(QTextCursor::End);
    }
    rendered_ = true;
    revision_ = c.textRevision;
    shownBytes_ = c.text.size();
}

void LogTextEdit::showEvent(QShowEvent* e) {
    QPlainTextEdit::showEvent(e);
    catchUp();
}

} // namespace zentrel
