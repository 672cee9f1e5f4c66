#pragma once
// How the Matrix page uses the shared pop-ups: every notice is closed by the page's timer 59,
// and the progress box's "Please wait" is animated by its timer 60.
#include <string>

namespace zentrel {

class Window;
class NoticePopup;
class ProgressPopup;
struct SharedState;

class MatrixPopups {
public:
    MatrixPopups(Window& page, SharedState& state, NoticePopup& notice, ProgressPopup& progress);

    // Starts timer 59 with `closeAfterMs`, then shows `text`, opening the notice unless one is
    // open already (an open notice keeps its text). Returns when the notice it opened closed.
    void notice(const std::string& text, int closeAfterMs);
    void closeNotice();
    // Timer 59.
    void onNoticeTimer();

    // A wait goes into its second round: "Please wait . . ." animated every 500 ms, and the
    // progress box opened unless it is. Returns when the box it opened has closed.
    void startWaiting();
    // Timer 60.
    void onAnimationTimer();
    // A reply or the end of the wait: the animation stops and the box closes.
    void stopWaiting();

private:
    Window& page_;
    SharedState& state_;
    NoticePopup& notice_;
    ProgressPopup& progress_;
};

} // namespace zentrel
