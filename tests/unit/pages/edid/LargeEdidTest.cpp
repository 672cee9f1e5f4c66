// The EDID page on an eight-by-eight unit: lists of eight inputs and outputs, the status list of
// eight inside the page, changes and a download past the fourth input and on all eight, a standby
// while input 6 is asked; a connect to a unit that does not tell its size brings the page back
// to four inputs, laid out as a four-by-four unit's page opens.
#include "EdidFixture.h"

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;
using sim::FrameMatch;

namespace {

struct LargeEdid : ::testing::Test, EdidFixture {
    LargeEdid() : EdidFixture(eightByEight()) {}
};

Names chain(int inputs) {
    Names out;
    for (int k = 1; k <= inputs; ++k) {
        out.push_back(cmd::queryEdidStatus(k).hex());
    }
    return out;
}

Names inputItems(int inputs) {
    Names out;
    for (int k = 1; k <= inputs; ++k) {
        out.push_back("IN" + std::to_string(k));
    }
    return out + Names{"All Inputs"};
}

bool overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

TEST_F(LargeEdid, ListsAndStatusCoverEightInputsInsideThePage) {
    harness.state().edidStatus = {0, 0x00, 0x01, 0x02, 0x03, 0x0C, 0x0D, 0x0E, 0x12};
    connectCom();
    chooseTab();
    advance(1000);
    EXPECT_EQ(sent(), chain(8));
    const Names texts{"1080i,Stereo Audio 2.0", "1080i,Dolby/DTS 5.1", "1080i,HD Audio 7.1",
                      "1080p,Stereo Audio 2.0", "DVI 1024X768",        "DVI 1920X1080",
                      "DVI 1920X1200",          "Copy HDMI OUT D"};
    EXPECT_EQ(statusLines(), texts);
    EXPECT_EQ(edid->control(edid::kCopyTarget).items, inputItems(8));
    EXPECT_EQ(edid->control(edid::kCopySource).items.back(), "HDMI OUT H");

    std::vector<int> shown{edid::kStatus, edid::kSeparator};
    for (int k = 1; k <= 8; ++k) {
        shown.insert(shown.end(), {edid::inputLabel(k), edid::statusLine(k)});
    }
    const Rect list = edid->control(edid::kListGroup).rect;
    EXPECT_LE(list.right, edid->geometry().width());
    for (std::size_t a = 0; a < shown.size(); ++a) {
        const Rect r = edid->control(shown[a]).rect;
        EXPECT_TRUE(edid->isShown(shown[a]) && r.left > list.left && r.right < list.right &&
                    r.top > list.top && r.bottom < list.bottom)
            << shown[a];
        for (std::size_t b = a + 1; b < shown.size(); ++b) {
            EXPECT_FALSE(overlap(r, edid->control(shown[b]).rect)) << shown[a] << " " << shown[b];
        }
    }

    // Status reads all eight; a standby while input 6 is silent ends its waits too.
    harness.clearFrames();
    harness.state().edidStatus[8] = 0x13;
    press(edid::kStatus);
    EXPECT_EQ(sent(), chain(8));
    EXPECT_EQ(statusLines()[7], "User define");
    onFault(Kind::Silent, FrameMatch::of(cmd::kEdidStatus).with(4, 6));
    harness.clearFrames();
    at(2000, [this] { harness.announceStandby(); });
    press(edid::kStatus);
    advance(20000);
    EXPECT_EQ(sent(), chain(6));
    EXPECT_EQ(popups.noticeTexts(), (Names{"Matrix is in standby mode!"}));
    EXPECT_FALSE(edid->busy());
}

TEST_F(LargeEdid, ChangesReachInputsPastTheFourthAndAllEight) {
    struct Case {
        const char* what;
        int button;
        std::vector<std::pair<int, int>> choices; // control, position
        Names wire;
        int input; // whose line then shows `text`
        const char* text;
    };
    const std::vector<Case> cases = {
        {"copy of output G to input 7",
         edid::kCopySet,
         {{edid::kCopySource, 6}, {edid::kCopyTarget, 6}},
         frames("01 05 07 | 03 08 F0 | 03 04 07 00 07 | 01 0C 07"),
         7,
         "User define"}, // the status codes name copies of outputs A..D only
        {"copy of output H to all",
         edid::kCopySet,
         {{edid::kCopySource, 7}, {edid::kCopyTarget, 8}},
         frames("01 05 08 | 03 08 F0 | 03 03 08") + chain(8),
         8,
         "User define"},
        {"built-in EDID on input 8",
         edid::kModeSet,
         {{edid::kModeChoice, 4}, {edid::kModeTarget, 7}},
         frames("03 08 F0 | 03 02 05 F0 08 | 01 0C 08"),
         8,
         "1080p,Dolby/DTS 5.1"},
        {"default EDID on all",
         edid::kModeSet,
         {{edid::kModeChoice, 15}, {edid::kModeTarget, 8}},
         frames("03 08 F0 | 03 09 FE") + chain(8),
         8,
         "1080p,Stereo Audio 2.0"},
    };
    openOverTcp();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        harness.state().edidStatus.fill(0x0C);
        for (const auto& [id, at] : c.choices) {
            choose(id, at);
        }
        harness.clearFrames();
        press(c.button);
        advance(100);
        EXPECT_EQ(sent(), c.wire);
        EXPECT_EQ(statusLines()[static_cast<std::size_t>(c.input - 1)], c.text);
    }

    // A download to input 6 asks for that input alone, then reads it back.
    ui.answers.push_back(files.write("edid.bin", goodEdid()));
    press(edid::kOpenFile);
    choose(edid::kDownloadTarget, 5);
    harness.clearFrames();
    press(edid::kDownloadSet);
    advance(100);
    EXPECT_EQ(sent().at(1), frames("03 07 06 F0")[0]);
    EXPECT_EQ(sent().back(), frames("01 0C 06")[0]);
    EXPECT_EQ(statusLines()[5], "User define");
}

TEST_F(LargeEdid, ANewConnectToAUnitSilentOnItsSizeShowsFourInputsAsAFourByFourPage) {
    openOverTcp();
    choose(edid::kModeTarget, 8);
    choose(edid::kCopySource, 6);
    choose(edid::kCopyTarget, 6);
    main->selectPage(kPageGeneral);
    advance(1000);
    onFault(Kind::Silent, FrameMatch::of(cmd::kModel));
    general->click(gen::kTcpConnect);
    general->click(gen::kTcpConnect);
    advance(6000);
    harness.clearFrames();
    main->selectPage(kPageEdid);
    advance(1000);
    EXPECT_EQ(sent(), chain(4));
    EXPECT_EQ(edid->control(edid::kModeTarget).items, inputItems(4));
    EXPECT_EQ(edid->shownText(edid::kModeTarget), "All Inputs");
    EXPECT_EQ(edid->shownText(edid::kCopySource), "HDMI OUT A");
    EXPECT_EQ(edid->shownText(edid::kCopyTarget), "IN1");

    EdidFixture small;
    small.openOverCom();
    std::vector<int> list{edid::kStatus, edid::kListGroup, edid::kListLine, edid::kSeparator};
    for (int k = 1; k <= 8; ++k) {
        list.insert(list.end(), {edid::inputLabel(k), edid::statusLine(k)});
    }
    for (int id : list) {
        EXPECT_EQ(edid->isShown(id), small.edid->isShown(id)) << id;
        EXPECT_EQ(edid->control(id).rect, small.edid->control(id).rect) << id;
    }
}
