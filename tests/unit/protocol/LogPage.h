#pragma once
// Test doubles for the protocol tests: a page window holding the two log boxes, a serial link
// that records what it is asked to write, and helpers that read and write frames as hex text.
#include "platform/SerialLink.h"
#include "platform/Window.h"
#include "protocol/CommandFrame.h"

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace zentrel::test {

constexpr int kReceiveBox = 1060;
constexpr int kSendBox = 1061;

inline const DialogTemplate kLogPageTemplate{
    130,
    "page",
    300,
    200,
    {
        {kReceiveBox, ControlKind::Edit, "", 0, 0, 100, 50, false, true, 0, 0, true, true},
        {kSendBox, ControlKind::Edit, "", 0, 60, 100, 50, false, true, 0, 0, true, true},
    }};

class LogPage : public Window {
public:
    explicit LogPage(EventLoop& loop) : Window(loop) { create(kLogPageTemplate); }
};

class RecordingSerialLink : public SerialLink {
public:
    bool open(Window&, int port, const SerialSettings&) override {
        port_ = port;
        return true;
    }
    bool start() override { return true; }
    void stop() override {}
    void write(std::span<const std::uint8_t> bytes) override {
        writes.emplace_back(bytes.begin(), bytes.end());
    }
    bool isOpen() const override { return port_ != 0; }
    int port() const override { return port_; }

    std::vector<std::vector<std::uint8_t>> writes;

private:
    int port_ = 0;
};

// "A5 5B 01" -> {0xA5, 0x5B, 0x01}
inline std::vector<std::uint8_t> bytesOf(const std::string& hex) {
    std::istringstream in(hex);
    std::vector<std::uint8_t> out;
    unsigned v = 0;
    while (in >> std::hex >> v) {
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

inline CommandFrame frameOf(const std::string& hex) {
    const std::vector<std::uint8_t> b = bytesOf(hex);
    CommandFrame f;
    for (std::size_t i = 0; i < f.bytes.size() && i < b.size(); ++i) {
        f.bytes[i] = b[i];
    }
    return f;
}

} // namespace zentrel::test
