// Status as a user meets it: the eight port queries one after another, the lines in green and
// red, silence and late replies, the give-up, the device-information chain and Status over TCP.
#include "GeneralFixture.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;
using F = GeneralFixture;
using Kind = sim::FaultRule::Kind;
using Names = std::vector<std::string>;
using sim::FrameMatch;

namespace {

Names queries(int first, int last) {
    Names out;
    for (int k = first; k <= last; ++k) {
        out.push_back(F::frame({0x01, 0x04, static_cast<std::uint8_t>(k)}));
        out.push_back(F::frame({0x01, 0x05, static_cast<std::uint8_t>(k)}));
    }
    return out;
}

Names operator+(Names a, const Names& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Names lines(GeneralPage& p) {
    Names out;
    for (int k = 1; k <= 4; ++k) {
        out.push_back(p.text(gen::inputLine(k)));
        out.push_back(p.text(gen::outputLine(k)));
    }
    return out;
}

} // namespace

TEST(StatusOverCom, ConnectsFirstThenAsksEachPortOnceAndShowsEightLines) {
    F f;
    f.harness.state().inputConnected[3] = false; // input 3 reports FF
    f.click(gen::kStatus);                       // returns when the progress box has closed

    EXPECT_EQ(f.sent(),
              (Names{F::frame({0x08, 0x0C, 0x00}), F::frame({0x01, 0x0B, 0x00})} + queries(1, 4)));
    EXPECT_EQ(lines(*f.page),
              (Names{"HDMI IN1: Connect", "HDMI OUTA: Connect", "HDMI IN2: Connect",
                     "HDMI OUTB: Connect", "HDMI IN3: Disconnect", "HDMI OUTC: Connect",
                     "HDMI IN4: Connect", "HDMI OUTD: Connect"}));
    EXPECT_EQ(f.page->control(gen::inputLine(3)).textColor, rgb(255, 0, 0));
    EXPECT_EQ(f.page->control(gen::inputLine(4)).textColor, rgb(0, 255, 0));
    EXPECT_EQ(f.page->control(gen::inputLine(4)).backColor, rgb(30, 144, 225));
    ASSERT_EQ(f.popups.progress.size(), 1u);
    EXPECT_EQ(f.popups.progress[0].text, "Getting status . . .");
    EXPECT_TRUE(f.popups.notices.empty());

    // Nothing is left waiting, and Clear empties the lines.
    f.harness.clearFrames();
    f.advance(20000);
    EXPECT_TRUE(f.sent().empty());
    f.click(gen::kClear);
    EXPECT_EQ(lines(*f.page), Names(8, ""));
}

TEST(StatusOverCom, ReplyFailingTheChecksumIsSilenceUntilTheRepeat) {
    F f;
    f.onFault(Kind::BadChecksum, FrameMatch::of(0x01, 0x04).with(4, 0x02), 1);
    f.connectCom();
    const std::int64_t start = f.now();
    f.click(gen::kStatus);
    EXPECT_EQ(f.sent(), queries(1, 1) + Names{F::frame({0x01, 0x04, 0x02})} + queries(2, 4));
    EXPECT_GE(f.now() - start, 5200); // input 2 waited out its 5 s
    EXPECT_LT(f.now() - start, 5400);
    EXPECT_TRUE(f.popups.notices.empty());
}

TEST(StatusOverCom, ReplyArrivingAfterTheRepeatEndsTheChainWithoutATimeOut) {
    F f;
    sim::FaultRule late{Kind::Delay, FrameMatch::of(0x01, 0x05).with(4, 0x04), 1};
    late.delayMs = 6000;
    f.harness.faults().add(late);
    f.connectCom();
    f.click(gen::kStatus);
    f.advance(20000);
    EXPECT_EQ(f.page->text(gen::outputLine(4)), "HDMI OUTD: Connect");
    EXPECT_EQ(f.sent(), queries(1, 4) + Names{F::frame({0x01, 0x05, 0x04})});
    EXPECT_TRUE(f.popups.notices.empty());
}

TEST(StatusOverCom, TwoSilencesGiveUpWithTimeOutAndUnlockTheTabs) {
    F f;
    f.onFault(Kind::Silent, FrameMatch::of(0x01, 0x05));
    f.connectCom();
    f.main->postMessage(WM_TAB_LOCK, 1);
    bool progressGone = false;
    f.watchProgressAtNotice(progressGone);
    const std::int64_t start = f.now();
    f.click(gen::kStatus);

    EXPECT_EQ(f.sent(), queries(1, 1) + Names{F::frame({0x01, 0x05, 0x01})});
    ASSERT_EQ(f.popups.noticeTexts(), (Names{"Time out!"}));
    // The first query 200 ms after the click, output 1's 10 ms later, two waits of 5 s.
    EXPECT_NEAR(f.popups.notices[0].openedMs - start, 200 + 10 + 10000, 5);
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1000);
    EXPECT_TRUE(progressGone);
    EXPECT_TRUE(f.main->isEnabled(ctl::kGeneralTab));
    EXPECT_EQ(f.page->text(gen::inputLine(1)), "HDMI IN1: Connect");
}

TEST(StatusOverCom, DeviceTypeReplyLeadsThroughModelAndVersionToThePorts) {
    F f;
    f.harness.state().deviceType = 2;
    f.harness.state().firmwareMinor = 2;
    f.connectCom();
    // The page never asks for the device type; a reply to it still starts the whole chain.
    f.harness.serialPorts().sendToPanel(3, F::bytes({0x01, 0x01, 0x02}));
    f.advance(1000);
    EXPECT_EQ(f.sent(),
              (Names{F::frame({0x01, 0x02, 0x00}), F::frame({0x01, 0x03, 0x00})} + queries(1, 4)));
    EXPECT_EQ(f.page->text(gen::kDeviceLine), "HDBT MATRIX 4X4");
    EXPECT_EQ(f.page->text(gen::kVersionLine), "1.2");
}

TEST(StatusOverTcp, ConnectsFirstReadsIrAndBeepAndNamesEachPortInTheProgressText) {
    F f;
    f.search();
    f.harness.state().irControl = false;
    const std::int64_t start = f.now();
    f.click(gen::kStatus); // starts the connect; the check follows 100 ms later
    f.advance(5000);

    EXPECT_EQ(f.sent(),
              (Names{F::frame({0x01, 0x0A, 0x00}), F::frame({0x01, 0x0B, 0x00})} + queries(1, 4)));
    EXPECT_EQ(f.page->text(gen::kTcpConnect), "Disconnect");
    EXPECT_FALSE(f.page->isChecked(gen::kIrControl));
    EXPECT_TRUE(f.page->isChecked(gen::kBeep));
    EXPECT_EQ(lines(*f.page)[7], "HDMI OUTD: Connect");
    ASSERT_EQ(f.popups.progress.size(), 1u);
    EXPECT_EQ(f.popups.progress[0].openedMs - start, 100);
    const auto& labels = f.popups.progressLabels;
    ASSERT_GE(labels.size(), 7u);
    EXPECT_EQ(Names(labels.end() - 7, labels.end()),
              (Names{"Getting Out1...", "Getting In2...", "Getting Out2...", "Getting In3...",
                     "Getting Out3...", "Getting In4...", "Getting Out4..."}));
}
