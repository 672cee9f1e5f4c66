// A long run on the virtual clock: ten thousand request/reply exchanges of the General page,
// status chains and factory resets over COM and then over TCP, with about one reply in a
// hundred corrupted or dropped by the simulated matrix. After every run: nothing left busy,
// every step sent once, or twice exactly when its first reply was spoiled, and the run's own
// result. At the end the figures are printed; what the panel holds besides its logs must not
// have grown.
#include "GeneralFixture.h"
#include "protocol/Commands.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <random>

using namespace zentrel;
using namespace zentrel::testing;
using Kind = sim::FaultRule::Kind;
using sim::FrameMatch;

namespace {

constexpr int kExchanges = 10000;
constexpr int kSpoilPerMille = 10;

struct Figures {
    int runs = 0;
    int exchanges = 0;
    int spoiled = 0;
    int repeats = 0;
    std::size_t logBytesFirst = 0;
    std::size_t logBytesLast = 0;
};

std::vector<CommandFrame> statusSteps() {
    std::vector<CommandFrame> out;
    for (int k = 1; k <= 4; ++k) {
        out.push_back(cmd::queryInput(k));
        out.push_back(cmd::queryOutput(k));
    }
    return out;
}

std::vector<CommandFrame> resetSteps() {
    std::vector<CommandFrame> out;
    for (const char* from2 : {"02 03 01 00 01", "02 03 02 00 02", "02 03 03 00 03",
                              "02 03 04 00 04", "03 08 F0", "03 01 04 F0", "06 01 0F"}) {
        out.push_back(test::frameFrom2(from2));
    }
    return out;
}

FrameMatch matchOf(const CommandFrame& f) {
    // Group, command and every argument byte: one rule spoils the reply to this step only.
    FrameMatch m = FrameMatch::of(f.group(), f.command());
    for (std::size_t i = 4; i < 12; ++i) {
        m.with(i, f[i]);
    }
    return m;
}

// Runs Status, and every fifth time Factory Reset, over the fixture's link until `exchanges`
// steps have gone out, spoiling replies at random, and checks each run.
void soak(GeneralFixture& f, bool tcp, int exchanges, Figures& fig, std::mt19937& random) {
    std::uniform_int_distribution<int> perMille(0, 999);
    const std::vector<CommandFrame> status = statusSteps();
    const std::vector<CommandFrame> resets = resetSteps();
    int done = 0;
    while (done < exchanges) {
        const bool reset = fig.runs % 5 == 4;
        const std::vector<CommandFrame>& steps = reset ? resets : status;
        std::map<std::string, int> expected;
        for (const CommandFrame& step : steps) {
            expected[step.hex()] = 1;
            if (perMille(random) < kSpoilPerMille) {
                // A damaged checksum counts as silence only for the status replies on the
                // serial line; elsewhere only a dropped reply is.
                const bool damage = !tcp && !reset && random() % 2 == 0;
                f.harness.faults().add(
                    sim::FaultRule{damage ? Kind::BadChecksum : Kind::Silent, matchOf(step), 1});
                expected[step.hex()] = 2;
                ++fig.spoiled;
            }
        }
        f.harness.clearFrames();
        f.popups.notices.clear();
        f.click(reset ? gen::kFactoryReset : gen::kStatus);
        f.advance(12000);

        std::map<std::string, int> sent;
        for (const std::string& hex : f.sent()) {
            ++sent[hex];
        }
        ASSERT_EQ(sent, expected) << "run " << fig.runs << "\n" << f.harness.transcript();
        ASSERT_EQ(f.popups.noticeTexts(), reset ? Names{"Set successfully!"} : Names{});
        ASSERT_EQ(f.page->status().busy(), 0);
        ASSERT_FALSE(f.page->maintenance().resetRunning());
        ASSERT_TRUE(f.main->isEnabled(ctl::kMatrixTab));
        for (const auto& [hex, n] : sent) {
            fig.repeats += n - 1;
        }
        done += static_cast<int>(steps.size());
        ++fig.runs;
    }
    fig.exchanges += done;
}

} // namespace

TEST(Soak, TenThousandExchangesWithOneReplyInAHundredSpoiledLeaveNothingBusyOrRepeated) {
    std::mt19937 random(20261207);
    Figures fig;
    const auto started = std::chrono::steady_clock::now();
    std::int64_t virtualMs = 0;
    for (bool tcp : {false, true}) {
        GeneralFixture f;
        tcp ? f.connectTcp() : f.connectCom();
        soak(f, tcp, kExchanges / 4, fig, random);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
        const std::size_t logAfterFirstHalf = f.page->text(gen::kReceiveLog).size();
        soak(f, tcp, kExchanges / 4, fig, random);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
        fig.logBytesFirst += logAfterFirstHalf;
        fig.logBytesLast += f.page->text(gen::kReceiveLog).size();
        virtualMs += f.now();
        EXPECT_EQ(f.net().openTcpSockets(), 1); // the one control socket, never a leaked one
    }
    const auto wallMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - started)
                            .count();
    std::printf("soak: %d runs, %d exchanges, %d replies spoiled, %d repeats, %lld s virtual, "
                "%lld ms wall; receive logs %zu bytes at half time, %zu at the end\n",
                fig.runs, fig.exchanges, fig.spoiled, fig.repeats,
                static_cast<long long>(virtualMs / 1000), static_cast<long long>(wallMs),
                fig.logBytesFirst, fig.logBytesLast);
    EXPECT_GE(fig.exchanges, kExchanges);
    EXPECT_EQ(fig.repeats, fig.spoiled);
    EXPECT_GT(fig.spoiled, 0);
}
