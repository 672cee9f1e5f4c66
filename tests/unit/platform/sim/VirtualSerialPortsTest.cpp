#include "platform/sim/VirtualSerialPorts.h"
#include "platform/Window.h"
#include "platform/sim/VirtualEventLoop.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace zentrel;

namespace {

constexpr SerialSettings k8N2{115200, 'N', 8, 2};
constexpr SerialSettings k8N1{115200, 'N', 8, 1};
const std::vector<std::uint8_t> kFrame{0xA5, 0x5B, 0x02, 0x03, 0x03, 0x00, 0x02,
                                       0x00, 0x00, 0x00, 0x00, 0x00, 0xF6};

std::string at(const EventLoop& loop) {
    return "t=" + std::to_string(loop.nowMs()) + " ";
}

// Records "t=<ms> <byte>" for each serial byte and "t=<ms> fail <wParam>" for failure reports.
class Page : public Window {
public:
    using Window::Window;
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override {
        if (msg == WM_SERIAL_BYTE) {
            EXPECT_EQ(depth, 0) << "a byte was handed over while the previous one was handled";
            ++depth;
            log.push_back(at(loop()) + std::to_string(wp));
            lastPort = lp;
            if (onByte) {
                onByte(static_cast<std::uint8_t>(wp));
            }
            --depth;
        } else if (msg == WM_APP_PROGRESS) {
            log.push_back(at(loop()) + "fail " + std::to_string(wp));
        }
        return 0;
    }
    std::vector<std::string> log;
    std::function<void(std::uint8_t)> onByte;
    LParam lastPort = 0;
    int depth = 0;
};

class FarEnd : public SerialFarEnd {
public:
    explicit FarEnd(VirtualEventLoop& loop) : vloop(loop) {}
    void receive(std::span<const std::uint8_t> bytes) override {
        log.push_back(at(vloop) + "n=" + std::to_string(bytes.size()));
        received.insert(received.end(), bytes.begin(), bytes.end());
    }
    VirtualEventLoop& vloop;
    std::vector<std::string> log;
    std::vector<std::uint8_t> received;
};

class VirtualSerial : public ::testing::Test {
protected:
    VirtualEventLoop loop;
    VirtualSerialPorts ports{loop};
    FarEnd matrix{loop};
    Page page{loop};
    Page mainWindow{loop};

    void SetUp() override {
        loop.setMainWindow(&mainWindow);
        ports.attach(3, matrix);
    }
    // A link opened on COM3 at 8N2 and started.
    std::unique_ptr<SerialLink> started() {
        auto link = ports.createLink();
        EXPECT_TRUE(link->open(page, 3, k8N2));
        EXPECT_TRUE(link->start());
        return link;
    }
};

} // namespace

TEST_F(VirtualSerial, AByteHandlerIsNeverEnteredTwice) {
    auto link = started();
    // The first byte's handler runs a nested loop for 5 ms (a notice pop-up would) and writes a
    // request from inside it: the other bytes wait, and the request goes out once they are in.
    page.onByte = [&](std::uint8_t b) {
        if (b == 0xA5) {
            loop.advance(5);
            link->write(std::vector<std::uint8_t>{0x42});
            EXPECT_TRUE(ports.record(3).writes.empty());
        }
    };
    ports.sendToPanel(3, std::vector<std::uint8_t>{0xA5, 0x5B, 0x02});
    loop.advance(1);
    EXPECT_EQ(page.log, (std::vector<std::string>{"t=1 165", "t=6 91", "t=6 2"}));
    EXPECT_EQ(ports.record(3).writes.size(), 1u);
}

TEST_F(VirtualSerial, StoppingInsideAHandlerEndsTheDelivery) {
    auto link = started();
    page.onByte = [&](std::uint8_t b) {
        if (b == 0x5B) {
            link->stop();
        }
    };
    ports.sendToPanel(3, kFrame);
    loop.advance(3);
    EXPECT_EQ(page.log.size(), 2u);
}

TEST_F(VirtualSerial, DetachingAPortIsALineFailureForAMonitoringLink) {
    auto monitoring = started();
    ports.detach(3);
    EXPECT_FALSE(monitoring->isOpen());
    EXPECT_FALSE(ports.held(3));
    loop.settle();
    EXPECT_EQ(mainWindow.log, (std::vector<std::string>{"t=0 fail 3"}));
    EXPECT_FALSE(monitoring->open(page, 3, k8N2)) << "the port is gone";

    // A probe that was never started has no thread to notice.
    ports.attach(3, matrix);
    auto probe = ports.createLink();
    ASSERT_TRUE(probe->open(page, 3, k8N1));
    ports.detach(3);
    loop.settle();
    EXPECT_EQ(mainWindow.log.size(), 1u);
}
