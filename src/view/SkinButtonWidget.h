#pragma once
// A button control drawn by its skin: hover, press and focus go to the SkinButton, which
// decides the look; the click goes to the skin first (toggle, menu, address), then to the window.
#include <QAbstractButton>

namespace zentrel {

class SkinButton;
class WindowWidget;

class SkinButtonWidget : public QAbstractButton {
    Q_OBJECT
public:
    SkinButtonWidget(WindowWidget& owner, int id);
    QSize sizeHint() const override { return QSize(40, 20); }
    // A skin in check mode makes the button checkable, its pressed state the checked state, so
    // assistive tools read and toggle it as a toggle button.
    void followSkin();

protected:
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    SkinButton* skin() const;
    void clickedByUser();

    WindowWidget& owner_;
    int id_;
};

} // namespace zentrel
