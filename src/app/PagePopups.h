#pragma once
// How a page uses the shared notice and progress pop-ups: a notice closed by one timer of the
// page, the progress box whose text one other timer of the page animates. What differs between
// pages is told once, in Options, so the pages cannot drift apart in how they speak.
#include <string>

namespace zentrel {

class Window;
class NoticePopup;
class ProgressPopup;
struct SharedState;

class PagePopups {
public:
    enum class When {
        Always,   // refusals, connect failures and results the user asked for
        IfClosed, // a notice already open stays as it is
    };
    struct Options {
        int noticeTimer = 0;    // closes the notice
        int animationTimer = 0; // animates the progress box's text
        // Notices only while this page is shown (0: whichever is shown). A notice of a hidden
        // page would speak over the shown one, and its timer would close that page's notice.
        int shownPage = 0;
        // An IfClosed notice that finds one open still replaces its text underneath.
        bool replacesHiddenText = false;
    };

    PagePopups(Window& page, SharedState& state, NoticePopup& notice, ProgressPopup& progress,
               const Options& options);

    // Starts the notice timer with `closeAfterMs` (0: another timer of the page closes the
    // notice), then shows `text`. Returns when the notice it opened has closed, or at once when
    // one was already open (an Always notice then takes the new text).
    void notice(const std::string& text, int closeAfterMs, When when);
    void closeNotice();
    // Closes whatever notice is open and shows `text` in its place: the word that ends a
    // page's waits (standby, a refusal) must not hide behind an older notice.
    void noticeInstead(const std::string& text, int closeAfterMs);
    // The notice timer.
    void onNoticeTimer();
    bool noticeShown() const;
    // Whether the notice is open with this text.
    bool noticeShows(const std::string& text) const;
    // Closes the notice if it shows `text`.
    void closeNoticeShowing(const std::string& text);

    // ProgressText becomes `text` and the animation timer starts.
    void startAnimation(const std::string& text);
    // Stops the animation timer and closes the progress box.
    void stopAnimation();
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
    Options options_;
};

} // namespace zentrel
