// What the General page does when the user leaves it or its link is made anew: connect checks
// that end with a page switch, a link shown down whenever it failed, a port shown closed after
// a failed re-open, and no reply spliced from the bytes of two links.
#include "GeneralFixture.h"
#include "platform/sim/VirtualTcpSocket.h"

using namespace zentrel;
using namespace zentrel::testing;
using AcrossLinks = GeneralTest;

TEST_F(AcrossLinks, StatusLinkLostAfterItsCheckShowsTheLinkDownBesideTheNotice) {
    search();
    click(gen::kStatus);
    harness.loop().schedule(
        150, [&] { dynamic_cast<VirtualTcpSocket&>(*app.controlSocket().socket()).peerClosed(); });
    bool shownDown = false;
    harness.loop().setModalHook([&](Window& w) {
        if (w.templateId() == res::kNoticeDialog) {
            shownDown = page->text(gen::kTcpConnect) == "Connect" &&
                        page->control(gen::kTcpIcon).icon == gen::kIconDisconnected &&
                        state().ShownConnected == 0;
        }
    });
    advance(3000);
    ASSERT_EQ(popups.noticeTexts(), Names{"Connect to Matrix failed!"});
    EXPECT_TRUE(shownDown);
}

TEST_F(AcrossLinks, FailedReopenOnReturnShowsThePortClosedAndStatusOpensItAgain) {
    connectCom();
    main->selectPage(kPageMatrix);
    harness.serialPorts().setHeldElsewhere(3, true);
    main->selectPage(kPageGeneral);
    advance(150);
    ASSERT_EQ(popups.noticeTexts(), Names{"Open COM failed!"});
    EXPECT_EQ(page->text(gen::kComConnect), "Connect");
    EXPECT_EQ(page->control(gen::kComIcon).icon, gen::kIconDisconnected);
    EXPECT_EQ(state().ComPortOpen, 0);
    EXPECT_TRUE(page->isEnabled(gen::kPortCombo));

    click(gen::kReboot); // refused, not written to a closed port
    click(gen::kStatus); // tries to open the port, which another program still holds
    EXPECT_EQ(popups.noticeTexts(),
              (Names{"Open COM failed!", "Open COM failed!", "Open COM failed!"}));
    harness.serialPorts().setHeldElsewhere(3, false);
    advance(600); // the re-scan lists the port again
    click(gen::kStatus);
    EXPECT_EQ(page->text(gen::kComConnect), "Disconnect");
    EXPECT_EQ(sent(),
              frames("08 0C 00 | 01 0B 00 | 01 02 00") + frames("01 04 01 | 01 05 01 | 01 04 02 | "
                                                                "01 05 02 | 01 04 03 | 01 05 03 | "
                                                                "01 04 04 | 01 05 04"))
        << harness.transcript();
}

TEST_F(AcrossLinks, BytesLeftByTheOldLinkDoNotJoinTheFirstReplyOnTheNewOne) {
    harness.state().beep = false;
    connectCom();
    // Half a beep-state reply, then the user disconnects and connects again.
    const CommandFrame cut = CommandFrame::make({0x01, 0x0B});
    harness.serialPorts().sendToPanel(3, std::span(cut.bytes).first(6));
    advance(10);
    click(gen::kComConnect);
    click(gen::kComConnect);
    advance(100);
    // The power state is read from its reply, which then asks for the beeper's (off).
    EXPECT_TRUE(page->isChecked(gen::kPower));
    EXPECT_FALSE(page->isChecked(gen::kBeep));
    EXPECT_EQ(sent(), frames("08 0C 00 | 01 0B 00 | 01 02 00"));
}
