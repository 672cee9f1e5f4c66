// A switch on the Matrix page when the link fails under it: the serial adapter pulled or the
// TCP peer resetting once the switch has left, standby announced while it waits, and the
// acknowledgment doubled or cut up. The page always comes back free (MatrixBusy cleared, the
// tabs usable) and sends the switch at most twice.
#include "MatrixFixture.h"

#include <algorithm>

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;
using sim::FrameMatch;

namespace {

struct MatrixFaults : MatrixFixture {
    // Input 2 to output 3 with `fault` run as soon as the switch has reached the matrix.
    void switchWith(std::function<void()> fault) {
        harness.loop().schedule(1, [this, fault = std::move(fault)] { poll(fault); });
        clickInput(3, 2);
        advance(20000);
    }
    void poll(std::function<void()> fault) {
        if (!sent().empty()) {
            fault();
            return;
        }
        harness.loop().schedule(1, [this, fault = std::move(fault)] { poll(fault); });
    }
    int switchesSent() const {
        const Names all = sent();
        return static_cast<int>(std::count(all.begin(), all.end(), switches("2>3")[0]));
    }
    void expectFree() {
        EXPECT_FALSE(state().MatrixBusy);
        EXPECT_FALSE(main->progress().isVisible());
        for (int tab : {ctl::kGeneralTab, ctl::kEdidTab, ctl::kMatrixTab, ctl::kFirmwareTab}) {
            EXPECT_TRUE(main->isEnabled(tab)) << tab;
        }
        EXPECT_LE(switchesSent(), 2) << harness.transcript();
    }
};

} // namespace

TEST(MatrixFaultInjection, AdapterPulledOrPeerResetDuringASwitchTimesOutAndFreesTheGrid) {
    for (bool tcp : {false, true}) {
        SCOPED_TRACE(tcp ? "TCP reset" : "serial adapter pulled");
        MatrixFaults f;
        tcp ? f.openOnTcp() : f.openOnCom();
        f.silenceOutput(3); // the acknowledgment would have been lost with the link anyway
        f.switchWith([&] { tcp ? f.harness.resetTcp() : f.harness.unplugSerial(); });
        EXPECT_EQ(f.popups.noticeTexts(), Names{"Time out!"});
        EXPECT_EQ(f.grid(), "A:1[1] B:2[2] C:3[3] D:4[4]");
        f.expectFree();
    }
}

TEST(MatrixFaultInjection, StandbyWhileASwitchWaitsFreesTheGrid) {
    for (bool tcp : {false, true}) {
        SCOPED_TRACE(tcp ? "TCP" : "COM");
        MatrixFaults f;
        tcp ? f.openOnTcp() : f.openOnCom();
        f.silenceOutput(3);
        f.switchWith([&] { f.harness.announceStandby(); });
        EXPECT_FALSE(f.popups.notices.empty());
        f.expectFree();
        // Nothing of the abandoned switch holds the grid back: the next click goes out.
        f.clickInput(4, 1);
        f.advance(50);
        EXPECT_EQ(f.sent().back(), switches("1>4")[0]);
    }
}

TEST(MatrixFaultInjection, DoubledOrCutAcknowledgmentsSwitchOnce) {
    sim::FaultRule split{Kind::Split, FrameMatch::all()};
    split.splitAt = {1, 5, 9};
    for (const sim::FaultRule& rule : {sim::FaultRule{Kind::Duplicate, FrameMatch::all()}, split,
                                       sim::FaultRule{Kind::ByteByByte, FrameMatch::all()}}) {
        for (bool tcp : {false, true}) {
            SCOPED_TRACE(std::string(tcp ? "TCP " : "COM ") +
                         (rule.kind == Kind::Duplicate ? "doubled"
                          : rule.kind == Kind::Split   ? "split"
                                                       : "byte by byte"));
            MatrixFaults f;
            tcp ? f.openOnTcp() : f.openOnCom();
            f.onFault(rule);
            f.switchWith([] {});
            EXPECT_EQ(f.switchesSent(), 1);
            EXPECT_EQ(f.grid(), "A:1[1] B:2[2] C:2[2] D:4[4]");
            EXPECT_TRUE(f.popups.notices.empty());
            f.expectFree();
        }
    }
}
