// The status list: the Status button's guarded chain, the texts of the status codes, replies the
// page must not take, and replies over TCP that arrive before the page has asked anything.
#include "EdidFixture.h"

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;
using sim::FrameMatch;

namespace {

struct EdidStatus : EdidTest {
    EdidStatus() { openOverCom(); }
};

Names chain() {
    return frames("01 0C 01 | 01 0C 02 | 01 0C 03 | 01 0C 04");
}

} // namespace

TEST_F(EdidStatus, StatusButtonShowsEveryCodeAsItsText) {
    harness.state().edidStatus[1] = 0x0F;
    harness.state().edidStatus[2] = 0x13;
    harness.state().edidStatus[3] = 0xFF;
    harness.state().edidStatus[4] = 0x0E;
    press(edid::kStatus);
    EXPECT_EQ(sent(), chain());
    EXPECT_EQ(statusLines(),
              (Names{"Copy HDMI OUT A", "User define", "User define", "DVI 1920X1200"}));
    EXPECT_EQ(popups.progress.at(0).text, "Getting status . . .");
    EXPECT_TRUE(popups.notices.empty());
    EXPECT_FALSE(edid->busy());

    const Names codes{"1080i,Stereo Audio 2.0", "1080i,Dolby/DTS 5.1", "1080i,HD Audio 7.1",
                      "1080p,Stereo Audio 2.0", "1080p,Dolby/DTS 5.1", "1080p,HD Audio 7.1",
                      "3D,Stereo Audio 2.0",    "3D,Dolby/DTS 5.1",    "3D,HD Audio 7.1",
                      "4K2K,Stereo Audio 2.0",  "4K2K,Dolby/DTS 5.1",  "4K2K,HD Audio 7.1",
                      "DVI 1024X768",           "DVI 1920X1080",       "DVI 1920X1200",
                      "Copy HDMI OUT A",        "Copy HDMI OUT B",     "Copy HDMI OUT C",
                      "Copy HDMI OUT D",        "User define"};
    for (std::size_t code = 0; code < codes.size(); ++code) {
        harness.state().edidStatus[2] = static_cast<std::uint8_t>(code);
        press(edid::kStatus);
        EXPECT_EQ(statusLines()[1], codes[code]) << code;
    }
}

TEST_F(EdidStatus, StatusReplyWithByteFiveSetIsNotTakenAndTheChainTimesOut) {
    onFault(Kind::Byte5Set, FrameMatch::of(cmd::kEdidStatus).with(4, 0x02));
    const std::int64_t start = now();
    press(edid::kStatus);
    EXPECT_EQ(sentAt(start),
              (Names{"2: " + chain()[0], "11: " + chain()[1], "5011: " + chain()[1]}));
    EXPECT_EQ(noticesFrom(start), (Names{"Time out! @10009 (1500 ms)"}));
    EXPECT_EQ(statusLines()[1], "1080p,Stereo Audio 2.0"); // as the opening's refresh left it
    EXPECT_FALSE(edid->busy());

    // The refresh chain has no waits: it simply stops at the reply it does not take.
    harness.clearFrames();
    popups.notices.clear();
    main->selectPage(kPageEdid);
    advance(30000);
    EXPECT_EQ(sent(), frames("01 0C 01 | 01 0C 02"));
    EXPECT_TRUE(popups.notices.empty());
}

TEST_F(EdidStatus, StatusIsNotBlockedByABusyPage) {
    onFault(Kind::Silent, FrameMatch::of(cmd::kEdidAccess));
    at(1000, [this] { press(edid::kStatus); });
    press(edid::kModeSet);
    advance(20000);
    EXPECT_EQ(sent(), frames("03 08 F0") + chain() + frames("03 08 F0"));
    EXPECT_EQ(popups.noticeTexts(), (Names{"Time out!"}));
}

TEST_F(EdidTest, OverTcpRepliesBeforeThePagesFirstCommandAreIgnored) {
    connectTcp();
    chooseTab();
    // Between the tab's choice and its activation, on the page's new connection: not the page's
    // reply, nothing happens.
    advance(50);
    harness.sendEdidSwitchReport(0x0F);
    advance(50);
    EXPECT_TRUE(popups.notices.empty());
    EXPECT_EQ(harness.fromMatrix().back(), frames("03 0B 0F")[0]); // it did arrive
    advance(1000);
    EXPECT_EQ(sent(), chain());
    EXPECT_EQ(statusLines(), Names(4, "1080p,Stereo Audio 2.0"));

    // Once the page has spoken, the same report is acted on.
    harness.sendEdidSwitchReport(0x0F);
    advance(3000);
    EXPECT_EQ(popups.noticeTexts(), (Names{"Please set the EDID to [1111]!"}));

    // And every change works over TCP as over COM.
    harness.clearFrames();
    popups.notices.clear();
    choose(edid::kModeChoice, 3);
    choose(edid::kModeTarget, 3);
    press(edid::kModeSet);
    advance(100);
    EXPECT_EQ(sent(), frames("03 08 F0 | 03 02 04 F0 04 | 01 0C 04"));
    EXPECT_EQ(popups.noticeTexts(), (Names{"Set successfully!"}));
}

TEST_F(EdidTest, SerialBytesAreLoggedStrayOnesIncludedAndFramesStillAssembled) {
    onFault(Kind::Stray, FrameMatch::of(cmd::kEdidStatus).with(4, 0x01));
    connectCom();
    chooseTab();
    advance(1000);
    // One stray byte before the first reply: every byte counts towards the log line, so the
    // four replies leave the counter at 53 mod 13 = 1, and all four were taken.
    EXPECT_EQ(edid->assembler().logCounter(), 1);
    EXPECT_EQ(sent(), chain());
}
