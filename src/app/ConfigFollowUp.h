#pragma once
// What the main window does after the TCP configuration dialog has sent its record: it opens
// the configuration box, shows the matrix's acceptance, and has the search again run on its own
// timers, showing its texts in the box and in the notice text and closing the box when the
// search finds the matrix (or has said that it did not). It also closes the notice a refused
// page switch opened.
#include "operations/ConfigSearchAgain.h"
#include "platform/Messages.h"

#include <functional>
#include <string>

namespace zentrel {

class ConfigProgressBox;
class NoticePopup;
class Window;
struct SharedState;

class ConfigFollowUp : private ConfigSearchListener {
public:
    // Timers of the main window.
    static constexpr int kSearchTimeoutTimer = ConfigSearchAgain::kPatienceTimer;
    static constexpr int kNoticeTimer = 55;

    // `search` runs the General page's discovery search.
    ConfigFollowUp(Window& main, SharedState& state, ConfigProgressBox& box, NoticePopup& notice,
                   std::function<void()> search);

    // WM_APP_PROGRESS wParam 1: the record is out; the box opens and returns when it closes.
    void onRecordSent();
    // WM_APP_RESULT: wParam 1 the matrix accepted, 2 discovery found a matrix; other values
    // do nothing.
    void onResult(WParam wp);
    // Shows `text` in the notice for 1.5 s (a page switch refused for want of a link).
    void showNotice(const std::string& text);
    // True when the timer was one of the follow-up's.
    bool onTimer(int id);

private:
    void onConfigText(const std::string& text) override;
    void onSearchNow() override { search_(); }
    void onSearchGivenUp() override;

    Window& main_;
    SharedState& state_;
    ConfigProgressBox& box_;
    NoticePopup& notice_;
    std::function<void()> search_;
    ConfigSearchAgain again_;
};

} // namespace zentrel
