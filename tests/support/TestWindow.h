#pragma once
// A page window holding the two log boxes, and a serial link that records its writes.
#include "HexFrames.h"
#include "platform/SerialLink.h"
#include "platform/Window.h"

#include <string>
#include <vector>

namespace zentrel::test {

constexpr int kReceiveBox = 1060;
constexpr int kSendBox = 1061;

class TestWindow : public Window {
public:
    explicit TestWindow(EventLoop& loop) : Window(loop) {
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

} // namespace zentrel::test
