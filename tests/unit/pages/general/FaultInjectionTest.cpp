// The General page's chains under every way the link can go wrong while they run: the serial
// adapter pulled, the TCP peer resetting, standby announced at any step, replies cut up,
// doubled, behind stray bytes or arriving after the repeat. Whatever happens the user gets the
// page's own message, no chain is left running with the tabs locked, and no step goes out more
// than twice.
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

const Names kResetSteps = frames("02 03 01 00 01 | 02 03 02 00 02 | 02 03 03 00 03 | 02 03 04 00 04"
                                 "| 03 08 F0 | 03 01 04 F0 | 06 01 0F");

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

    // Nothing left running: no chain busy, no progress box, every tab usable.
    void expectIdle() {
        EXPECT_EQ(page->status().busy(), 0);
        EXPECT_FALSE(page->maintenance().resetRunning());
        EXPECT_FALSE(main->progress().isVisible());
        for (int tab : {ctl::kGeneralTab, ctl::kEdidTab, ctl::kMatrixTab, ctl::kFirmwareTab}) {
            EXPECT_TRUE(main->isEnabled(tab)) << tab;
        }
        // The waits of every step and the animations; the port rescan runs on while no COM
        // port is held.
        for (int id = 1; id < 80; ++id) {
            if (id != gen::kPortRescan) {
                EXPECT_FALSE(page->timerRunning(id)) << "timer " << id;
            }
        }
        EXPECT_FALSE(page->timerRunning(gen::kResetAnimation));
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

TEST_F(GeneralFaults, SerialAdapterPulledInTheMiddleOfStatusDisconnectsAndTimesOutOnce) {
    connectCom();
    whenReceived(3, [&] { harness.unplugSerial(); }); // after the input-2 query
    click(gen::kStatus);
    advance(20000);

    EXPECT_EQ(sent(), queries(1, 1) + frames("01 04 02")) << harness.transcript();
    EXPECT_EQ(page->text(gen::kComConnect), "Connect");
    EXPECT_EQ(state().ComPortOpen, 0);
    EXPECT_EQ(popups.noticeTexts(), Names{"Time out!"});
    expectIdle();
    // The next Status says the port is gone instead of waiting on a dead line.
    popups.notices.clear();
    click(gen::kStatus);
    EXPECT_EQ(popups.noticeTexts(), Names{"Open COM failed!"});
    expectIdle();
}

TEST_F(GeneralFaults, SerialAdapterPulledInTheMiddleOfAFactoryResetEndsItWithTimeOut) {
    connectCom();
    whenReceived(2, [&] { harness.unplugSerial(); });
    click(gen::kFactoryReset);
    advance(30000);

    EXPECT_EQ(sent(), Names(kResetSteps.begin(), kResetSteps.begin() + 2));
    EXPECT_EQ(popups.noticeTexts(), Names{"Time out!"});
    EXPECT_EQ(state().ComPortOpen, 0);
    expectIdle();
}

TEST_F(GeneralFaults, TcpPeerResetInTheMiddleOfStatusTimesOutAndTheNextStatusReconnects) {
    connectTcp();
    whenReceived(4, [&] { harness.resetTcp(); }); // after the output-2 query
    click(gen::kStatus);
    advance(20000);

    EXPECT_EQ(sent(), queries(1, 2)) << harness.transcript();
    EXPECT_EQ(state().TcpConnected, 0);
    EXPECT_EQ(popups.noticeTexts(), Names{"Time out!"});
    expectIdle();

    harness.clearFrames();
    popups.notices.clear();
    click(gen::kStatus); // connects again first, then runs the whole chain
    advance(5000);
    EXPECT_EQ(sent(), frames("01 0A 00 | 01 02 00 | 01 0B 00") + queries(1, 4));
    EXPECT_EQ(lines(), kAllConnected);
    EXPECT_TRUE(popups.notices.empty());
    expectIdle();
}

TEST_F(GeneralFaults, StandbyAtAnyStepOfStatusStopsItWithTheStandbyNoticeAndUnlocksTheTabs) {
    for (std::size_t step = 1; step <= 8; ++step) {
        SCOPED_TRACE("standby after query " + std::to_string(step));
        FaultFixture f;
        f.connectCom();
        f.whenReceived(step, [&] { f.harness.announceStandby(); });
        f.click(gen::kStatus);
        f.advance(30000);

        EXPECT_EQ(f.popups.noticeTexts(), Names{"Matrix is in standby mode!"});
        EXPECT_LE(f.sent().size(), step + 1); // the answer to the last query may still come
        f.expectNoExtraSends(queries(1, 4));
        f.expectIdle();
    }
}

TEST_F(GeneralFaults, DoubledSplitAndStrayLadenRepliesRunTheChainOnceOverBothLinks) {
    struct Shape {
        const char* name;
        sim::FaultRule rule;
    };
    sim::FaultRule stray{Kind::Stray, FrameMatch::all()};
    stray.stray = {0x00, 0xFF, 0x5B, 0x13};
    sim::FaultRule split{Kind::Split, FrameMatch::all()};
    split.splitAt = {1, 2, 7};
    const std::vector<Shape> shapes = {
        {"doubled", {Kind::Duplicate, FrameMatch::all()}},
        {"byte by byte", {Kind::ByteByByte, FrameMatch::all()}},
        {"split", split},
        {"behind stray bytes", stray},
    };
    for (const Shape& shape : shapes) {
        for (bool tcp : {false, true}) {
            SCOPED_TRACE(std::string(shape.name) + (tcp ? " over TCP" : " over COM"));
            FaultFixture f;
            tcp ? f.connectTcp() : f.connectCom();
            f.harness.faults().add(shape.rule);
            f.click(gen::kStatus);
            f.advance(20000);

            if (shape.rule.kind == Kind::Duplicate) {
                for (const std::string& reply : f.harness.fromMatrix()) {
                    EXPECT_EQ(reply.size(), 2 * CommandFrame::kSize * 3 - 1); // two frames
                }
            }
            f.expectIdle();
            if (tcp && shape.rule.kind == Kind::Stray) {
                // Over TCP the first 13 bytes of a read are the reply: a reply behind noise is
                // lost, and so is the answer to the repeat.
                EXPECT_EQ(f.sent(), frames("01 04 01 | 01 04 01"));
                EXPECT_EQ(f.popups.noticeTexts(), Names{"Time out!"});
                continue;
            }
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

TEST_F(GeneralFaults, DoubledRepliesDuringAFactoryResetSendEveryStepOnce) {
    connectCom();
    onFault(Kind::Duplicate, FrameMatch::all());
    click(gen::kFactoryReset);
    advance(20000);

    EXPECT_EQ(sent(), kResetSteps) << harness.transcript();
    EXPECT_EQ(popups.noticeTexts(), Names{"Set successfully!"});
    expectIdle();
}
