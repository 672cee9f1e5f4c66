#pragma once
// How the EDID page uses the shared notice and progress pop-ups: a notice with its closing
// timer 55, one that opens only when none is open, the waiting notice that a result closes, and
// the animated progress box of the running operation.
#include "EdidIds.h"

#include <string>

namespace zentrel {

class Window;
class NoticePopup;
class ProgressPopup;
struct SharedState;

namespace edid {

class EdidPopups {
public:
    enum class When {
        Always,   // refusals and results the user asked for
        IfClosed, // a notice already open stays; its text is still replaced underneath
    };

    EdidPopups(Window& page, SharedState& state, NoticePopup& notice, ProgressPopup& progress);

    // Starts timer 55 with `closeAfterMs`, then shows `text`. Returns when the notice has
    // closed, or at once when one was already open.
    void notice(const std::string& text, When when, int closeAfterMs = kNoticeMs);
    void closeNotice();
    // Closes the notice if it shows "Please wait..." (a second click that found the page busy).
    void closeWaitingNotice();
    bool waitingNoticeShown() const;
    bool noticeShown() const;
    // Timer 55.
    void onNoticeTimer();

    // ProgressText becomes the operation's text with three dots and timer 60 starts.
    void startProgress(Operation op);
    // Opens the progress box unless it is open; returns when it has closed.
    void openProgress();
    // Timer 60: the next animation step of the running operation.
    void tick(Operation op);
    // Stops timer 60 and closes the progress box.
    void endProgress();

private:
    Window& page_;
    SharedState& state_;
    NoticePopup& notice_;
    ProgressPopup& progress_;
};

} // namespace edid
} // namespace zentrel
