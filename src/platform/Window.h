#pragma once
// Base of every dialog, page and pop-up: controls by id, timers by id, messages and modal runs.
// Plain C++; a view (the Qt backend) observes it and forwards what the user does.
#include "Control.h"
#include "DialogTemplate.h"
#include "EventLoop.h"

#include <map>
#include <string>

namespace zentrel {

class Window {
public:
    explicit Window(EventLoop& loop, Window* parent = nullptr);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    EventLoop& loop() const { return loop_; }
    Window* parent() const { return parent_; }

    // Builds the controls from the template (once) and runs onInitDialog.
    void create(const DialogTemplate& t);
    bool created() const { return created_; }
    int templateId() const { return templateId_; }

    // --- handlers -------------------------------------------------------------------------
    virtual void onInitDialog() {}
    virtual void onCommand(int /*id*/, int /*code*/) {}
    virtual void onTimer(int /*id*/) {}
    virtual LParam onMessage(unsigned /*msg*/, WParam /*wp*/, LParam /*lp*/) { return 0; }
    virtual void onLButtonDown(Point /*p*/) {}
    virtual void onMouseMove(Point /*p*/) {}
    // Enter and Escape in a dialog; the defaults end it with IDOK / IDCANCEL.
    virtual void onOk() { endDialog(IDOK); }
    virtual void onCancel() { endDialog(IDCANCEL); }
    // Called by the view after the user moved the window.
    virtual void onMoved() {}

    // --- timers and messages ---------------------------------------------------------------
    void setTimer(int id, int ms) { loop_.setTimer(*this, id, ms); }
    void killTimer(int id) { loop_.killTimer(*this, id); }
    // Every timer id from `first` to `last`, both included.
    void killTimers(int first, int last) {
        for (int id = first; id <= last; ++id) {
            killTimer(id);
        }
    }
    bool timerRunning(int id) const { return loop_.timerRunning(*this, id); }
    void postMessage(unsigned msg, WParam wp = 0, LParam lp = 0) {
        loop_.postMessage(*this, msg, wp, lp);
    }
    LParam sendMessage(unsigned msg, WParam wp = 0, LParam lp = 0) {
        return loop_.sendMessage(*this, msg, wp, lp);
    }

    // --- modal runs ------------------------------------------------------------------------
    // Creates the window from t if needed, runs onInitDialog, shows it and runs a nested loop
    // until endDialog. Returns the code given to endDialog. Opened again while open, it takes
    // the new opening's initialisation and that opening too returns when the dialog closes;
    // every opening returns after the dialog it opened has closed, the latest first.
    int doModal(const DialogTemplate& t);
    void endDialog(int code);
    bool inModal() const { return inModal_; }
    // Whether the dialog has closed since it last opened: the condition that ends the
    // innermost modal loop. Loops of openings nest, so when the innermost ends, every opening
    // below it has seen its own dialog close too.
    bool modalEnded() const { return modalEnded_; }

    // --- window state ----------------------------------------------------------------------
    void show(bool visible = true);
    void hide() { show(false); }
    bool isVisible() const { return visible_; }
    const std::string& title() const { return title_; }
    void setTitle(const std::string& t);
    Rect geometry() const { return geometry_; } // screen pixels
    void setGeometry(const Rect& r);
    // Moves the window, keeping its size.
    void moveTo(int x, int y);
    // Moves the window to the middle of `area` (integer halves), keeping its size.
    void centreOn(const Rect& area);
    int opacity() const { return opacity_; } // 0..255
    void setOpacity(int alpha);
    int cornerEllipse() const { return corner_; } // rounded-region ellipse size, 0 for none
    void setCornerEllipse(int size);
    bool minimized() const { return minimized_; }
    void setMinimized(bool m);

    // --- controls --------------------------------------------------------------------------
    bool hasControl(int id) const { return controls_.count(id) != 0; }
    const Control& control(int id) const;
    const std::map<int, Control>& controls() const { return controls_; }
    Control& addControl(const ControlTemplate& t);

    // A box written by appendText keeps only its latest text, as a fixed-size edit control
    // does: past kTextLimit bytes its front goes in one cut down to kTextKept bytes (at a line
    // start where one is near), so a long session costs neither memory nor time per byte.
    static constexpr std::size_t kTextLimit = 64 * 1024;
    static constexpr std::size_t kTextKept = 48 * 1024;

    std::string text(int id) const { return control(id).text; }
    void setText(int id, const std::string& text);
    void appendText(int id, const std::string& text); // caret to the end, then insert
    bool isChecked(int id) const { return control(id).checked != 0; }
    void setChecked(int id, bool checked);
    bool isEnabled(int id) const { return control(id).enabled; }
    void enable(int id, bool enabled = true);
    bool isShown(int id) const { return control(id).visible; }
    void showControl(int id, bool visible = true);
    void setRect(int id, const Rect& r);
    void setIcon(int id, int icon);
    void setTooltip(int id, const std::string& tip);
    void setAccessiblePrefix(int id, const std::string& prefix);
    void setAccessibleSuffix(int id, const std::string& suffix);
    void setColors(int id, std::optional<Color> text, std::optional<Color> back);

    // Combo boxes (drop-down lists).
    void clearItems(int id);
    int addItem(int id, const std::string& item);
    void insertItem(int id, int index, const std::string& item);
    void deleteItem(int id, int index);
    int itemCount(int id) const { return static_cast<int>(control(id).items.size()); }
    void setSelection(int id, int index); // -1 clears; an index out of range clears too
    int selection(int id) const { return control(id).selection; }
    // The text a drop-down list shows: its selected entry, or "".
    std::string shownText(int id) const;

    // List views.
    void setColumns(int id, std::vector<std::string> columns);
    void setRows(int id, std::vector<std::vector<std::string>> rows);

    // Progress bars.
    void setRange(int id, int min, int max);
    void setPosition(int id, int pos);

    // --- what the user does (views and tests) ----------------------------------------------
    // Ignored on a disabled or hidden control, as a person could not reach it.
    void click(int id);
    void choose(int id, int index);
    void type(int id, const std::string& text);

protected:
    Control& mutableControl(int id);
    void changed(int id);
    void windowChanged();

private:
    EventLoop& loop_;
    Window* parent_;
    std::map<int, Control> controls_;
    bool created_ = false;
    int templateId_ = 0;
    bool visible_ = false;
    std::string title_;
    Rect geometry_;
    int opacity_ = 255;
    int corner_ = 0;
    bool minimized_ = false;
    bool inModal_ = false;
    bool modalEnded_ = false;
    int modalResult_ = 0;
};

} // namespace zentrel
