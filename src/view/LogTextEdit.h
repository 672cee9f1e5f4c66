#pragma once
// A multi-line edit box that shows a control's text. Logs grow by a few bytes at a time for the
// whole session, so the box adds only what is new, and while it is not on the screen it does
// nothing at all: it catches up when it is shown.
#include <QPlainTextEdit>
#include <QPointer>

#include <cstddef>
#include <cstdint>

namespace zentrel {

struct Control;
class WindowWidget;

class LogTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    LogTextEdit(WindowWidget& owner, int id);

    // Brings the box in step with the control's text on the next turn of the loop, unless the
    // box is not visible.
    void follow(const Control& c);
    // Whether the box shows the control's text as it is now.
    bool current(const Control& c) const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void catchUp();
    void render(const Control& c);

    QPointer<WindowWidget> owner_;
    int id_;
    bool rendered_ = false;
    bool catchUpQueued_ = false;
    std::uint64_t revision_ = 0; // the control's text revision the box shows
    std::size_t shownBytes_ = 0; // how much of the control's text the box shows
};

} // namespace zentrel
