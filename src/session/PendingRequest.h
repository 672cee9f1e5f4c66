#pragma once
// A query that waits for its reply. It is sent and its first wait starts; when the first timer
// expires the frame goes out once more and the second wait starts; when that expires too the
// page gives up. A reply stops both waits. The timer ids and periods are the page's own, fixed
// per request, so a page never works out one timer id from another.
//
// Timers are window timers (periodic until killed), so each expiry kills its own timer first.
#include "protocol/CommandFrame.h"

#include <functional>

namespace zentrel {

class Window;

struct RequestTimers {
    int first; // the wait after the first send
    int firstMs;
    int second; // the wait after the one repeat
    int secondMs;
};

class PendingRequest {
public:
    using Send = std::function<void(const CommandFrame&)>;
    using Action = std::function<void()>;

    // `send` puts a frame on the page's link (and its log). `onRepeat` runs after the repeat is
    // sent (a page may open its "Please wait" box there); `onGiveUp` after the second wait.
    PendingRequest(Window& window, RequestTimers timers, Send send, Action onGiveUp,
                   Action onRepeat = {});

    // Sends `frame` and starts the first wait.
    void start(const CommandFrame& frame);
    // Starts the first wait for a frame that went out another way (the repeat re-sends it).
    void await(const CommandFrame& frame);
    // The reply came, or the operation ended: both waits stop.
    void stop();
    // Handles the expiry of one of this request's timers; false for any other timer.
    bool onTimer(int id);

    // Whether a reply is still expected: one of the two waits runs. A reply that comes when
    // none does (a duplicate, or the answer to the repeat after the first answer) is not acted
    // on again, or the next step would go out a second time.
    bool waiting() const;
    // The reply came: both waits stop. False when none ran, so the caller does not act on a
    // reply a second time, or after its give-up.
    bool answered();
    bool owns(int timerId) const { return timerId == timers_.first || timerId == timers_.second; }
    const RequestTimers& timers() const { return timers_; }
    const CommandFrame& frame() const { return frame_; }

private:
    Window& window_;
    RequestTimers timers_;
    Send send_;
    Action onGiveUp_;
    Action onRepeat_;
    CommandFrame frame_{};
};

} // namespace zentrel
