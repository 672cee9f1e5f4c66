// A dispatcher may open a modal pop-up, and its nested loop keeps delivering bytes and socket
// reads to the same page. The assemblers must be done with a frame before it is dispatched.
#include "LogPage.h"
#include "platform/sim/VirtualEventLoop.h"
#include "protocol/ReceiveLog.h"
#include "protocol/ReplyAssembler.h"
#include "protocol/TcpReplyBuffer.h"
#include "state/SharedState.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zentrel;
using namespace zentrel::test;

namespace {

const char* const kFirst = "A5 5B 08 0D 00 00 00 00 00 00 00 00 EB";
const char* const kSecond = "A5 5B 01 04 01 00 FF 00 00 00 00 00 FB";
constexpr int kCloseTimer = 55;

// A pop-up that closes itself on its timer, as the notice pop-up does.
class Notice : public Window {
public:
    using Window::Window;
    void onInitDialog() override { setTimer(kCloseTimer, 1000); }
    void onTimer(int id) override {
        killTimer(id);
        endDialog(IDOK);
    }
};

class Page : public LogPage {
public:
    explicit Page(EventLoop& loop) : LogPage(loop), notice(loop, this) {}

    LParam onMessage(unsigned msg, WParam wp, LParam lp) override {
        if (msg == WM_SERIAL_BYTE) {
            auto out = assembler.onByteMessage(kModeCom, wp, lp);
            if (out.frame) {
                dispatch(out.frame->frame);
            }
            return out.result;
        }
        if (msg == WM_TCP_GENERAL && selectEvent(lp) == FD_READ) {
            std::vector<std::uint8_t> chunk = std::move(pendingRead);
            pendingRead.clear();
            if (auto reply = tcp.onRead(chunk)) {
                dispatch(*reply);
            }
        }
        return 0;
    }

    void dispatch(const CommandFrame& f) {
        dispatched.push_back(f);
        if (dispatched.size() == 1) {
            notice.doModal(DialogTemplate{901, "notice", 100, 40, {}});
        }
    }

    ReceiveLog log{*this, kReceiveBox};
    ReplyAssembler assembler{&log};
    TcpReplyBuffer tcp{&log};
    Notice notice;
    std::vector<std::uint8_t> pendingRead;
    std::vector<CommandFrame> dispatched;
};

} // namespace

TEST(NestedDispatch, SerialBytesArrivingDuringAModalDispatchFormTheirOwnFrame) {
    VirtualEventLoop loop;
    Page page(loop);
    // The second reply trickles in while the first one's notice is open.
    int at = 10;
    for (std::uint8_t b : bytesOf(kSecond)) {
        loop.schedule(at++, [&page, b] { page.sendMessage(WM_SERIAL_BYTE, b, 3); });
    }
    for (std::uint8_t b : bytesOf(kFirst)) {
        page.sendMessage(WM_SERIAL_BYTE, b, 3);
    }
    loop.settle();
    ASSERT_EQ(page.dispatched.size(), 2u);
    EXPECT_EQ(page.dispatched[0], frameOf(kFirst));
    EXPECT_EQ(page.dispatched[1], frameOf(kSecond));
    EXPECT_EQ(page.text(kReceiveBox),
              std::string(kFirst) + " \r\n" + std::string(kSecond) + " \r\n");
    EXPECT_EQ(page.assembler.length(), 0);
}

TEST(NestedDispatch, TcpReplyReadDuringAModalDispatchIsItsOwnReplyAndTheFirstIsNotRepeated) {
    VirtualEventLoop loop;
    Page page(loop);
    loop.schedule(10, [&page] {
        page.pendingRead = bytesOf(kSecond);
        page.postMessage(WM_TCP_GENERAL, 0, selectLParam(FD_READ, 0));
    });
    page.pendingRead = bytesOf(kFirst);
    page.sendMessage(WM_TCP_GENERAL, 0, selectLParam(FD_READ, 0));
    loop.settle();
    ASSERT_EQ(page.dispatched.size(), 2u);
    EXPECT_EQ(page.dispatched[0], frameOf(kFirst));
    EXPECT_EQ(page.dispatched[1], frameOf(kSecond));
    EXPECT_EQ(page.text(kReceiveBox),
              std::string(kFirst) + " \r\n" + std::string(kSecond) + " \r\n");
    EXPECT_EQ(page.tcp.fill(), 0u);
}
