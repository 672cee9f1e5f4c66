#pragma once
// How the General page uses the shared notice and progress pop-ups: a notice with its closing
// timer 55, a notice that only opens when none is open, the animated progress box.
#include <string>

namespace zentrel {

class Window;
class NoticePopup;
class ProgressPopup;
struct SharedState;

class PagePopups {
public:
    enum class When {
        Always,   // refusals and connect failures
        IfClosed, // results and time-outs: a notice already open keeps its text
    };

    PagePopups(Window& page, SharedState& state, NoticePopup& notice, ProgressPopup& progress);

    // Starts the page's timer 55 with `closeAfterMs` (0: another timer of the page closes the
    // notice), then shows `text`. Returns when the notice has closed, also when it was already
    // open (it then takes the new text). While another page is shown it does nothing at all.
    void notice(const std::string& text, int closeAfterMs, When when);
    void closeNotice();
    // Timer 55.
    void onNoticeTimer();
    // Whether the notice is open with this text (another page's "Please wait...").
    bool noticeShows(const std::string& text) const;

    // Opens the progress box with ProgressText unless it is open; returns when it has closed.
    void openProgress();
    void setProgressText(const std::string& text);
    // One animation tick: `base` followed by one to three dots.
    void tickProgress(const std::string& base);
    void closeProgress();

private:
    Window& page_;
    SharedState& state_;
    NoticePopup& notice_;
    ProgressPopup& progress_;
};

} // namespace zentrel
