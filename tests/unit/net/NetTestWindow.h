#pragma once
// A window that records every message it receives, with the General page's IP list, for the
// network tests.
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
        create(DialogTemplate{145,
                              "page",
                              200,
                              100,
                              {{1016, ControlKind::ComboBox, "", 0, 0, 80, 60, true, true, 0, 0,
                                false, false, false, "Matrix  IP"}}});
    }
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override {
        received.push_back({msg, wp, lp});
        if (handler) {
            handler(msg, wp, lp);
        }
        return 0;
    }
    // Events of the notifications received so far, in order.
    std::vector<int> events() const {
        std::vector<int> out;
        for (const Received& r : received) {
            out.push_back(r.event());
        }
        return out;
    }
    std::function<void(unsigned, WParam, LParam)> handler;
    std::vector<Received> received;
};

} // namespace zentrel::test
