// The TCP side of the connection panel: Search and the IP list, and the connect check on a
// refusing, a slow, a silent and a quick network, before and after a Status.
#include "GeneralFixture.h"
#include "platform/sim/VirtualTcpSocket.h"
#include "sim/harness/UdpMatrixAdapter.h"

using namespace zentrel;
using namespace zentrel::testing;
using TcpPanel = GeneralTest;

TEST_F(TcpPanel, SearchDropsTheLinkAndTwoMatricesFillTheListWithTheFirstAsTarget) {
    connectTcp();
    sim::MatrixState other = sim::MatrixState::factory();
    other.ip = {192, 168, 1, 101};
    other.mac = {0x02, 0x5A, 0x45, 0x4E, 0x00, 0xB2};
    sim::MatrixModel second(other);
    sim::UdpMatrixAdapter secondOnTheSegment(second, net(), "192.168.1.101");
    click(gen::kSearch); // drops the link first
    EXPECT_EQ(state().TcpConnected, 0);
    EXPECT_EQ(page->text(gen::kTcpConnect), "Connect");
    EXPECT_EQ(net().openTcpSockets(), 0);
    advance(50);
    const VirtualDatagram& probe = net().datagrams().front();
    EXPECT_EQ(probe.bytes, std::vector<std::uint8_t>{0x61});
    EXPECT_EQ(probe.toIp, "255.255.255.255");
    EXPECT_EQ(page->control(gen::kIpCombo).items, (Names{"192.168.1.100", "192.168.1.101"}));
    EXPECT_EQ(state().MatrixIp, "192.168.1.100");
    EXPECT_EQ(state().SelectedMac, "025A454E0001");

    page->choose(gen::kIpCombo, 1);
    EXPECT_EQ(state().MatrixIp, "192.168.1.101");
    EXPECT_EQ(state().SelectedMac, "025A454E00B2");
}

TEST(TcpConnect, CheckWaitsForAConnectUnderWayAndFailsOnlyOnRefusalOrAfterThreeSeconds) {
    struct Network {
        const char* name;
        bool listening;
        int connectMs; // -1: never completes
        bool confirmed;
        int atMs; // of the confirmation, or of the failure notice
    };
    const Network networks[] = {{"LAN", true, 1, true, 100},
                                {"nothing listening", false, 1, false, 100},
                                {"VPN or weak Wi-Fi", true, 450, true, 500},
                                {"every packet lost", true, -1, false, 3000}};
    for (const Network& n : networks) {
        SCOPED_TRACE(n.name);
        sim::SimulatedMatrixHarness::Options options;
        options.tcp = n.listening;
        GeneralFixture f(options);
        f.search();
        f.net().setConnectDelayMs(n.connectMs);
        f.net().setConnectsComplete(n.connectMs >= 0);
        const std::int64_t start = f.now();
        f.click(gen::kTcpConnect);
        f.advance(5000);
        // Confirmed: the beeper's state is asked for at once.
        ASSERT_EQ(f.sent(), n.confirmed ? frames("01 0B 00 | 01 02 00") : Names{});
        ASSERT_EQ(f.popups.noticeTexts(true),
                  n.confirmed ? Names{} : Names{"Connect to Matrix failed! (1000 ms)"});
        EXPECT_EQ(
            (n.confirmed ? f.harness.frames().all().front().atMs : f.popups.notices[0].openedMs) -
                start,
            n.atMs);
        EXPECT_EQ(f.page->text(gen::kTcpConnect), n.confirmed ? "Disconnect" : "Connect");
        EXPECT_EQ(f.state().ShownConnected, n.confirmed ? 1 : 0);
    }
}

TEST_F(TcpPanel, StatusAfterAFailedStatusConnectWorksOnALinkMadeByConnect) {
    search();
    net().setConnectsComplete(false);
    click(gen::kStatus);
    advance(5000);
    ASSERT_EQ(popups.noticeTexts(), Names{"Connect to Matrix failed!"});

    net().setConnectsComplete(true);
    settle(gen::kTcpConnect, 200);
    click(gen::kStatus);
    EXPECT_EQ(sent().size(), 8u) << harness.transcript();
}

TEST_F(TcpPanel, ReturnToThePageWaitsForASlowReconnect) {
    connectTcp();
    net().setConnectDelayMs(600);
    main->selectPage(kPageGeneral);
    advance(5000);
    EXPECT_TRUE(popups.notices.empty());
    EXPECT_EQ(state().TcpConnected, 1);

    net().setConnectsComplete(false);
    const std::int64_t start = now();
    main->selectPage(kPageGeneral);
    advance(5000);
    ASSERT_EQ(popups.noticeTexts(true), Names{"Connect to Matrix failed! (1500 ms)"});
    EXPECT_EQ(popups.notices[0].openedMs - start, 150 + 3000);
}
