#pragma once
// One window on screen: a frameless top-level window or, for a page, a child of its parent's
// widget. Its controls are built from the window's state the first time it is shown.
#include <QPointer>
#include <QWidget>

#include <map>
#include <set>

namespace zentrel {

class QtWindowHost;
class SkinButton;
class Window;
class WindowSkin;

class WindowWidget : public QWidget {
    Q_OBJECT
public:
    WindowWidget(Window& w, QtWindowHost& host);
    ~WindowWidget() override;

    // The window the widget shows; nullptr once the window is gone.
    Window* window() const { return window_; }
    WindowSkin* skin() const;
    SkinButton* skinButton(int id) const;
    QtWindowHost& host() const { return host_; }

    void syncWindow();
    void syncControl(int id);
    // Text was added to control id: a log box adds just that, or nothing while it is hidden.
    void syncAppended(int id);
    // The window is being destroyed: drop every reference to it.
    void forgetWindow();
    // Set while the view writes into its widgets, so their change signals are not taken for
    // the user's doing.
    bool syncing() const { return syncing_ > 0; }

    // The keys a window takes whichever of its controls has the focus: Ctrl+Tab and
    // Ctrl+Shift+Tab for the window's tabs, Alt+Space for the window menu. Returns whether the
    // key was taken.
    bool windowKey(QKeyEvent* e);
    // Opens the window menu of a skinned window below its top left corner, as Alt+Space does.
    void showWindowMenu();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    // Tab and Shift+Tab walk the controls in reading order (ReadingOrder) rather than in the
    // order they were made.
    bool focusNextPrevChild(bool next) override;
    // Keys to the window's controls: Enter clicks a focused button, arrows move in a radio group.
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void place();
    void showBeforeBuilding();
    void build();
    void buildControl(int id);
    void applyMask();
    void raiseFrames();
    void syncDeferredBars();
    void runWindowMenu(const QPoint& at);
    void handKeyboardBack();
    QString spokenName() const;
    bool moveInRadioGroup(QWidget& radio, int step);
    // A page was shown inside this window: the focus goes to its first control unless it is
    // on a control of this window itself.
    void focusShownPage(WindowWidget& page);

    Window* window_;
    QtWindowHost& host_;
    std::map<int, QPointer<QWidget>> controls_;
    bool placed_ = false;
    bool built_ = false;
    int syncing_ = 0;
    // Progress bars move hundreds of times a second during an upgrade; they are drawn once per
    // turn of the event loop with their latest position, not once per move.
    std::set<int> deferredBars_;
    bool barsScheduled_ = false;
    // A drag the view carries out itself where the desktop offers no window move.
    bool dragging_ = false;
    QPoint dragOffset_;
};

} // namespace zentrel
