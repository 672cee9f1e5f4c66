// The TCP side of the connection panel: Search and the IP list, Connect with its connect check
// on a refusing, a slow, a silent and a quick network, and the return to the page.
#include "GeneralFixture.h"
#include "platform/sim/VirtualTcpSocket.h"
#include "sim/harness/UdpMatrixAdapter.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;
using F = GeneralFixture;

namespace {

std::vector<std::string> addresses(GeneralPage& p) {
    return p.control(gen::kIpCombo).items;
}

// Search from TCP mode, as a user starts, and let the answers arrive.
void searchFromTcpMode(F& f) {
    f.click(gen::kTcpRadio);
    f.click(gen::kSearch);
    f.advance(50);
}

sim::SimulatedMatrixHarness::Options noListener() {
    sim::SimulatedMatrixHarness::Options o;
    o.tcp = false; // the matrix answers discovery but nothing listens on port 8000
    return o;
}

} // namespace

TEST(Search, TwoMatricesFillTheListAndTheFirstStaysTheTarget) {
    F f;
    sim::MatrixState other = sim::MatrixState::factory();
    other.ip = {192, 168, 1, 101};
    other.mac = {0x02, 0x5A, 0x45, 0x4E, 0x00, 0xB2};
    sim::MatrixModel second(other);
    sim::UdpMatrixAdapter secondOnTheSegment(second, f.harness.network(), "192.168.1.101");

    searchFromTcpMode(f);
    const VirtualDatagram& probe = f.harness.network().datagrams().front();
    EXPECT_EQ(probe.bytes, std::vector<std::uint8_t>{0x61});
    EXPECT_EQ(probe.toIp, "255.255.255.255");
    EXPECT_EQ(probe.toPort, 30600);
    EXPECT_EQ(addresses(*f.page), (std::vector<std::string>{"192.168.1.100", "192.168.1.101"}));
    EXPECT_EQ(f.page->shownText(gen::kIpCombo), "192.168.1.100");
    EXPECT_EQ(f.state().MatrixIp, "192.168.1.100");
    EXPECT_EQ(f.state().SelectedMac, "025A454E0001");

    // Choosing the second makes it the target.
    f.page->choose(gen::kIpCombo, 1);
    EXPECT_EQ(f.state().MatrixIp, "192.168.1.101");
    EXPECT_EQ(f.state().SelectedMac, "025A454E00B2");

    // A new search starts the list again.
    f.click(gen::kSearch);
    EXPECT_TRUE(addresses(*f.page).empty());
    f.advance(50);
    EXPECT_EQ(addresses(*f.page).size(), 2u);
    EXPECT_EQ(f.state().SelectedMac, "025A454E0001");
}

TEST(Search, DropsTheTcpLinkFirstAndIpChoiceDoesToo) {
    F f;
    f.connectTcp();
    ASSERT_EQ(f.page->text(gen::kTcpConnect), "Disconnect");
    f.click(gen::kSearch);
    EXPECT_EQ(f.state().TcpConnected, 0);
    EXPECT_EQ(f.state().ShownConnected, 0);
    EXPECT_EQ(f.page->text(gen::kTcpConnect), "Connect");
    EXPECT_EQ(f.page->control(gen::kTcpIcon).icon, gen::kIconDisconnected);
    EXPECT_EQ(f.harness.network().openTcpSockets(), 0);
    f.advance(50);

    f.click(gen::kTcpConnect);
    f.advance(200);
    ASSERT_EQ(f.state().ShownConnected, 1);
    f.page->choose(gen::kIpCombo, 0);
    EXPECT_EQ(f.state().TcpConnected, 0);
    EXPECT_EQ(f.page->text(gen::kTcpConnect), "Connect");
    EXPECT_TRUE(f.popups.notices.empty());
}

TEST(Search, BusyPortSaysSearchFailed) {
    F f;
    f.harness.network().setUdpPortBusy(30600);
    f.click(gen::kTcpRadio);
    f.click(gen::kSearch);
    EXPECT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Search failed"}));
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1500);
}

TEST(TcpConnect, ConfirmedAtTheFirstCheckAsksTheBeeperAndDisconnectsOnSecondClick) {
    F f;
    f.harness.state().beep = false;
    searchFromTcpMode(f);
    f.harness.clearFrames();
    f.click(gen::kTcpConnect);
    EXPECT_EQ(f.harness.network().connectTargets().back(),
              (std::pair<std::string, std::uint16_t>{"192.168.1.100", 8000}));
    f.advance(99);
    EXPECT_EQ(f.page->text(gen::kTcpConnect), "Connect");
    f.advance(1);
    EXPECT_EQ(f.page->text(gen::kTcpConnect), "Disconnect");
    EXPECT_EQ(f.page->control(gen::kTcpIcon).icon, gen::kIconConnected);
    EXPECT_EQ(f.state().ShownConnected, 1);
    f.advance(50);
    EXPECT_EQ(f.sent(), (std::vector<std::string>{F::frame({0x01, 0x0B, 0x00})}));
    EXPECT_FALSE(f.page->isChecked(gen::kBeep));

    f.click(gen::kTcpConnect);
    EXPECT_EQ(f.state().TcpConnected, 0);
    EXPECT_EQ(f.state().ShownConnected, 0);
    EXPECT_EQ(f.page->text(gen::kTcpConnect), "Connect");
    EXPECT_EQ(f.harness.network().openTcpSockets(), 0);
    EXPECT_TRUE(f.popups.notices.empty());
}

TEST(TcpConnect, RefusedFailsAtTheFirstCheck) {
    F f(noListener());
    searchFromTcpMode(f);
    f.harness.clearFrames();
    const std::int64_t start = f.now();
    f.click(gen::kTcpConnect);
    f.advance(2000);
    ASSERT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Connect to Matrix failed!"}));
    EXPECT_EQ(f.popups.notices[0].openedMs - start, 100);
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1000);
    EXPECT_EQ(f.page->text(gen::kTcpConnect), "Connect");
    EXPECT_EQ(f.state().ShownConnected, 0);
    EXPECT_TRUE(f.sent().empty());
}

TEST(TcpConnect, SlowConnectIsWaitedForAndWorks) {
    F f;
    searchFromTcpMode(f);
    f.harness.clearFrames();
    f.harness.network().setConnectDelayMs(450); // a VPN or a weak Wi-Fi
    f.click(gen::kTcpConnect);
    f.advance(400);
    EXPECT_EQ(f.page->text(gen::kTcpConnect), "Connect");
    EXPECT_TRUE(f.popups.notices.empty());
    f.advance(100);
    EXPECT_EQ(f.page->text(gen::kTcpConnect), "Disconnect");
    EXPECT_EQ(f.state().ShownConnected, 1);
    f.advance(50);
    EXPECT_EQ(f.sent(), (std::vector<std::string>{F::frame({0x01, 0x0B, 0x00})}));

    // The link works: the beeper is switched off and the box follows the matrix.
    f.click(gen::kBeep);
    f.advance(50);
    EXPECT_EQ(f.sent().back(), F::frame({0x06, 0x01, 0xF0}));
    EXPECT_FALSE(f.page->isChecked(gen::kBeep));
    EXPECT_TRUE(f.popups.notices.empty());
}

TEST(TcpConnect, ConnectThatNeverCompletesFailsAfterThreeSeconds) {
    F f;
    searchFromTcpMode(f);
    f.harness.network().setConnectsComplete(false); // every packet dropped on the way
    const std::int64_t start = f.now();
    f.click(gen::kTcpConnect);
    f.advance(5000);
    ASSERT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Connect to Matrix failed!"}));
    EXPECT_EQ(f.popups.notices[0].openedMs - start, 3000);
    EXPECT_EQ(f.page->text(gen::kTcpConnect), "Connect");
}

TEST(TcpConnect, DroppingTheLinkWhileTheCheckWaitsReportsNothing) {
    F f;
    searchFromTcpMode(f);
    f.harness.network().setConnectsComplete(false);
    f.click(gen::kTcpConnect);
    f.advance(500);
    f.click(gen::kSearch);
    f.advance(5000);
    EXPECT_TRUE(f.popups.notices.empty());
}

TEST(TcpConnect, StatusAfterAFailedStatusConnectWorksOnALinkMadeByConnect) {
    F f;
    searchFromTcpMode(f);
    f.harness.network().setConnectsComplete(false); // the matrix is unreachable for a while
    f.click(gen::kStatus);
    f.advance(5000);
    ASSERT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Connect to Matrix failed!"}));

    f.harness.network().setConnectsComplete(true);
    f.click(gen::kTcpConnect);
    f.advance(200);
    ASSERT_EQ(f.state().TcpConnected, 1);
    f.harness.clearFrames();
    f.click(gen::kStatus);
    EXPECT_EQ(f.sent().size(), 8u) << f.harness.transcript();
    EXPECT_EQ(f.page->text(gen::outputLine(4)), "HDMI OUTD: Connect");
}

TEST(TcpConnect, LinkLostBeforeTheFirstStatusQueryClosesTheProgress) {
    F f;
    searchFromTcpMode(f);
    f.harness.clearFrames();
    f.click(gen::kStatus);
    // The matrix closes the connection between the connect check and the first query.
    f.harness.loop().schedule(150, [&] {
        dynamic_cast<VirtualTcpSocket&>(*f.app.controlSocket().socket()).peerClosed();
    });
    f.advance(3000);
    EXPECT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Connect to Matrix failed!"}));
    ASSERT_EQ(f.popups.progress.size(), 1u);
    EXPECT_GE(f.popups.progress[0].closedMs, 0);
    EXPECT_EQ(f.state().ProgressShown, 0);
    EXPECT_EQ(f.page->status().busy(), 0);
    EXPECT_FALSE(f.page->timerRunning(gen::kStatusAnimation));
    EXPECT_EQ(f.sent(), (std::vector<std::string>{F::frame({0x01, 0x0A, 0x00}),
                                                  F::frame({0x01, 0x0B, 0x00})}));
}

TEST(TcpConnect, ReturnToThePageWaitsForASlowReconnect) {
    F f;
    f.connectTcp();
    f.harness.network().setConnectDelayMs(600);
    f.main->selectPage(kPageMatrix);
    f.main->selectPage(kPageGeneral);
    f.advance(5000);
    EXPECT_TRUE(f.popups.notices.empty());
    EXPECT_EQ(f.state().TcpConnected, 1);

    // A reconnect that cannot complete is reported once the patience is over.
    f.harness.network().setConnectsComplete(false);
    const std::int64_t start = f.now();
    f.main->selectPage(kPageGeneral);
    f.advance(5000);
    ASSERT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Connect to Matrix failed!"}));
    EXPECT_EQ(f.popups.notices[0].openedMs - start, 150 + 3000);
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1500);
}
