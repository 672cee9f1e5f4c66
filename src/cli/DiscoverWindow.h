#pragma once
// The panel's search for matrices, run without its page: a window holding the General page's IP
// list receives the broadcast socket's notifications, and the search is the page's own
// Discovery. The page listens for as long as it is open; a command has to end, so it listens
// for a fixed time and then reports what it found.
#include "link/Discovery.h"
#include "platform/Window.h"
#include "state/SharedState.h"

#include <string>
#include <vector>

namespace zentrel::cli {

class DiscoverWindow : public Window {
public:
    struct Found {
        std::string ip;
        std::string mac; // 12 upper-case hex digits, as the answer carries it
    };

    DiscoverWindow(EventLoop& loop, Network& network);

    // Broadcasts the probe and listens for `listenMs`. False when the socket could not be bound
    // or registered (then nothing was sent).
    bool run(int listenMs);
    // Every matrix that answered, in the order of their answers.
    std::vector<Found> found() const;

    LParam onMessage(unsigned msg, WParam wp, LParam lp) override;
    void onTimer(int id) override;

private:
    SharedState state_;
    Discovery discovery_;
};

} // namespace zentrel::cli
