// The General page's status chain where its replies go astray in ways the other pages never
// meet: a TCP peer that resets and is reached again, replies behind stray bytes, and a first
// reply that arrives after its repeat.
#include "GeneralFixture.h"

#include <algorithm>
#include <functional>
#include <map>

using namespace zentrel;
using namespace zentrel::testing;
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

struct FaultFixture : GeneralFixture {
    // Runs `fn` as soon as the matrix has received `count` units since the last clearFrames.
    void whenReceived(std::size_t count, std::function<void()> fn) {
        harness.loop().schedule(1, [this, count, fn = std::move(fn)]() mutable {
            if (sent().size() >= count) {
                fn();
            } else {
                whenReceived(count, std::move(fn));
            }
        });
    }

    // No chain busy, no progress box, every tab usable.
    void expectIdle() {
        EXPECT_EQ(page->status().busy(), 0);
        EXPECT_FALSE(main->progress().isVisible());
        for (int tab : {ctl::kGeneralTab, ctl::kEdidTab, ctl::kMatrixTab, ctl::kFirmwareTab}) {
            EXPECT_TRUE(main->isEnabled(tab)) << tab;
        }
    }

    // No unit went out more than twice (the one repeat), and none of `once` more than once.
    void expectNoExtraSends(const Names& once = {}) {
        std::map<std::string, int> counts;
        for (const std::string& s : sent()) {
            ++counts[s];
        }
        for (const auto& [hex, n] : counts) {
            EXPECT_LE(n, 2) << hex << "\n" << harness.transcript();
        }
        for (const std::string& hex : once) {
            EXPECT_LE(counts[hex], 1) << hex << "\n" << harness.transcript();
        }
    }

    Names lines() {
        Names out;
        for (int k = 1; k <= 4; ++k) {
            out.push_back(page->text(gen::inputLine(k)));
            out.push_back(page->text(gen::outputLine(k)));
        }
        return out;
    }
};

struct GeneralFaults : ::testing::Test, FaultFixture {};

const Names kAllConnected = {"HDMI IN1: Connect",  "HDMI OUTA: Connect", "HDMI IN2: Connect",
                             "HDMI OUTB: Connect", "HDMI IN3: Connect",  "HDMI OUTC: Connect",
                             "HDMI IN4: Connect",  "HDMI OUTD: Connect"};

} // namespace

TEST_F(GeneralFaults, TcpPeerResetInTheMiddleOfStatusAndTheNextStatusReconnectsAndRunsItAll) {
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
    EXPECT_EQ(lines(), kAllConnected);
    EXPECT_TRUE(popups.notices.empty());
    expectIdle();
}

TEST_F(GeneralFaults, StrayBytesBeforeEveryReplyAreSkippedOnTheLineAndLoseTheReplyOverTcp) {
    sim::FaultRule stray{Kind::Stray, FrameMatch::all()};
    stray.stray = {0x00, 0xFF, 0x5B, 0x13};
    for (bool tcp : {false, true}) {
        SCOPED_TRACE(tcp ? "TCP" : "COM");
        FaultFixture f;
        tcp ? f.connectTcp() : f.connectCom();
        f.harness.faults().add(stray);
        f.click(gen::kStatus);
        f.advance(20000);
        f.expectIdle();
        if (tcp) {
            // Over TCP the first 13 bytes of a read are the reply: a reply behind noise is
            // lost, and so is the answer to the repeat.
            EXPECT_EQ(f.sent(), frames("01 04 01 | 01 04 01"));
            EXPECT_EQ(f.popups.noticeTexts(), Names{"Time out!"});
        } else {
            EXPECT_EQ(f.sent(), queries(1, 4)) << f.harness.transcript();
            EXPECT_EQ(f.lines(), kAllConnected);
            EXPECT_TRUE(f.popups.notices.empty());
        }
    }
}

TEST_F(GeneralFaults, AReplyAfterTheRepeatAndTheRepeatsOwnReplyMoveTheChainOnOnce) {
    for (bool tcp : {false, true}) {
        SCOPED_TRACE(tcp ? "TCP" : "COM");
        FaultFixture f;
        tcp ? f.connectTcp() : f.connectCom();
        // Input 2's first answer comes a second after its repeat; the repeat is answered too.
        sim::FaultRule late{Kind::Delay, FrameMatch::of(cmd::kInputStatus).with(4, 0x02), 1};
        late.delayMs = 6000;
        f.harness.faults().add(late);
        f.click(gen::kStatus);
        f.advance(30000);

        const Names sent = f.sent();
        EXPECT_EQ(std::count(sent.begin(), sent.end(), frames("01 04 02")[0]), 2);
        f.expectNoExtraSends(frames("01 05 02 | 01 04 03 | 01 05 03 | 01 04 04 | 01 05 04"));
        EXPECT_EQ(f.lines(), kAllConnected);
        EXPECT_TRUE(f.popups.notices.empty());
        f.expectIdle();
    }
}
