#pragma once
// A window that records the messages it receives and holds the General page's IP list (1016).
#include "platform/Window.h"

#include <functional>
#include <vector>

namespace zentrel::test {

struct Received {
    unsigned msg;
    WParam wp;
    LParam lp;
    int event() const { return selectEvent(lp); }
    int error() const { return selectError(lp); }
};

class NetTestWindow : public Window {
public:
    explicit NetTestWindow(EventLoop& loop) : Window(loop) {
        create(DialogTemplate{145, "page", 200, 100, {{1016, ControlKind::ComboBox}}});
    }
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override {
        received.push_back({msg, wp, lp});
        if (handler) {
            handler(msg, wp, lp);
        }
        return 0;
    }
    std::function<void(unsigned, WParam, LParam)> handler;
    std::vector<Received> received;
};

} // namespace zentrel::test
