#pragma once
// A window that records the messages it receives and holds the General page's IP list (1016).
#include "platform/Window.h"

#include <algorithm>
#include <array>
#include <cstdint>
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

// A matrix's discovery answer: MAC, IP, eight bytes not read, the signature, padding to `size`;
// a size under 20 cuts the answer inside its signature.
inline std::vector<std::uint8_t> discoveryAnswer(std::array<std::uint8_t, 6> mac,
                                                 std::array<std::uint8_t, 4> ip,
                                                 std::size_t size = 50) {
    std::vector<std::uint8_t> b(std::max<std::size_t>(size, 20), 0);
    std::copy(mac.begin(), mac.end(), b.begin());
    std::copy(ip.begin(), ip.end(), b.begin() + 6);
    b[18] = 0x77;
    b[19] = 0x88;
    b.resize(size);
    return b;
}

} // namespace zentrel::test
