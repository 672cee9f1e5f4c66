// Status as a user meets it: the eight port queries one after another, the lines in green and
// red, silence and late replies, the give-up, the device-information chain, Status over TCP and
// the replies only a status chain meets: behind stray bytes, and after a peer reset.
#include "GeneralFixture.h"

using namespace zentrel;
using namespace zentrel::testing;
using Status = GeneralTest;
using Kind = sim::FaultRule::Kind;
using sim::FrameMatch;

namespace {

Names queries(int first, int last) {
    Names out;
    for (int k = first; k <= last; ++k) {
        const std::string port = " 0" + std::to_string(k);
        out = out + frames("01 04" + port + " | 01 05" + port);
    }
    return out;
}

Names lines(GeneralPage& p) {
    Names out;
    for (int k = 1; k <= 4; ++k) {
        out.push_back(p.text(gen::inputLine(k)));
        out.push_back(p.text(gen::outputLine(k)));
    }
    return out;
}

// No chain left running: nothing busy, no progress box, every tab usable.
void expectIdle(GeneralFixture& f) {
    EXPECT_EQ(f.page->status().busy(), 0);
    EXPECT_FALSE(f.main->progress().isVisible());
    for (int tab : {ctl::kGeneralTab, ctl::kEdidTab, ctl::kMatrixTab, ctl::kFirmwareTab}) {
        EXPECT_TRUE(f.main->isEnabled(tab)) << tab;
    }
}

const Names kAllConnected = {"HDMI IN1: Connect",  "HDMI OUTA: Connect", "HDMI IN2: Connect",
                             "HDMI OUTB: Connect", "HDMI IN3: Connect",  "HDMI OUTC: Connect",
                             "HDMI IN4: Connect",  "HDMI OUTD: Connect"};

} // namespace

TEST_F(Status, OverComConnectsFirstThenAsksEachPortOnceAndShowsEightLines) {
    harness.state().inputConnected[3] = false; // input 3 reports FF
    click(gen::kStatus);                       // returns when the progress box has closed

    EXPECT_EQ(sent(), frames("08 0C 00 | 01 0B 00 | 01 02 00") + queries(1, 4));
    EXPECT_EQ(lines(*page),
              (Names{"HDMI IN1: Connect", "HDMI OUTA: Connect", "HDMI IN2: Connect",
                     "HDMI OUTB: Connect", "HDMI IN3: Disconnect", "HDMI OUTC: Connect",
                     "HDMI IN4: Connect", "HDMI OUTD: Connect"}));
    EXPECT_EQ(page->control(gen::inputLine(3)).textColor, rgb(255, 0, 0));
    EXPECT_EQ(page->control(gen::inputLine(4)).textColor, rgb(0, 255, 0));
    EXPECT_EQ(page->control(gen::inputLine(4)).backColor, rgb(30, 144, 225));
    ASSERT_EQ(popups.progress.size(), 1u);
    EXPECT_EQ(popups.progress[0].text, "Getting status . . .");
    EXPECT_TRUE(popups.notices.empty());

    // Nothing is left waiting, and Clear empties the lines.
    harness.clearFrames();
    advance(20000);
    EXPECT_TRUE(sent().empty());
    click(gen::kClear);
    EXPECT_EQ(lines(*page), Names(8, ""));
}

TEST_F(Status, ReplyFailingTheChecksumIsSilenceUntilTheRepeat) {
    onFault(Kind::BadChecksum, FrameMatch::of(cmd::kInputStatus).with(4, 0x02), 1);
    connectCom();
    const std::int64_t start = now();
    click(gen::kStatus);
    EXPECT_EQ(sent(), queries(1, 1) + frames("01 04 02") + queries(2, 4));
    EXPECT_GE(now() - start, 5200); // input 2 waited out its 5 s
    EXPECT_LT(now() - start, 5400);
    EXPECT_TRUE(popups.notices.empty());
}

TEST_F(Status, DeviceTypeReplyLeadsThroughModelAndVersionToThePorts) {
    harness.state().deviceType = 2;
    harness.state().firmwareMinor = 2;
    connectCom();
    // The page never asks for the device type; a reply to it still starts the whole chain.
    harness.serialPorts().sendToPanel(3, CommandFrame::make({0x01, 0x01, 0x02}).bytes);
    advance(1000);
    EXPECT_EQ(sent(), frames("01 02 00 | 01 03 00") + queries(1, 4));
    EXPECT_EQ(page->text(gen::kDeviceLine), "HDBT MATRIX 4X4");
    EXPECT_EQ(page->text(gen::kVersionLine), "1.2");
}

TEST_F(Status, OverTcpConnectsFirstReadsIrAndBeepAndNamesEachPortInTheProgressText) {
    search();
    harness.state().irControl = false;
    const std::int64_t start = now();
    click(gen::kStatus); // starts the connect; the check follows 100 ms later
    advance(5000);

    EXPECT_EQ(sent(), frames("01 0A 00 | 01 02 00 | 01 0B 00") + queries(1, 4));
    EXPECT_EQ(page->text(gen::kTcpConnect), "Disconnect");
    EXPECT_FALSE(page->isChecked(gen::kIrControl));
    EXPECT_TRUE(page->isChecked(gen::kBeep));
    EXPECT_EQ(lines(*page)[7], "HDMI OUTD: Connect");
    ASSERT_EQ(popups.progress.size(), 1u);
    EXPECT_EQ(popups.progress[0].openedMs - start, 100);
    const auto& labels = popups.progressLabels;
    ASSERT_GE(labels.size(), 7u);
    EXPECT_EQ(Names(labels.end() - 7, labels.end()),
              (Names{"Getting Out1...", "Getting In2...", "Getting Out2...", "Getting In3...",
                     "Getting Out3...", "Getting In4...", "Getting Out4..."}));
}

TEST_F(Status, OverTcpAPeerResetMidChainIsReachedAgainByTheNextStatusWhichRunsItAll) {
    connectTcp();
    whenReceived(4, [&] { harness.resetTcp(); }); // after the output-2 query
    click(gen::kStatus);
    advance(20000);
    EXPECT_EQ(sent(), queries(1, 2)) << harness.transcript();
    harness.clearFrames();
    popups.notices.clear();
    click(gen::kStatus); // connects again first, then runs the whole chain
    advance(5000);
    EXPECT_EQ(sent(), frames("01 0A 00 | 01 02 00 | 01 0B 00") + queries(1, 4));
    EXPECT_EQ(lines(*page), kAllConnected);
    EXPECT_TRUE(popups.notices.empty());
    expectIdle(*this);
}

TEST(StatusReplies, BehindStrayBytesAreFoundOnTheLineButLostOverTcp) {
    sim::FaultRule stray{Kind::Stray, FrameMatch::all()};
    stray.stray = {0x00, 0xFF, 0x5B, 0x13};
    for (bool tcp : {false, true}) {
        SCOPED_TRACE(tcp ? "TCP" : "COM");
        GeneralFixture f;
        tcp ? f.connectTcp() : f.connectCom();
        f.harness.faults().add(stray);
        f.click(gen::kStatus);
        f.advance(20000);
        expectIdle(f);
        if (tcp) {
            // Over TCP the first 13 bytes of a read are the reply: a reply behind noise is
            // lost, and so is the answer to the repeat.
            EXPECT_EQ(f.sent(), frames("01 04 01 | 01 04 01"));
            EXPECT_EQ(f.popups.noticeTexts(), Names{"Time out!"});
        } else {
            EXPECT_EQ(f.sent(), queries(1, 4)) << f.harness.transcript();
            EXPECT_EQ(lines(*f.page), kAllConnected);
            EXPECT_TRUE(f.popups.notices.empty());
        }
    }
}

TEST(StatusReplies, AfterTheRepeatTheFirstAndTheRepeatsOwnMoveTheChainOnOnce) {
    for (bool tcp : {false, true}) {
        SCOPED_TRACE(tcp ? "TCP" : "COM");
        GeneralFixture f;
        tcp ? f.connectTcp() : f.connectCom();
        // Input 2's first answer comes a second after its repeat; the repeat is answered too.
        sim::FaultRule late{Kind::Delay, FrameMatch::of(cmd::kInputStatus).with(4, 0x02), 1};
        late.delayMs = 6000;
        f.harness.faults().add(late);
        f.click(gen::kStatus);
        f.advance(30000);
        EXPECT_EQ(f.sent(), queries(1, 1) + frames("01 04 02") + queries(2, 4))
            << f.harness.transcript();
        EXPECT_EQ(lines(*f.page), kAllConnected);
        EXPECT_TRUE(f.popups.notices.empty());
        expectIdle(f);
    }
}
