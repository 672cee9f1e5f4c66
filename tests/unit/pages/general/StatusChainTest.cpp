// Status as a user meets it: the eight port queries one after another, the lines in green and
// red, the repeat after 5 s of silence, the give-up, and the same chain over TCP with its
// connect-first path.
#include "GeneralFixture.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;
using F = GeneralFixture;

namespace {

const std::vector<std::string> kEightQueries{
    F::frame({0x01, 0x04, 0x01}), F::frame({0x01, 0x05, 0x01}), F::frame({0x01, 0x04, 0x02}),
    F::frame({0x01, 0x05, 0x02}), F::frame({0x01, 0x04, 0x03}), F::frame({0x01, 0x05, 0x03}),
    F::frame({0x01, 0x04, 0x04}), F::frame({0x01, 0x05, 0x04})};

std::vector<std::string> lines(GeneralPage& p) {
    std::vector<std::string> out;
    for (int k = 1; k <= 4; ++k) {
        out.push_back(p.text(gen::inputLine(k)));
        out.push_back(p.text(gen::outputLine(k)));
    }
    return out;
}

constexpr Color kGreen = rgb(0, 255, 0);
constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kBlue = rgb(30, 144, 225);

} // namespace

TEST(StatusOverCom, ConnectsFirstThenAsksEachPortOnceInOrderAndShowsEightLines) {
    F f;
    f.state().ComPortOpen = 0;
    f.click(gen::kStatus); // returns when the progress box has closed

    std::vector<std::string> expected{F::frame({0x08, 0x0C, 0x00}), F::frame({0x01, 0x0B, 0x00})};
    expected.insert(expected.end(), kEightQueries.begin(), kEightQueries.end());
    EXPECT_EQ(f.sent(), expected) << f.harness.transcript();
    EXPECT_EQ(lines(*f.page), (std::vector<std::string>{
                                  "HDMI IN1: Connect", "HDMI OUTA: Connect", "HDMI IN2: Connect",
                                  "HDMI OUTB: Connect", "HDMI IN3: Connect", "HDMI OUTC: Connect",
                                  "HDMI IN4: Connect", "HDMI OUTD: Connect"}));
    EXPECT_EQ(f.page->text(gen::inputLine(5)), "");
    EXPECT_EQ(f.page->control(gen::inputLine(1)).textColor, kGreen);
    EXPECT_EQ(f.page->control(gen::outputLine(4)).backColor, kBlue);
    EXPECT_EQ(f.page->text(gen::kComConnect), "Disconnect");

    ASSERT_EQ(f.popups.progress.size(), 1u);
    EXPECT_EQ(f.popups.progress[0].text, "Getting status . . .");
    EXPECT_TRUE(f.popups.notices.empty());
    EXPECT_EQ(f.state().ProgressShown, 0);
    EXPECT_EQ(f.page->status().busy(), 0);
    EXPECT_FALSE(f.page->timerRunning(gen::kStatusAnimation));

    // Nothing is left waiting: no query goes out again.
    f.harness.clearFrames();
    f.advance(20000);
    EXPECT_TRUE(f.sent().empty());
}

TEST(StatusOverCom, UnpluggedPortsShowRedDisconnectLines) {
    F f;
    f.harness.state().inputConnected[3] = false;
    f.harness.state().outputConnected[1] = false;
    f.connectCom();
    f.click(gen::kStatus);

    EXPECT_EQ(f.page->text(gen::inputLine(3)), "HDMI IN3: Disconnect");
    EXPECT_EQ(f.page->text(gen::outputLine(1)), "HDMI OUTA: Disconnect");
    EXPECT_EQ(f.page->control(gen::inputLine(3)).textColor, kRed);
    EXPECT_EQ(f.page->control(gen::inputLine(2)).textColor, kGreen);
    EXPECT_FALSE(f.page->status().lineConnected(gen::inputLine(3)));

    // A later Status with the source back turns the line green again; Clear empties them all.
    f.harness.state().inputConnected[3] = true;
    f.click(gen::kStatus);
    EXPECT_EQ(f.page->text(gen::inputLine(3)), "HDMI IN3: Connect");
    EXPECT_EQ(f.page->control(gen::inputLine(3)).textColor, kGreen);
    f.click(gen::kClear);
    EXPECT_EQ(lines(*f.page), std::vector<std::string>(8, ""));
}

TEST(StatusOverCom, ReplyFailingTheChecksumIsSilenceAndTheQueryIsRepeated) {
    F f;
    f.harness.faults().add(sim::FaultRule{sim::FaultRule::Kind::BadChecksum,
                                          sim::FrameMatch::of(0x01, 0x04).with(4, 0x02), 1});
    f.connectCom();
    const std::int64_t start = f.now();
    f.click(gen::kStatus);

    // Input 2's spoiled reply is not taken: the line stays empty until the repeat 5 s later.
    std::vector<std::string> expected(kEightQueries.begin(), kEightQueries.begin() + 3);
    expected.push_back(F::frame({0x01, 0x04, 0x02}));
    expected.insert(expected.end(), kEightQueries.begin() + 3, kEightQueries.end());
    EXPECT_EQ(f.sent(), expected) << f.harness.transcript();
    EXPECT_EQ(f.page->text(gen::inputLine(2)), "HDMI IN2: Connect");
    EXPECT_GE(f.now() - start, 5200);
    EXPECT_LT(f.now() - start, 5400);
    EXPECT_TRUE(f.popups.notices.empty());
}

TEST(StatusOverCom, ReplyArrivingAfterTheRepeatEndsTheChainWithoutATimeOut) {
    F f;
    sim::FaultRule late{sim::FaultRule::Kind::Delay, sim::FrameMatch::of(0x01, 0x05).with(4, 0x04),
                        1};
    late.delayMs = 6000; // the first answer comes after the repeat went out
    f.harness.faults().add(late);
    f.connectCom();
    f.click(gen::kStatus);

    EXPECT_EQ(f.page->text(gen::outputLine(4)), "HDMI OUTD: Connect");
    f.advance(20000);
    EXPECT_TRUE(f.popups.notices.empty());
    const std::vector<std::string> sent = f.sent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), F::frame({0x01, 0x05, 0x04})), 2);
}

TEST(StatusOverCom, TwoSilencesGiveUpWithTimeOutForASecondAndUnlockTheTabs) {
    F f;
    f.harness.faults().add(
        sim::FaultRule{sim::FaultRule::Kind::Silent, sim::FrameMatch::of(0x01, 0x05)});
    f.connectCom();
    const std::int64_t start = f.now();
    f.main->postMessage(WM_TAB_LOCK, 1); // another page locked the tabs
    bool progressGone = false;
    f.harness.loop().setModalHook([&](Window& w) {
        if (w.templateId() == res::kNoticeDialog) {
            progressGone = !f.main->progress().isVisible();
        }
    });
    f.click(gen::kStatus);

    EXPECT_EQ(f.sent(),
              (std::vector<std::string>{F::frame({0x01, 0x04, 0x01}), F::frame({0x01, 0x05, 0x01}),
                                        F::frame({0x01, 0x05, 0x01})}));
    ASSERT_EQ(f.popups.notices.size(), 1u);
    EXPECT_EQ(f.popups.notices[0].text, "Time out!");
    // The first query 200 ms after the click, output 1's 10 ms later, two waits of 5 s.
    EXPECT_NEAR(f.popups.notices[0].openedMs - start, 200 + 10 + 10000, 5);
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1000);
    EXPECT_TRUE(progressGone);
    EXPECT_TRUE(f.main->isEnabled(ctl::kGeneralTab));
    EXPECT_FALSE(f.page->isChecked(gen::kStatusRadio));
    EXPECT_EQ(f.page->text(gen::inputLine(1)), "HDMI IN1: Connect");
}

TEST(StatusOverCom, GiveUpClosesAnotherPagesPleaseWaitInsteadOfATimeOut) {
    F f;
    f.harness.faults().add(
        sim::FaultRule{sim::FaultRule::Kind::Silent, sim::FrameMatch::of(0x01, 0x04)});
    f.connectCom();
    // Another page's "Please wait..." is up when the chain gives up.
    f.harness.loop().schedule(300, [&] {
        f.main->setTimer(MainWindow::kNoticeTimer, 60000);
        f.main->notice().show("Please wait...");
    });
    f.click(gen::kStatus);
    f.advance(100);

    ASSERT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Please wait..."}));
    EXPECT_EQ(f.popups.notices[0].closedMs, f.popups.progress[0].closedMs);
    EXPECT_EQ(f.state().NoticeShown, 0);
}

TEST(StatusOverCom, DeviceTypeReplyLeadsThroughModelAndVersionToThePorts) {
    F f;
    f.harness.state().deviceType = 2;
    f.harness.state().firmwareMajor = 1;
    f.harness.state().firmwareMinor = 2;
    f.connectCom();
    EXPECT_EQ(f.page->text(gen::kDeviceLine), "Not Known");
    EXPECT_EQ(f.page->text(gen::kVersionLine), "Not Known");

    // The page never asks for the device type; a reply to it still starts the whole chain.
    f.harness.serialPorts().sendToPanel(3, F::bytes({0x01, 0x01, 0x02}));
    f.advance(1000);

    std::vector<std::string> expected{F::frame({0x01, 0x02, 0x00}), F::frame({0x01, 0x03, 0x00})};
    expected.insert(expected.end(), kEightQueries.begin(), kEightQueries.end());
    EXPECT_EQ(f.sent(), expected) << f.harness.transcript();
    EXPECT_EQ(f.page->text(gen::kDeviceLine), "HDBT MATRIX 4X4");
    EXPECT_EQ(f.page->text(gen::kVersionLine), "1.2");
    EXPECT_EQ(f.page->text(gen::outputLine(4)), "HDMI OUTD: Connect");

    // A spoiled device-type reply starts nothing.
    f.harness.clearFrames();
    f.harness.serialPorts().sendToPanel(3, F::spoiled({0x01, 0x01, 0x01}));
    f.advance(1000);
    EXPECT_TRUE(f.sent().empty());
    EXPECT_EQ(f.page->text(gen::kDeviceLine), "HDBT MATRIX 4X4");
}

TEST(StatusOverCom, SilentModelQueryTimesOutAfterItsRepeat) {
    F f;
    f.harness.faults().add(
        sim::FaultRule{sim::FaultRule::Kind::Silent, sim::FrameMatch::of(0x01, 0x02)});
    f.connectCom();
    f.harness.serialPorts().sendToPanel(3, F::bytes({0x01, 0x01, 0x01}));
    f.advance(11000);
    EXPECT_EQ(f.sent(), (std::vector<std::string>{F::frame({0x01, 0x02, 0x00}),
                                                  F::frame({0x01, 0x02, 0x00})}));
    EXPECT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Time out!"}));
    EXPECT_EQ(f.page->text(gen::kDeviceLine), "HDMI MATRIX");
}

TEST(StatusOverCom, PortThatCannotBeOpenedRefusesWithoutAChain) {
    F f;
    f.harness.serialPorts().setHeldElsewhere(3, true);
    f.click(gen::kStatus);
    EXPECT_EQ(f.popups.noticeTexts(), (std::vector<std::string>{"Open COM failed!"}));
    EXPECT_EQ(f.popups.notices[0].durationMs(), 1500);
    EXPECT_TRUE(f.popups.progress.empty());
    EXPECT_TRUE(f.sent().empty());
}

TEST(StatusOverTcp, ConnectsFirstThenAsksIrAndBeepAndThePorts) {
    F f;
    f.click(gen::kTcpRadio);
    f.click(gen::kSearch);
    f.advance(50);
    f.harness.clearFrames();
    f.harness.state().irControl = false;

    const std::int64_t start = f.now();
    f.click(gen::kStatus); // starts the connect; the check follows 100 ms later
    EXPECT_TRUE(f.page->status().connectPending());
    f.advance(5000);

    std::vector<std::string> expected{F::frame({0x01, 0x0A, 0x00}), F::frame({0x01, 0x0B, 0x00})};
    expected.insert(expected.end(), kEightQueries.begin(), kEightQueries.end());
    EXPECT_EQ(f.sent(), expected) << f.harness.transcript();
    EXPECT_EQ(f.page->text(gen::kTcpConnect), "Disconnect");
    EXPECT_EQ(f.page->control(gen::kTcpIcon).icon, gen::kIconConnected);
    EXPECT_EQ(f.state().ShownConnected, 1);
    EXPECT_FALSE(f.page->isChecked(gen::kIrControl));
    EXPECT_TRUE(f.page->isChecked(gen::kBeep));
    EXPECT_EQ(lines(*f.page)[7], "HDMI OUTD: Connect");
    ASSERT_EQ(f.popups.progress.size(), 1u);
    EXPECT_EQ(f.popups.progress[0].openedMs - start, 100);
    EXPECT_EQ(f.state().ProgressShown, 0);
    EXPECT_FALSE(f.page->status().connectPending());
}

TEST(StatusOverTcp, ProgressTextNamesTheNextPort) {
    F f;
    f.connectTcp();
    f.click(gen::kStatus);
    const std::vector<std::string>& labels = f.popups.progressLabels;
    ASSERT_GE(labels.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(labels.end() - 7, labels.end()),
              (std::vector<std::string>{"Getting Out1...", "Getting In2...", "Getting Out2...",
                                        "Getting In3...", "Getting Out3...", "Getting In4...",
                                        "Getting Out4..."}));
    EXPECT_EQ(lines(*f.page)[7], "HDMI OUTD: Connect");
}

TEST(StatusOverTcp, PortRepliesAreIgnoredUntilStatusAfterConnect) {
    F f;
    f.connectTcp();
    // A reply to a query the page no longer waits for: Connect has muted port replies.
    f.page->sender().sendCommand(0x01, 0x04, 0x02);
    f.advance(100);
    EXPECT_EQ(f.page->text(gen::inputLine(2)), "");
    EXPECT_EQ(f.sent(), (std::vector<std::string>{F::frame({0x01, 0x04, 0x02})}));
    EXPECT_TRUE(f.page->status().tcpMuted());

    f.harness.clearFrames();
    f.click(gen::kStatus);
    EXPECT_EQ(f.sent(), kEightQueries);
    EXPECT_EQ(f.page->text(gen::inputLine(2)), "HDMI IN2: Connect");
    EXPECT_FALSE(f.page->status().tcpMuted());
}

TEST(StatusOverTcp, RepliesWhileAnotherPageIsShownAreDropped) {
    F f;
    f.connectTcp();
    f.click(gen::kStatus);
    f.click(gen::kClear);
    f.state().ActivePage = kPageMatrix; // as if the Matrix tab were shown on this socket
    f.page->sender().sendCommand(0x01, 0x05, 0x01);
    f.advance(100);
    EXPECT_EQ(f.page->text(gen::outputLine(1)), "");
}
