// The TCP side of the connection panel: Search and the IP list, and the connect check on a
// refusing, a slow, a silent and a quick network, before and after a Status.
#include "GeneralFixture.h"
#include "platform/sim/VirtualTcpSocket.h"
#include "sim/harness/UdpMatrixAdapter.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;
using F = GeneralFixture;
using Names = std::vector<std::string>;

TEST(Search, DropsTheLinkAndTwoMatricesFillTheListWithTheFirstAsTarget) {
    F f;
    f.connectTcp();
    sim::MatrixState other = sim::MatrixState::factory();
    other.ip = {192, 168, 1, 101};
    other.mac = {0x02, 0x5A, 0x45, 0x4E, 0x00, 0xB2};
    sim::MatrixModel second(other);
    sim::UdpMatrixAdapter secondOnTheSegment(second, f.harness.network(), "192.168.1.101");
    f.click(gen::kSearch); // drops the link first
    EXPECT_EQ(f.state().TcpConnected, 0);
    EXPECT_EQ(f.page->text(gen::kTcpConnect), "Connect");
    EXPECT_EQ(f.harness.network().openTcpSockets(), 0);
    f.advance(50);
    const VirtualDatagram& probe = f.harness.network().datagrams().front();
    EXPECT_EQ(probe.bytes, std::vector<std::uint8_t>{0x61});
    EXPECT_EQ(probe.toIp, "255.255.255.255");
    EXPECT_EQ(f.page->control(gen::kIpCombo).items, (Names{"192.168.1.100", "192.168.1.101"}));
    EXPECT_EQ(f.state().MatrixIp, "192.168.1.100");
    EXPECT_EQ(f.state().SelectedMac, "025A454E0001");

    f.page->choose(gen::kIpCombo, 1);
    EXPECT_EQ(f.state().MatrixIp, "192.168.1.101");
    EXPECT_EQ(f.state().SelectedMac, "025A454E00B2");
}

TEST(TcpConnect, CheckWaitsForAConnectUnderWayAndFailsOnlyOnRefusalOrAfterThreeSeconds) {
    struct Network {
        const char* name;
        bool listening;
        int connectMs; // -1: never completes
        int confirmedAtMs;
        int failedAtMs;
    };
    const Network networks[] = {
        {"LAN", true, 1, 100, -1},
        {"nothing listening", false, 1, -1, 100},
        {"VPN or weak Wi-Fi", true, 450, 500, -1},
        {"every packet lost", true, -1, -1, 3000},
    };
    for (const Network& n : networks) {
        SCOPED_TRACE(n.name);
        sim::SimulatedMatrixHarness::Options options;
        options.tcp = n.listening;
        F f(options);
        f.search();
        f.harness.network().setConnectDelayMs(n.connectMs);
        f.harness.network().setConnectsComplete(n.connectMs >= 0);
        const std::int64_t start = f.now();
        f.click(gen::kTcpConnect);
        f.advance(5000);
        if (n.confirmedAtMs >= 0) {
            // Confirmed: the beeper's state is asked for at once.
            ASSERT_EQ(f.sent(), Names{F::frame({0x01, 0x0B, 0x00})});
            EXPECT_EQ(f.harness.frames().all().front().atMs - start, n.confirmedAtMs);
            EXPECT_EQ(f.page->text(gen::kTcpConnect), "Disconnect");
            EXPECT_EQ(f.state().ShownConnected, 1);
            EXPECT_TRUE(f.popups.notices.empty());
        } else {
            ASSERT_EQ(f.popups.noticeTexts(), Names{"Connect to Matrix failed!"});
            EXPECT_EQ(f.popups.notices[0].openedMs - start, n.failedAtMs);
            EXPECT_EQ(f.popups.notices[0].durationMs(), 1000);
            EXPECT_EQ(f.page->text(gen::kTcpConnect), "Connect");
            EXPECT_TRUE(f.sent().empty());
        }
    }
}

TEST(TcpConnect, DroppingTheLinkWhileTheCheckWaitsReportsNothing) {
    F f;
    f.search();
    f.harness.network().setConnectsComplete(false);
    f.click(gen::kTcpConnect);
    f.advance(500);
    f.click(gen::kSearch);
    f.advance(5000);
    EXPECT_TRUE(f.popups.notices.empty());
}

TEST(TcpConnect, StatusAfterAFailedStatusConnectWorksOnALinkMadeByConnect) {
    F f;
    f.search();
    f.harness.network().setConnectsComplete(false);
    f.click(gen::kStatus);
    f.advance(5000);
    ASSERT_EQ(f.popups.noticeTexts(), Names{"Connect to Matrix failed!"});

    f.harness.network().setConnectsComplete(true);
    f.click(gen::kTcpConnect);
    f.advance(200);
    f.harness.clearFrames();
    f.click(gen::kStatus);
    EXPECT_EQ(f.sent().size(), 8u) << f.harness.transcript();
}

TEST(TcpConnect, LinkLostBeforeTheFirstStatusQueryClosesTheProgress) {
    F f;
    f.search();
    f.click(gen::kStatus);
    f.harness.loop().schedule(150, [&] {
        dynamic_cast<VirtualTcpSocket&>(*f.app.controlSocket().socket()).peerClosed();
    });
    f.advance(3000);
    EXPECT_EQ(f.popups.noticeTexts(), Names{"Connect to Matrix failed!"});
    ASSERT_EQ(f.popups.progress.size(), 1u);
    EXPECT_EQ(f.state().ProgressShown, 0);
    EXPECT_FALSE(f.page->timerRunning(gen::kStatusAnimation));
    EXPECT_EQ(f.sent(), (Names{F::frame({0x01, 0x0A, 0x00}), F::frame({0x01, 0x0B, 0x00})}));
}

TEST(TcpConnect, ReturnToThePageWaitsForASlowReconnect) {
    F f;
    f.connectTcp();
    f.harness.network().setConnectDelayMs(600);
    f.main->selectPage(kPageGeneral);
    f.advance(5000);
    EXPECT_TRUE(f.popups.notices.empty());
    EXPECT_EQ(f.state().TcpConnected, 1);

    f.harness.network().setConnectsComplete(false);
    const std::int64_t start = f.now();
    f.main->selectPage(kPageGeneral);
    f.advance(5000);
    ASSERT_EQ(f.popups.noticeTexts(), Names{"Connect to Matrix failed!"});
    EXPECT_EQ(f.popups.notices[0].openedMs - start, 150 + 3000);
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1500);
}

TEST(TcpConnect, StandbyAnnouncedWhileStatusWaitsForItsConnectLeavesStatusUsable) {
    F f;
    f.search();
    f.harness.network().setConnectDelayMs(150);
    f.click(gen::kStatus);
    // The link is up at 150 ms; the check that would see it comes at 200 ms, after this.
    f.harness.loop().schedule(170, [&] { f.harness.announceStandby(); });
    f.advance(3000);
    ASSERT_EQ(f.popups.noticeTexts(), Names{"Matrix is in standby mode!"});
    EXPECT_EQ(f.state().TcpConnected, 1);

    f.harness.clearFrames();
    f.click(gen::kStatus);
    ASSERT_FALSE(f.sent().empty());
    EXPECT_EQ(f.sent().front(), F::frame({0x01, 0x04, 0x01}));
}
