#pragma once
// What the main window does after the TCP configuration dialog has sent its record: it opens
// the configuration box, shows the matrix's acceptance, searches for the matrix again two and a
// half seconds later and closes the box when the search finds it (or says that it did not). It
// also closes the notice a refused page switch opened. Its timers are the main window's own.
#include "platform/Messages.h"

#include <functional>
#include <string>

namespace zentrel {

class ConfigProgressBox;
class NoticePopup;
class Window;
struct SharedState;

class ConfigFollowUp {
public:
    // Timers of the main window.
    static constexpr int kConfigSuccessTimer = 7;
    static constexpr int kSearchTimer = 8;
    static constexpr int kSearchTimeoutTimer = 9;
    static constexpr int kSearchFailedTimer = 10;
    static constexpr int kNoticeTimer = 55;

    static constexpr const char* kConfiguredText = "Matrix configuration completed successfully!";
    static constexpr const char* kSearchingText = "Searching Matrix IP . . .";
    static constexpr const char* kSearchFailedText = "Search Matrix IP failed!";

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
    Window& main_;
    SharedState& state_;
    ConfigProgressBox& box_;
    NoticePopup& notice_;
    std::function<void()> search_;
};

} // namespace zentrel
