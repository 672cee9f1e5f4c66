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

TEST_F(VirtualSerial, OpensAreExclusiveAndRecordTheirSettings) {
    auto connect = ports.createLink();
    auto probe = ports.createLink();
    EXPECT_TRUE(connect->open(page, 3, k8N2));
    EXPECT_FALSE(probe->open(page, 3, k8N1)) << "the port is held by the other link";
    EXPECT_FALSE(probe->isOpen());
    EXPECT_FALSE(probe->open(page, 4, k8N1)) << "nothing attached at COM4";

    ports.attach(5, matrix);
    ports.setHeldElsewhere(5, true);
    EXPECT_FALSE(probe->open(page, 5, k8N1)) << "held by another program";

    connect->stop();
    EXPECT_FALSE(ports.held(3));
    EXPECT_TRUE(probe->open(page, 3, k8N1));
    EXPECT_EQ(probe->port(), 3);

    // Re-opening a link on another port lets go of the first one.
    ports.setHeldElsewhere(5, false);
    EXPECT_TRUE(probe->open(page, 5, k8N1));
    EXPECT_FALSE(ports.held(3));

    std::vector<std::string> opens; // stop bits and outcome of each open of COM3
    for (const auto& o : ports.record(3).opens) {
        opens.push_back(std::to_string(o.settings.stopBits) +
                        (o.granted ? " granted" : " refused"));
    }
    EXPECT_EQ(opens, (std::vector<std::string>{"2 granted", "1 refused", "1 granted"}));
}

TEST_F(VirtualSerial, BytesCrossTheLineInTheirWireTimeAndInOrder) {
    EXPECT_EQ(VirtualSerialPorts::wireTimeUs(13, k8N2), 1242); // 13 x 11 bits at 115200
    EXPECT_EQ(VirtualSerialPorts::wireTimeUs(13, k8N1), 1129);

    auto link = started();

    // Towards the far end: a whole 13-byte frame arrives after 1.24 ms, so at 2 ms; a second
    // frame written at once follows it on the line and arrives at 2.48 ms, so at 3 ms.
    link->write(kFrame);
    link->write(kFrame);
    loop.advance(1);
    EXPECT_TRUE(matrix.log.empty());
    loop.advance(2);
    EXPECT_EQ(matrix.log, (std::vector<std::string>{"t=2 n=13", "t=3 n=13"}));
    EXPECT_EQ(ports.record(3).writes, (std::vector<std::vector<std::uint8_t>>{kFrame, kFrame}));

    // Towards the panel: ten bytes are through within the first millisecond, the rest in the
    // second; the next send queues behind the first on the line.
    ports.sendToPanel(3, kFrame);
    ports.sendToPanel(3, std::vector<std::uint8_t>{0x11});
    loop.advance(1);
    ASSERT_EQ(page.log.size(), 10u);
    EXPECT_EQ(page.log.front(), "t=4 165");
    EXPECT_EQ(page.lastPort, 3);
    loop.advance(1);
    ASSERT_EQ(page.log.size(), 14u);
    EXPECT_EQ(page.log[12], "t=5 246");
    EXPECT_EQ(page.log[13], "t=5 17"); // 14 x 11 bits end at 1337 us
}

TEST_F(VirtualSerial, OnlyAStartedLinkHearsTheLine) {
    auto link = ports.createLink();
    ASSERT_TRUE(link->open(page, 3, k8N2));
    link->write(kFrame); // waits for start, as the channel's thread would
    ports.sendToPanel(3, kFrame);
    loop.advance(5);
    EXPECT_TRUE(page.log.empty());
    EXPECT_TRUE(matrix.log.empty());

    ASSERT_TRUE(link->start());
    loop.advance(5);
    EXPECT_EQ(matrix.log, (std::vector<std::string>{"t=7 n=13"}));

    link->stop();
    EXPECT_FALSE(link->isOpen());
    EXPECT_FALSE(link->start()) << "a stopped link must be opened again";
    ports.sendToPanel(3, kFrame);
    loop.advance(5);
    EXPECT_TRUE(page.log.empty());
}

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
