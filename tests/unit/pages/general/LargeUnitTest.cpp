// The unit's size as the General page learns it after a connect, and Status on an eight-by-eight
// unit: sixteen queries, rows 5..8 filled, the last output's own waits; a unit that stays silent
// on the question, refuses it or answers nonsense is the four-by-four one, without a word.
#include "GeneralFixture.h"

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;
using sim::FrameMatch;

namespace {

Names chain(int ports) {
    Names out;
    for (int k = 1; k <= ports; ++k) {
        const std::string port = " 0" + std::to_string(k);
        out = out + frames("01 04" + port + " | 01 05" + port);
    }
    return out;
}

sim::FaultRule patchModel(std::size_t at, std::uint8_t value) {
    sim::FaultRule r{Kind::Patch, FrameMatch::of(cmd::kModel)};
    r.patchAt = at;
    r.patchValue = value;
    return r;
}

} // namespace

TEST(LargeUnit, TheSizeAnsweredAfterConnectSetsHowFarStatusGoes) {
    struct Case {
        const char* what;
        bool tcp;
        std::vector<sim::FaultRule> faults;
        int ports; // inputs and outputs the panel then takes the unit for
    };
    const std::vector<Case> cases = {
        {"8x8 over COM", false, {}, 8},
        {"8x8 over TCP", true, {}, 8},
        {"no answer", false, {{Kind::Silent, FrameMatch::of(cmd::kModel)}}, 4},
        {"refused", true, {{Kind::Refuse, FrameMatch::of(cmd::kModel)}}, 4},
        {"nonsense counts", false, {patchModel(4, 0x09), patchModel(6, 0x00)}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GeneralFixture f(eightByEight());
        for (const sim::FaultRule& r : c.faults) {
            f.harness.faults().add(r);
        }
        c.tcp ? f.connectTcp() : f.connectCom();
        f.advance(6000); // past the question's one wait
        EXPECT_EQ(f.state().size(), (MatrixSize{c.ports, c.ports}));
        EXPECT_TRUE(f.popups.notices.empty());

        f.harness.state().outputConnected[7] = false;
        f.harness.clearFrames();
        f.click(gen::kStatus);
        f.advance(1000);
        EXPECT_EQ(f.sent(), chain(c.ports));
        const int last = c.ports;
        EXPECT_EQ(f.page->text(gen::inputLine(last)),
                  "HDMI IN" + std::to_string(last) + ": Connect");
        EXPECT_EQ(f.page->text(gen::outputLine(5)), c.ports == 8 ? "HDMI OUTE: Connect" : "");
        EXPECT_EQ(f.page->text(gen::outputLine(7)), c.ports == 8 ? "HDMI OUTG: Disconnect" : "");
        EXPECT_TRUE(f.popups.notices.empty());
        EXPECT_EQ(f.popups.progress.back().closedMs >= 0, true);
    }
    // A unit of another shape names both its counts on the model line.
    GeneralFixture f(eightByEight());
    f.harness.faults().add(patchModel(6, 0x04));
    f.connectCom();
    f.harness.serialPorts().sendToPanel(3, CommandFrame::make({0x01, 0x01, 0x02}).bytes);
    f.advance(12000);
    EXPECT_EQ(f.page->text(gen::kDeviceLine), "HDBT MATRIX 8X4");
}

TEST(LargeUnit, ConnectAsksOnceFactoryResetRoutesEightAndTheLastOutputHasItsOwnWaits) {
    GeneralFixture f(eightByEight());
    f.harness.state().routing = {0, 8, 7, 6, 5, 4, 3, 2, 1};
    f.click(gen::kComConnect);
    f.advance(100);
    EXPECT_EQ(f.sent(), frames("08 0C 00 | 01 0B 00 | 01 02 00"));

    f.harness.clearFrames();
    f.click(gen::kFactoryReset);
    const Names reset = f.sent();
    EXPECT_EQ(
        Names(reset.begin(), reset.begin() + 9),
        frames("02 03 01 00 01 | 02 03 02 00 02 | 02 03 03 00 03 | 02 03 04 00 04 | "
               "02 03 05 00 05 | 02 03 06 00 06 | 02 03 07 00 07 | 02 03 08 00 08 | 03 08 F0"));
    EXPECT_EQ(f.harness.state().routing[8], 8);

    f.harness.clearFrames();
    f.harness.faults().add({Kind::Silent, FrameMatch::of(cmd::kOutputStatus).with(4, 8)});
    f.click(gen::kStatus);
    f.advance(12000);
    EXPECT_EQ(f.sent(), chain(8) + frames("01 05 08"));
    EXPECT_EQ(f.popups.noticeTexts(), (Names{"Set successfully!", "Time out!"}));

    // The next connect starts from four by four: a unit silent on the question is the small one.
    f.harness.faults().add({Kind::Silent, FrameMatch::of(cmd::kModel)});
    f.click(gen::kComConnect);
    f.click(gen::kComConnect);
    f.advance(6000);
    EXPECT_EQ(f.state().size(), MatrixSize{});
}
