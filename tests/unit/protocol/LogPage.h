#pragma once
// Test doubles for the protocol tests: a page window holding the two log boxes, a serial link
// that records its writes, and hex text helpers.
#include "platform/SerialLink.h"
#include "platform/Window.h"
#include "protocol/CommandFrame.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace zentrel::test {

constexpr int kReceiveBox = 1060;
constexpr int kSendBox = 1061;

class LogPage : public Window {
public:
    explicit LogPage(EventLoop& loop) : Window(loop) {
        create({130,
                "page",
                300,
                200,
                {{kReceiveBox, ControlKind::Edit}, {kSendBox, ControlKind::Edit}}});
    }
};

class RecordingSerialLink : public SerialLink {
public:
    bool open(Window&, int, const SerialSettings&) override { return true; }
    bool start() override { return true; }
    void stop() override {}
    void write(std::span<const std::uint8_t> b) override {
        writes.emplace_back(b.begin(), b.end());
    }
    bool isOpen() const override { return true; }
    int port() const override { return 1; }
    std::vector<std::vector<std::uint8_t>> writes;
};

// "A5 5B 01" -> {0xA5, 0x5B, 0x01}
inline std::vector<std::uint8_t> bytesOf(const std::string& hex) {
    std::istringstream in(hex);
    std::vector<std::uint8_t> out;
    for (unsigned v = 0; in >> std::hex >> v;) {
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

inline CommandFrame frameOf(const std::string& hex) {
    const std::vector<std::uint8_t> b = bytesOf(hex);
    CommandFrame f;
    std::copy_n(b.begin(), std::min(b.size(), f.bytes.size()), f.bytes.begin());
    return f;
}

} // namespace zentrel::test
